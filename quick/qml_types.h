/// @file
/// Registration of the QML module Zkw.Vexa 1.0: the item type VexaItem and
/// the mark symbol names (Mark.FilledSquare, ...). The library is static, so
/// a program calls registerQmlTypes() once, after creating its
/// QGuiApplication and before loading QML that imports Zkw.Vexa.
#pragma once

namespace zkw {

/// Registers VexaItem and Mark in the module Zkw.Vexa, version 1.0; calling
/// it again does nothing.
void registerQmlTypes();

}  // namespace zkw
