#include "base/marks.h"

#include <string>

#include "platform/devices.h"

namespace zkw {

const std::array<std::uint8_t, 7 * MarkGlyphCount> MarkGlyphs = {
    0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00,  //  1 small plus
    0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00,  //  2 plus
    0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08,  //  3 large plus
    0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00,  //  4 small diagonal cross
    0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00,  //  5 diagonal cross
    0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41,  //  6 large diagonal cross
    0x00, 0x00, 0x1C, 0x1C, 0x1C, 0x00, 0x00,  //  7 filled square 3
    0x00, 0x3E, 0x3E, 0x3E, 0x3E, 0x3E, 0x00,  //  8 filled square 5
    0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,  //  9 filled square 7
    0x00, 0x00, 0x1C, 0x14, 0x1C, 0x00, 0x00,  // 10 hollow square 3
    0x00, 0x3E, 0x22, 0x22, 0x22, 0x3E, 0x00,  // 11 hollow square 5
    0x7F, 0x41, 0x41, 0x41, 0x41, 0x41, 0x7F,  // 12 hollow square 7
    0x08, 0x14, 0x22, 0x49, 0x22, 0x14, 0x08,  // 13 diamond with centre dot
    0x00, 0x08, 0x1C, 0x3E, 0x1C, 0x08, 0x00,  // 14 filled diamond 2
    0x08, 0x1C, 0x3E, 0x7F, 0x3E, 0x1C, 0x08,  // 15 filled diamond 3
    0x00, 0x1C, 0x22, 0x22, 0x22, 0x1C, 0x00,  // 16 hollow circle 5
    0x1C, 0x22, 0x41, 0x41, 0x41, 0x22, 0x1C,  // 17 hollow circle 7
    0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55,  // 18 chequer
    0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A,  // 19 inverse chequer
};

void DrawGlyph7x7(int Glyph, TColor Colour, TCanvas& Canvas, int X, int Y) {
  if (Glyph < 1 || Glyph > MarkGlyphCount) return;
  const std::uint8_t* Rows = &MarkGlyphs[7 * (Glyph - 1)];
  for (int R = 1; R <= 7; ++R) {
    const std::uint8_t Row = Rows[R - 1];
    if (Row == 0) continue;
    for (int B = 1; B <= 7; ++B)
      if (Row & (1u << (B - 1))) Canvas.SetPixels(X + 4 - B, Y + R - 4, Colour);
  }
}

namespace {

void Line(TCanvas& C, int X1, int Y1, int X2, int Y2) {
  C.MoveTo(X1, Y1);
  C.LineTo(X2, Y2);
}

// Closed outline of the square with half side D around (X, Y).
// The canvas draws it in one step (the common hollow square marks).
void SquarePath(TCanvas& C, int X, int Y, int D) { C.SquareOutline(X, Y, D); }

void DiamondPath(TCanvas& C, int X, int Y, int D) {
  C.MoveTo(X - D, Y);
  C.LineTo(X, Y + D);
  C.LineTo(X + D, Y);
  C.LineTo(X, Y - D);
  C.LineTo(X - D, Y);
}

// Filled symbols take the pen colour as brush colour and keep the brush style
// the caller chose (a clear brush leaves only the outline).
void Filled(TCanvas& C) { C.Brush().SetColor(C.Pen().Color()); }

template <int N>
void FilledPolygon(TCanvas& C, const TPoint (&P)[N]) {
  Filled(C);
  C.Polygon(P, N);
}

template <int N>
void HollowPolygon(TCanvas& C, const TPoint (&P)[N]) {
  C.Brush().SetStyle(bsClear);
  C.Polygon(P, N);
  C.Brush().SetStyle(bsSolid);
}

void HollowEllipse(TCanvas& C, int X1, int Y1, int X2, int Y2) {
  C.Brush().SetStyle(bsClear);
  C.Ellipse(X1, Y1, X2, Y2);
  C.Brush().SetStyle(bsSolid);
}

void HollowRectangle(TCanvas& C, int X1, int Y1, int X2, int Y2) {
  C.Brush().SetStyle(bsClear);
  C.Rectangle(X1, Y1, X2, Y2);
  C.Brush().SetStyle(bsSolid);
}

// Plus with arms of length D drawn with the pen (printer variant of 1..3).
void PenPlus(TCanvas& C, int X, int Y, int D) {
  Line(C, X - D, Y, X + D, Y);
  Line(C, X, Y - D, X, Y + D);
}

// Diagonal cross with arms of length D (printer variant of 4..6).
void PenCross(TCanvas& C, int X, int Y, int D) {
  Line(C, X - D, Y - D, X + D, Y + D);
  Line(C, X - D, Y + D, X + D, Y - D);
}

// Character mark codes map through the Windows-1252 code page, the encoding in
// which the symbol numbers were chosen; the canvas takes UTF-8. Undefined
// code points of that page keep their Latin-1 value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The UTF-8 text of character code Code; short enough for the string's
// in-place buffer, so no allocation.
std::string CharText(std::uint8_t Code) {
  char32_t U = Code;
  if (Code >= 0x80 && Code < 0xA0) U = Cp1252High[Code - 0x80];
  char Buf[3];
  int Len;
  if (U < 0x80) {
    Buf[0] = static_cast<char>(U);
    Len = 1;
  } else if (U < 0x800) {
    Buf[0] = static_cast<char>(0xC0 | (U >> 6));
    Buf[1] = static_cast<char>(0x80 | (U & 0x3F));
    Len = 2;
  } else {
    Buf[0] = static_cast<char>(0xE0 | (U >> 12));
    Buf[1] = static_cast<char>(0x80 | ((U >> 6) & 0x3F));
    Buf[2] = static_cast<char>(0x80 | (U & 0x3F));
    Len = 3;
  }
  return std::string(Buf, static_cast<std::size_t>(Len));
}

void DrawCharMark(TCanvas& C, std::uint8_t Kind, int X, int Y) {
  const std::uint8_t Code = Kind >= 200 && Kind <= 209 ? static_cast<std::uint8_t>(Kind - 152) : Kind;
  const std::string Text = CharText(Code);
  C.Font().SetColor(C.Pen().Color());
  C.Brush().SetStyle(bsClear);
  const int W = C.TextWidth(Text);
  const int H = C.TextHeight(Text);
  C.TextOut(X - W / 2, Y - H / 2, Text);
}

void DrawSymbol(TCanvas& C, std::uint8_t Kind, int x, int y, bool OnPrinter) {
  const TColor PenColor = C.Pen().Color();
  switch (Kind) {
    case 0:
      C.SetPixels(x, y, PenColor);
      break;
    case 1:
    case 2:
    case 3:
      if (OnPrinter)
        PenPlus(C, x, y, Kind + 1);
      else
        DrawGlyph7x7(Kind, PenColor, C, x, y);
      break;
    case 4:
    case 5:
    case 6:
      if (OnPrinter)
        PenCross(C, x, y, Kind - 2);
      else
        DrawGlyph7x7(Kind, PenColor, C, x, y);
      break;
    case 7:
      Filled(C);
      C.Rectangle(x - 1, y - 1, x + 2, y + 2);
      break;
    case 8:
      Filled(C);
      C.Rectangle(x - 2, y - 2, x + 3, y + 3);
      break;
    case 9:
      Filled(C);
      C.Rectangle(x - 3, y - 3, x + 4, y + 4);
      break;
    case 10:
      SquarePath(C, x, y, 1);
      break;
    case 11:
      SquarePath(C, x, y, 2);
      break;
    case 12:
      SquarePath(C, x, y, 3);
      break;
    case 13:
      DiamondPath(C, x, y, 3);
      C.SetPixels(x, y, PenColor);
      break;
    case 14:
      FilledPolygon(C, {{x - 2, y}, {x, y + 2}, {x + 2, y}, {x, y - 2}});
      break;
    case 15:
      FilledPolygon(C, {{x - 3, y}, {x, y + 3}, {x + 3, y}, {x, y - 3}});
      break;
    case 16:
      HollowEllipse(C, x - 2, y - 2, x + 3, y + 3);
      break;
    case 17:
      HollowEllipse(C, x - 3, y - 3, x + 4, y + 4);
      break;
    case 18:
      if (OnPrinter) {
        // One pen dot on every point whose offsets are both odd or both even:
        // the glyph's pattern, drawn at the printer's pen width.
        for (int I = 1; I <= 7; ++I)
          for (int J = 1; J <= 7; ++J)
            if ((I + J) % 2 == 0) Line(C, x + I - 4, y + J - 4, x + I - 3, y + J - 4);
      } else {
        DrawGlyph7x7(18, PenColor, C, x, y);
      }
      break;
    case 19:
      DiamondPath(C, x, y, 3);
      break;
    case 20:
    case 21: {
      const int D = Kind == 20 ? 3 : 4;
      Line(C, x, y, x - D, y + D);
      Line(C, x, y, x + D, y + D);
      break;
    }
    case 22:
    case 23: {
      const int D = Kind == 22 ? 3 : 4;
      Line(C, x, y, x - D, y - D);
      Line(C, x, y, x + D, y - D);
      break;
    }
    case 24:
      Filled(C);
      C.Ellipse(x - 3, y - 3, x + 4, y + 4);
      break;
    case 25:
      // Bold cross: the main diagonals with their neighbours on either side.
      // The printer variant ends one pixel earlier because its lines are wider.
      if (OnPrinter) {
        Line(C, x - 3, y - 3, x + 3, y + 3);
        Line(C, x - 3, y - 2, x + 2, y + 3);
        Line(C, x - 2, y - 3, x + 3, y + 2);
        Line(C, x - 3, y + 3, x + 3, y - 3);
        Line(C, x - 3, y + 2, x + 2, y - 3);
        Line(C, x - 2, y + 3, x + 3, y - 2);
      } else {
        Line(C, x - 3, y - 3, x + 4, y + 4);
        Line(C, x - 3, y - 2, x + 3, y + 4);
        Line(C, x - 2, y - 3, x + 4, y + 3);
        Line(C, x - 3, y + 3, x + 4, y - 4);
        Line(C, x - 3, y + 2, x + 3, y - 4);
        Line(C, x - 2, y + 3, x + 4, y - 3);
      }
      break;
    case 26:
      Filled(C);
      C.Ellipse(x - 2, y - 2, x + 3, y + 3);
      break;
    case 27:
      HollowEllipse(C, x - 2, y - 2, x + 2, y + 2);
      break;
    case 28:
      Filled(C);
      C.Ellipse(x - 2, y - 2, x + 2, y + 2);
      break;
    case 29:
      FilledPolygon(C, {{x - 2, y}, {x, y + 2}, {x + 2, y}});
      break;
    case 30:
      FilledPolygon(C, {{x - 3, y}, {x, y + 3}, {x + 3, y}});
      break;
    case 31:
      HollowPolygon(C, {{x - 2, y}, {x, y + 2}, {x + 2, y}});
      break;
    case 32:
      HollowPolygon(C, {{x - 3, y}, {x, y + 3}, {x + 3, y}});
      break;
    case 33:
      HollowPolygon(C, {{x - 4, y - 3}, {x, y + 4}, {x + 4, y - 3}});
      break;
    case 34:
      FilledPolygon(C, {{x - 4, y - 3}, {x, y + 4}, {x + 4, y - 3}});
      break;
    case 35:
      HollowPolygon(C, {{x - 4, y + 3}, {x, y - 4}, {x + 4, y + 3}});
      break;
    case 36:
      FilledPolygon(C, {{x - 4, y + 3}, {x, y - 4}, {x + 4, y + 3}});
      break;
    case 37:
      Line(C, x - 3, y, x + 4, y);
      Line(C, x, y, x, y - 8);
      break;
    case 38:
      Line(C, x - 3, y - 2, x + 4, y - 2);
      Line(C, x - 3, y + 2, x + 4, y + 2);
      Line(C, x, y - 2, x, y + 2);
      break;
    case 39:
      HollowEllipse(C, x - 3, y - 3, x + 4, y + 4);
      Line(C, x - 3, y, x + 4, y);
      Line(C, x, y - 3, x, y + 4);
      break;
    case 40:
      HollowPolygon(C, {{x + 3, y - 2}, {x - 2, y}, {x + 3, y + 2}});
      break;
    case 41:
      FilledPolygon(C, {{x + 3, y - 2}, {x - 2, y}, {x + 3, y + 2}});
      break;
    case 42:
      HollowPolygon(C, {{x + 4, y - 3}, {x - 3, y}, {x + 4, y + 3}});
      break;
    case 43:
      FilledPolygon(C, {{x + 4, y - 3}, {x - 3, y}, {x + 4, y + 3}});
      break;
    case 44:
      HollowPolygon(C, {{x - 3, y - 2}, {x + 2, y}, {x - 3, y + 2}});
      break;
    case 45:
      FilledPolygon(C, {{x - 3, y - 2}, {x + 2, y}, {x - 3, y + 2}});
      break;
    case 46:
      HollowPolygon(C, {{x - 4, y - 3}, {x + 3, y}, {x - 4, y + 3}});
      break;
    case 47:
      FilledPolygon(C, {{x - 4, y - 3}, {x + 3, y}, {x - 4, y + 3}});
      break;
    case 48:
      HollowRectangle(C, x - 3, y - 3, x + 4, y + 4);
      Line(C, x - 3, y, x + 4, y);
      Line(C, x, y - 3, x, y + 4);
      break;
    case 49:
      HollowRectangle(C, x - 2, y - 2, x + 3, y + 3);
      Line(C, x - 4, y, x + 5, y);
      Line(C, x, y - 4, x, y + 5);
      break;
    case 50:
      C.Brush().SetStyle(bsSolid);
      Line(C, x - 4, y, x + 5, y);
      Line(C, x, y - 4, x, y + 5);
      Line(C, x - 3, y - 3, x + 4, y + 4);
      Line(C, x - 3, y + 3, x + 4, y - 4);
      break;
    case 51:
      C.Brush().SetStyle(bsSolid);
      Line(C, x - 4, y, x + 5, y);
      Line(C, x, y - 4, x, y + 5);
      Line(C, x - 1, y - 3, x + 2, y - 3);
      Line(C, x - 1, y + 3, x + 2, y + 3);
      Line(C, x - 3, y - 1, x - 3, y + 2);
      Line(C, x + 3, y - 1, x + 3, y + 2);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawMark(TCanvas& Canvas, std::uint8_t Kind, int X, int Y, bool OnPrinter) {
  if (Kind >= 52) {
    DrawCharMark(Canvas, Kind, X, Y);
    return;
  }
  const TColor BrushColor = Canvas.Brush().Color();
  DrawSymbol(Canvas, Kind, X, Y, OnPrinter);
  Canvas.Brush().SetColor(BrushColor);
}

void DrawMark(TCanvas& Canvas, std::uint8_t Kind, int X, int Y) {
  // Only the glyph symbols and the bold cross differ on the printer; the
  // device test is skipped for the rest.
  const bool DeviceMatters = (Kind >= 1 && Kind <= 6) || Kind == 18 || Kind == 25;
  DrawMark(Canvas, Kind, X, Y, DeviceMatters && IsPrinterCanvas(Canvas));
}

}  // namespace zkw
