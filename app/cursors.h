// The program's own pointer shapes: four 32 by 32 monochrome cursors that
// the chart loads by name from the program's resources and registers under
// the numbers 1 to 4.
#pragma once

#include <string>

#include "platform/screen.h"

namespace zkw {

// Names, hot spots and pictures of the four cursors, in number order.
struct TAppCursor {
  const char* Name;
  int HotX;
  int HotY;
  // 32 rows of 32 characters: '#' black, '-' white, '.' transparent.
  const char* const* Rows;
};
constexpr int AppCursorCount = 4;
const TAppCursor& AppCursor(int Index);  // 0 .. AppCursorCount - 1

// Turns a 32-row picture into image and mask planes; characters other than
// '#' and '-' are transparent, missing characters too.
TCursorImage CursorFromRows(const char* const* Rows, int HotX, int HotY);

// Makes the four cursors available as the program's named resources. Safe
// to call more than once; must run before a chart is created, because the
// chart copies the pictures into the screen's table when it is built.
void RegisterAppCursors();

}  // namespace zkw
