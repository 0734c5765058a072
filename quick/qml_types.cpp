#include "quick/qml_types.h"

#include <QtQml/qqml.h>

#include "quick/vexa_item.h"
#include "widgets/marks_enum.h"

namespace zkw {

void registerQmlTypes() {
  static const bool Done = [] {
    qmlRegisterType<VexaItem>("Zkw.Vexa", 1, 0, "VexaItem");
    qmlRegisterUncreatableMetaObject(Mark::staticMetaObject, "Zkw.Vexa", 1, 0, "Mark",
                                     QStringLiteral("Mark holds the names of the mark symbols only"));
    return true;
  }();
  (void)Done;
}

}  // namespace zkw
