/// @file
/// The QML module Zkw.Vexa 1.0: the item type VexaItem and the mark symbol
/// names (Mark.FilledSquare, ...). The types declare themselves (QML_ELEMENT
/// and the lines below), and the module's static plugin comes with a link to
/// zkw::quick, so QML simply imports it:
///
/// @code
///   import Zkw.Vexa
/// @endcode
///
/// Nothing is to be called before loading such QML. registerQmlTypes() is
/// kept for programs that call it; it registers nothing twice.
#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "widgets/marks_enum.h"

namespace zkw {

/// Mark's enumerators in QML as Mark.FilledSquare, ...: Mark itself belongs
/// to the widgets library, which knows nothing of QML, so the module
/// declares it from here.
namespace MarkQml {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(zkw::Mark)
QML_NAMED_ELEMENT(Mark)
}  // namespace MarkQml

/// Makes sure the module Zkw.Vexa is in the program; its types register
/// themselves when QML first imports it. Safe to call any number of times,
/// before or after the import, with or without a QML engine.
void registerQmlTypes();

}  // namespace zkw
