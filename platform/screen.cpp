#include "platform/screen.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <utility>

namespace zkw {

namespace {

std::string Upper(const std::string& S) {
  std::string R = S;
  for (char& C : R) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  return R;
}

std::map<std::string, TCursorImage>& CursorResources() {
  static std::map<std::string, TCursorImage> Table;
  return Table;
}

TCursorHook& CursorHook() {
  static TCursorHook Hook;
  return Hook;
}

TCursorRedirect*& CurrentRedirect() {
  static TCursorRedirect* Current = nullptr;
  return Current;
}

TMessageBoxHook& MessageBoxHook() {
  static TMessageBoxHook Hook;
  return Hook;
}

}  // namespace

void RegisterCursorResource(const std::string& Name, const TCursorImage& Image) {
  TCursorImage Copy = Image;
  Copy.HotX = std::clamp(Copy.HotX, 0, 31);
  Copy.HotY = std::clamp(Copy.HotY, 0, 31);
  CursorResources()[Upper(Name)] = Copy;
}

const TCursorImage* FindCursorResource(const std::string& Name) {
  auto& Table = CursorResources();
  auto It = Table.find(Upper(Name));
  return It == Table.end() ? nullptr : &It->second;
}

const TCursorImage* TScreen::Cursors(int Index) const {
  auto It = FCursors.find(Index);
  return It == FCursors.end() ? nullptr : &It->second;
}

void TScreen::SetCursors(int Index, const TCursorImage& Image) {
  // Zero and the negative numbers belong to the window system.
  if (Index <= 0) return;
  TCursorImage Copy = Image;
  Copy.HotX = std::clamp(Copy.HotX, 0, 31);
  Copy.HotY = std::clamp(Copy.HotY, 0, 31);
  FCursors[Index] = Copy;
  // A shape that is showing is re-applied with its new image.
  if (FCursor == Index) SetCursor(FCursor);
}

void TScreen::RemoveCursor(int Index) { FCursors.erase(Index); }

bool TScreen::LoadCursor(int Index, const std::string& ResourceName) {
  const TCursorImage* Image = FindCursorResource(ResourceName);
  if (!Image) {
    RemoveCursor(Index);
    return false;
  }
  SetCursors(Index, *Image);
  return Index > 0;
}

void TScreen::SetCursor(TCursor Value) {
  if (TCursorRedirect* R = CurrentRedirect()) {
    if (R->FSink) R->FSink(Value);
    return;
  }
  FCursor = Value;
  if (CursorHook()) CursorHook()(Value);
}

TScreen& Screen() {
  static TScreen TheScreen;
  return TheScreen;
}

void SetCursorHook(TCursorHook Hook) { CursorHook() = std::move(Hook); }

TCursorRedirect::TCursorRedirect(TCursorHook Sink) : FSink(std::move(Sink)), FPrevious(CurrentRedirect()) {
  CurrentRedirect() = this;
}

TCursorRedirect::~TCursorRedirect() { CurrentRedirect() = FPrevious; }

void SetMessageBoxHook(TMessageBoxHook Hook) { MessageBoxHook() = std::move(Hook); }

void ShowMessage(const std::string& Text) {
  if (MessageBoxHook())
    MessageBoxHook()(Text);
  else
    std::cerr << Text << '\n';
}

}  // namespace zkw
