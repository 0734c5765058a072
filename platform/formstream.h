// Form descriptions: JSON documents holding every stored property value of a
// form and of the components it owns, read into a form the program has
// constructed and written back from it.
//
//   { "object": "Form1", "class": "TForm1",
//     "properties": { "Caption": "Form1", "OnActivate": "FormActivate" },
//     "children": [ { "object": "VX1", "class": "TVexa", "properties": { ... } } ] }
//
// Reading (the root's "class" must equal Root.ClassName(), a registered class):
//  1. the root's values are applied in file order while it is loading;
//  2. each child is created by class name, owned by the root, placed on the
//     control it is nested in, bound to the root's published field of the
//     same name, and its values are applied in file order while it is loading;
//  3. component references are resolved once every child exists;
//  4. Loaded runs on every child in creation order, then on the root.
// Event properties name handlers the root published (PublishHandler).
// Any fault raises EReadError whose message starts with the property path
// ("VX1.Scale1X.RangeLow: expected a number"); the children created so far
// are then destroyed, the root's fields cleared and its loading state ended.
#pragma once

#include <string>

#include "platform/components.h"

namespace zkw {

void ReadComponentFromJson(TComponent& Root, const std::string& Text);
// Reads a file; a missing or unreadable file is an EReadError naming it.
void ReadComponentFromFile(TComponent& Root, const std::string& FileName);

// Writes Root and the components it owns, except sub-components (they are
// rebuilt by their owner). A value is left out only when it equals its stored
// default and also what reading would leave there anyway: the value of a
// freshly created instance of the class (from the registry, as the reader
// creates it) after the values written before it have been applied. So a
// component whose creation defaults differ from the stored defaults reads
// back as written. Reading the text into a fresh form and writing it again
// gives the same text.
std::string WriteComponentToJson(const TComponent& Root);
void WriteComponentToFile(const TComponent& Root, const std::string& FileName);

}  // namespace zkw
