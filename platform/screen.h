// Services of the screen that need a person: pointer shapes (the numbered
// cursor table and the application-wide cursor) and the information message
// box. Both go through replaceable hooks: headless they only record state,
// the Qt backend turns them into an override cursor and a modal QMessageBox,
// tests install recorders.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace zkw {

// Pointer shape numbers. Zero and the negative numbers are the window
// system's shapes; positive numbers index the program's own cursor table.
using TCursor = std::int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// A 32 by 32 monochrome pointer. Row Y of each plane is one 32-bit word whose
// most significant bit is column 0. Mask 1 = the pixel is drawn, Image 1 =
// black, Image 0 = white; Mask 0 leaves the screen visible.
struct TCursorImage {
  std::array<std::uint32_t, 32> Image{};
  std::array<std::uint32_t, 32> Mask{};
  int HotX = 0;  // clamped into 0..31 when registered
  int HotY = 0;
  bool Pixel(int X, int Y) const { return (Image[Y & 31] >> (31 - (X & 31))) & 1u; }
  bool Opaque(int X, int Y) const { return (Mask[Y & 31] >> (31 - (X & 31))) & 1u; }
  bool operator==(const TCursorImage&) const = default;
};

// The program's named cursor resources (what a resource file holds for a
// native program). The application registers them at start-up; controls
// load them by name into the screen's cursor table.
void RegisterCursorResource(const std::string& Name, const TCursorImage& Image);
// nullptr when the program holds no cursor of that name (names are case-insensitive).
const TCursorImage* FindCursorResource(const std::string& Name);

class TScreen {
 public:
  // The image registered under Index, or nullptr: built-in shapes and
  // unregistered numbers have none (an unregistered positive number shows
  // the default shape).
  const TCursorImage* Cursors(int Index) const;
  void SetCursors(int Index, const TCursorImage& Image);
  void RemoveCursor(int Index);
  // Copies the named resource into the table under Index; returns false
  // and leaves Index unregistered when the program has no such resource.
  bool LoadCursor(int Index, const std::string& ResourceName);

  // The application-wide cursor; any value but crDefault overrides the shape
  // of every control. Setting it calls the cursor hook.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : 96; }

 private:
  std::map<int, TCursorImage> FCursors;
  TCursor FCursor = crDefault;
  int FPixelsPerInch = 96;
};

// The one screen object of the program.
TScreen& Screen();

// Called with the new application-wide cursor on every SetCursor (also when
// it does not change, so a backend may re-apply it). Empty = headless.
using TCursorHook = std::function<void(TCursor Cursor)>;
void SetCursorHook(TCursorHook Hook);

// While one lives, the pointer shapes set through Screen().SetCursor go to
// Sink and nowhere else: the application-wide cursor and its hook stay as
// they are. A control shown inside a host's own widget routes the shapes it
// sets while handling that widget's input onto the widget. Redirects nest;
// the newest one wins.
class TCursorRedirect {
 public:
  explicit TCursorRedirect(TCursorHook Sink);
  ~TCursorRedirect();
  TCursorRedirect(const TCursorRedirect&) = delete;
  TCursorRedirect& operator=(const TCursorRedirect&) = delete;

 private:
  friend class TScreen;
  TCursorHook FSink;
  TCursorRedirect* FPrevious;
};

// The modal information message box with one OK button. Returns when the
// user has confirmed. With no hook installed the text goes to stderr.
using TMessageBoxHook = std::function<void(const std::string& Text)>;
void SetMessageBoxHook(TMessageBoxHook Hook);
void ShowMessage(const std::string& Text);

}  // namespace zkw
