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
/// declares a type of that name that takes its enumerators from Mark. An
/// object type, not a value type: QML and its tools look enumerators up on
/// object and namespace types by the type's name.
class MarkQml : public QObject {
  Q_OBJECT
  QML_NAMED_ELEMENT(Mark)
  QML_UNCREATABLE("Mark holds the names of the mark symbols only")
  QML_EXTENDED_NAMESPACE(zkw::Mark)
};

/// Makes sure the module Zkw.Vexa is in the program; its types register
/// themselves when QML first imports it. Safe to call any number of times,
/// before or after the import, with or without a QML engine.
void registerQmlTypes();

}  // namespace zkw
