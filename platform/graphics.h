// The drawing surface: colours, pens, brushes, fonts, the canvas and bitmaps.
// The canvas rasterises on a 32-bit pixel buffer with exact integer rules:
//  - a line runs from the pen position up to, not including, its end point;
//  - rectangle and ellipse right/bottom edges are exclusive;
//  - polygons are closed and filled with the brush;
//  - everything clips to the bitmap: no coordinate writes outside the buffer.
// Text is rasterised by Qt's font engine on the same pixels.
// Those rules hold on a bitmap in the exact draw mode (the default). A bitmap
// at another device scale, anti-aliased, or a page on a painter (a vector
// file, a printer) draws the same figures through QPainter instead: see
// TDrawMode and canvas_painter.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core.h"

class QFont;
class QImage;
class QPainter;
class QPolygonF;
class QString;

namespace zkw {

// 0x00BBGGRR; a top byte of 0xFF names a system colour (resolved by ColorToRGB).
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// System colours: 0xFF000000 | index.
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Resolves a colour to plain 0x00BBGGRR through one fixed system-colour table
// (deterministic, independent of the desktop).
TColor ColorToRGB(TColor Color);

// A colour as bitmaps store it: 0x00BBGGRR (system colours resolved) becomes
// the opaque pixel 0xFFRRGGBB.
inline std::uint32_t ColorToPixel(TColor Color) {
  auto U = static_cast<std::uint32_t>(Color);
  if ((U & 0xFF000000u) == 0xFF000000u) U = static_cast<std::uint32_t>(ColorToRGB(Color));
  return 0xFF000000u | ((U & 0xFFu) << 16) | (U & 0xFF00u) | ((U >> 16) & 0xFFu);
}

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

// A point to a fraction of a logical pixel: whole values lie where TPoint's
// do, at pixel centres.
struct TPointF {
  double X = 0;
  double Y = 0;
  bool operator==(const TPointF&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : std::uint8_t { pmCopy, pmXor };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };
enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
using TFontCharset = std::uint8_t;
constexpr TFontCharset DEFAULT_CHARSET = 1;

class TPen : public TPersistent {
 public:
  std::string ClassName() const override { return "TPen"; }
  void Assign(const TPersistent& Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value) { FStyle = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value < 1 ? 1 : Value; }
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value) { FMode = Value; }

 private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
  TPenMode FMode = pmCopy;
};

class TBrush : public TPersistent {
 public:
  std::string ClassName() const override { return "TBrush"; }
  void Assign(const TPersistent& Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value) { FStyle = Value; }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// Size is in points, Height in pixels (negative: character height without the
// internal leading); the two are tied through PixelsPerInch:
// Height = -Round(Size * PixelsPerInch / 72).
class TFont : public TPersistent {
 public:
  TFont();
  std::string ClassName() const override { return "TFont"; }
  void Assign(const TPersistent& Source) override;
  std::string Name() const { return FName; }
  void SetName(const std::string& Value);
  int Size() const;
  void SetSize(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);  // keeps Size, recomputes Height
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TNotifyEvent OnChange;

 private:
  void Changed();
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  int FPixelsPerInch = 96;
  TFontCharset FCharset = DEFAULT_CHARSET;
};

// Text measurement and glyph pixels are cached per font and text (bounded),
// which gives the same pixels as drawing every text afresh; switching the
// caches off (and so emptying them) is for comparing the two.
void SetTextCaching(bool Enabled);
bool TextCaching();

class TBitmap;
struct TPainterDevice;

// How a bitmap is drawn on. The exact mode (scale 1, no anti-aliasing, not
// forced through the painter) is the reference raster of the rules above.
// Any other mode keeps the geometry in logical pixels and draws it through
// QPainter at Scale device pixels per logical pixel: pens and marks Scale
// times as wide, curves and diagonals stepping by one device pixel, texts
// from the same font at Scale times its pixel size (laid out, measured and
// placed as in the exact mode).
struct TDrawMode {
  double Scale = 1.0;        // device pixels per logical pixel, > 0 and finite
  bool Antialiased = false;  // smooth edges and text (never for exclusive-or pens)
  bool ThroughPainter = false;  // the painter path even at scale 1 (comparisons)
  bool Exact() const { return Scale == 1.0 && !Antialiased && !ThroughPainter; }
  bool operator==(const TDrawMode&) const = default;
};

// Raises EInvalidGraphic unless Scale is finite and lies in (0, 64].
void CheckDrawScale(double Scale);

// A canvas draws on a bitmap it does not own (an off-screen image, a window
// surface or the printer's page).
class TCanvas : public TPersistent {
 public:
  explicit TCanvas(TBitmap& Target);
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  std::string ClassName() const override { return "TCanvas"; }

  TPen& Pen() { return FPen; }
  TBrush& Brush() { return FBrush; }
  TFont& Font() { return FFont; }
  void SetFont(const TFont& Value) { FFont.Assign(Value); }

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { FPenPos = Value; }
  // Open line through the points; the pen position does not move.
  void Polyline(const TPoint* Points, int Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), static_cast<int>(Points.size())); }
  // Whether lines on this canvas show positions finer than a logical pixel:
  // on a bitmap or page at a device scale other than 1, anti-aliased, or on
  // the page of a vector file. The exact raster (and the scale-1 painter
  // path compared with it) shows whole pixels only.
  bool FinePositions() const;
  // Polyline through points given to a fraction of a logical pixel, drawn
  // there where FinePositions holds (elsewhere, and for exclusive-or pens,
  // through the rounded points). A thin solid pen on a bitmap steps along
  // the device pixels as the exact raster steps along logical ones (see
  // fine_lines.h); other pens and pages go through the painter.
  void PolylineF(const TPointF* Points, int Count);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void FillRect(const TRect& R);  // brush only, no outline
  void Ellipse(int X1, int Y1, int X2, int Y2);
  // Arc of the ellipse in the box, counter-clockwise from the radial through
  // (X3, Y3) to the radial through (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), static_cast<int>(Points.size())); }
  // The closed outline of the square with half side D around (X, Y): exactly
  // MoveTo(X - D, Y - D) and LineTo through (X - D, Y + D), (X + D, Y + D),
  // (X + D, Y - D) back to (X - D, Y - D) - the same pixels, pen position and
  // dash phase - but a thin solid pen on a square inside the bitmap writes its
  // 8 * D pixels directly (the hollow square marks draw millions of these).
  void SquareOutline(int X, int Y, int D);
  // Top-left corner at (X, Y); background filled with the brush when it is solid.
  void TextOut(int X, int Y, const std::string& Text);
  // Text widths and heights are those of the logical font in every draw mode.
  int TextWidth(const std::string& Text);
  int TextHeight(const std::string& Text);
  // clNone outside the bitmap (and on a page); at another scale the device
  // pixel at the logical pixel's centre.
  TColor Pixels(int X, int Y) const;
  void SetPixels(int X, int Y, TColor Color);
  // Source's logical size at (X, Y): pixel for pixel between bitmaps of one
  // scale, smoothly scaled otherwise (and nearest-neighbour in the exact mode).
  void Draw(int X, int Y, const TBitmap& Source);
  void StretchDraw(const TRect& Dest, const TBitmap& Source);

  TBitmap& Target() { return FTarget; }
  const TBitmap& Target() const { return FTarget; }

 private:
  TBitmap& FTarget;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TPoint FPenPos;
  // Position in the dash pattern: connected LineTo calls continue it, MoveTo
  // restarts it, so a dashed curve of many short segments still shows dashes.
  int FDashPhase = 0;

  // Raster internals (canvas_raster.cpp); coordinates are 64-bit so that no
  // input overflows.
  void DrawLine(std::int64_t X0, std::int64_t Y0, std::int64_t X1, std::int64_t Y1);
  void FillBox(std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B, std::uint32_t Rgb, bool Xor);
  // A dashed 1-pixel border (and the brush inside), in every draw mode.
  void DashedBorder(std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B, bool Fill, bool Xor);
  void DrawEllipseShape(std::int64_t X1, std::int64_t Y1, std::int64_t X2, std::int64_t Y2, bool Fill,
                        const double* ArcFrom, const double* ArcTo);

  // Painter internals (canvas_painter.cpp): the same figures for the other
  // draw modes. Every public drawing operation hands over to these when its
  // bitmap is not exact.
  // The painter set up for this canvas's bitmap (a page's origin and clip,
  // the mode's anti-aliasing, which Xor pens never use).
  QPainter& PainterFor(bool Xor);
  bool Paintable() const;  // a page, or a bitmap with pixels
  // Whether axis-aligned boxes go straight into the device pixels (or, on a
  // page, into one path per colour), and the box.
  bool DirectBoxes() const;
  void FillDeviceBox(double L, double T, double R, double B, std::uint32_t Pixel);
  void PaintSquareOutline(int X, int Y, int D);
  void PaintLine(std::int64_t X0, std::int64_t Y0, std::int64_t X1, std::int64_t Y1);
  void PaintPolyline(const TPoint* Points, int Count);
  // The painter's stroke of an open line through logical pixel centres
  // (the last point already pulled back), for solid and dashed pens.
  void StrokePolyline(QPolygonF& Line);
  void PaintRectangle(int L, int T, int R, int B);
  void PaintFill(double L, double T, double R, double B, TColor Color, bool Xor);
  void PaintEllipse(int L, int T, int R, int B, bool Fill, const double* ArcFrom, const double* ArcTo);
  void PaintPolygon(const TPoint* Points, int Count);
  void PaintText(int X, int Y, const QString& Text, int Width, int Height, int Ascent, const QFont& Font);
  void PaintPicture(double L, double T, double W, double H, const TBitmap& Source);
  TColor PaintedPixel(int X, int Y) const;
};

// Limits of a picture file read by TBitmap::LoadFromFile: 64 MiB of file and
// 64 million pixels (256 MiB once decoded), far above any background picture
// yet small enough that a hostile file cannot exhaust memory.

constexpr std::int64_t MaxPictureFileBytes = std::int64_t{64} * 1024 * 1024;
constexpr std::int64_t MaxPicturePixels = std::int64_t{64} * 1000 * 1000;

// A bitmap's pixels for drawing code outside the canvas that writes many
// small shapes itself: Width x Height pixels of 0xFFRRGGBB (ColorToPixel),
// pixel (X, Y) at Bits[Y * Stride + X]. Such code keeps to the rectangle and
// applies the canvas's pixel rules itself. A view stays valid while the
// bitmap keeps its size and picture: a resize, a load or a call of Image()
// ends it. It is a plain value that threads may share; keeping their writes
// apart (or equal) is up to them.
struct TPixelView {
  std::uint32_t* Bits = nullptr;  // null when the bitmap has no pixels
  std::int64_t Stride = 0;        // in pixels
  int Width = 0;
  int Height = 0;
  std::uint32_t* At(std::int64_t X, std::int64_t Y) const { return Bits + Y * Stride + X; }
};

// A 32-bit off-screen picture with its own canvas.
class TBitmap : public TPersistent {
 public:
  TBitmap();
  TBitmap(int Width, int Height);
  // Every pixel Fill from the start: what a fresh bitmap with Rectangle(0, 0,
  // Width, Height) in a solid pen and brush of Fill holds, written once.
  TBitmap(int Width, int Height, TColor Fill);
  // A page: a bitmap without pixels whose canvas draws onto Painter (an SVG
  // or PDF file, a printer, a picture of any scale) in Mode, Width x Height
  // logical pixels from the painter's origin, clipped to them. The painter
  // must outlive the page and stays in the caller's hands.
  TBitmap(QPainter& Painter, int Width, int Height, TDrawMode Mode = {});
  // A part of a page: the same painter, its corner at (Left, Top) of Page,
  // clipped to Width x Height.
  TBitmap(const TBitmap& Page, int Left, int Top, int Width, int Height);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  std::string ClassName() const override { return "TBitmap"; }
  void Assign(const TPersistent& Source) override;  // copies the pixels

  int Width() const;
  int Height() const;
  void SetWidth(int Value);
  void SetHeight(int Value);
  // Resizes; new pixels are white. Both sides are kept as set even while one
  // of them is 0: such a bitmap has no pixels, and drawing on it does nothing.
  void SetSize(int Width, int Height);
  // SetSize, with new pixels Fill (0xFFRRGGBB) instead of white.
  void SetSizeFilled(int Width, int Height, std::uint32_t Fill);
  TCanvas& Canvas() { return *FCanvas; }

  // The draw mode (see TDrawMode). A new scale keeps the picture's logical
  // size; its pixels start anew, white (the owner draws them again).
  // Raises EInvalidGraphic for a scale CheckDrawScale refuses; a page keeps
  // the mode it was made with.
  const TDrawMode& DrawMode() const { return FMode; }
  void SetDrawMode(const TDrawMode& Mode);
  bool Exact() const { return FExact; }
  // A page (see the constructor): drawing reaches its painter, nothing else.
  bool IsPage() const { return FPage; }
  // Ends the painter a non-exact bitmap keeps between drawing operations, so
  // that its picture is complete for a reader outside the canvas. Image(),
  // ScanLine, PixelView and saving end it themselves. A page draws what it
  // still holds back (boxes of one colour are filled together); the owner of
  // its painter calls this before ending the painter.
  void EndPainting() const;

  // Raises EInvalidGraphic when the file cannot be read; the bitmap is then
  // unchanged. Only a regular file of at most MaxPictureFileBytes holding a
  // picture of at most MaxPicturePixels pixels is read; anything else (a
  // FIFO, a device, a directory, a huge declared size) is refused without
  // waiting for data or decoding pixels.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;  // PNG

  // Raw rows of 0xFFRRGGBB pixels (QImage::Format_RGB32 order) for fast paths.
  // They are device pixels: only an exact bitmap has one per logical pixel.
  std::uint32_t* ScanLine(int Y);
  const std::uint32_t* ScanLine(int Y) const;
  // All rows at once, for code that writes pixels scattered over the picture
  // (one look-up instead of one checked ScanLine call per pixel). Empty (no
  // Bits) unless the bitmap is exact: such code then draws through the canvas.
  TPixelView PixelView();
  // Direct access to the picture (device pixels, its device pixel ratio the
  // draw mode's scale). Every call marks the raw-pixel cache stale, so a copy
  // taken through it is never written by later drawing.
  QImage& Image();
  const QImage& Image() const;

 private:
  friend class TCanvas;
  // The painter of a non-exact bitmap, begun on first use (canvas_painter.cpp).
  QPainter& Painter() const;
  // The canvas writes through a cached pointer; Image() and every resize or load
  // mark it stale, and Surface() re-reads it (detaching a shared QImage first).
  void Surface();
  void Changed() { FStale = true; }
  std::unique_ptr<QImage> FImage;
  std::unique_ptr<TCanvas> FCanvas;
  mutable bool FStale = true;
  std::uint32_t* FBits = nullptr;
  std::int64_t FStride = 0;  // in pixels
  int FW = 0;
  int FH = 0;
  // The size as set; the picture has no pixels while either is 0.
  int FWidth = 0;
  int FHeight = 0;
  TDrawMode FMode;
  bool FExact = true;
  bool FPage = false;
  // Where a page's corner lies on its painter.
  double FOriginX = 0;
  double FOriginY = 0;
  mutable std::shared_ptr<TPainterDevice> FDevice;
};

// Inline: the chart sets pixels one by one in its inner loops.
inline void TCanvas::SetPixels(int X, int Y, TColor Color) {
  TBitmap& T = FTarget;
  if (!T.FExact) {
    PaintFill(X, Y, X + 1.0, Y + 1.0, Color, false);
    return;
  }
  if (T.FStale) T.Surface();
  if (static_cast<unsigned>(X) >= static_cast<unsigned>(T.FW) || static_cast<unsigned>(Y) >= static_cast<unsigned>(T.FH)) {
    return;
  }
  T.FBits[T.FStride * Y + X] = ColorToPixel(Color);
}

inline TPixelView TBitmap::PixelView() {
  if (!FExact) return {};
  if (FStale) Surface();
  return {FBits, FStride, FW, FH};
}

}  // namespace zkw
