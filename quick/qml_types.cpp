#include "quick/qml_types.h"

// Qt's type registration of the module (generated from the QML_ELEMENT
// macros): it hands itself to the QML engine for the first import of
// Zkw.Vexa, so the types are registered once, when they are needed.
void qml_register_types_Zkw_Vexa();

namespace zkw {

void registerQmlTypes() {
  // Only a reference, so the linker keeps the registration even for a
  // program that links the static library by hand, without the plugin's
  // import object zkw::quick brings along; calling the function here would
  // register the types a second time at the import.
  volatile auto Registration = &qml_register_types_Zkw_Vexa;
  (void)Registration;
}

}  // namespace zkw
