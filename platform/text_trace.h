// Text traces: a record of the texts drawn on chosen bitmaps, so that a view
// at a higher device pixel ratio can draw them again at its own resolution
// instead of enlarging their pixels. Tracing costs nothing for bitmaps that
// are not traced (the usual case); a traced bitmap keeps its newest texts.
#pragma once

#include <QFont>
#include <QRgb>
#include <QString>
#include <cstddef>
#include <vector>

namespace zkw {

class TBitmap;

// One TextOut on a traced bitmap, in that bitmap's pixels.
struct TTracedText {
  int X = 0;  // top-left corner of the text box
  int Y = 0;
  int Width = 0;  // the box: TextWidth x TextHeight
  int Height = 0;
  int Ascent = 0;
  QString Text;
  QFont Font;        // as drawn (pixel size in bitmap pixels, no anti-aliasing)
  QRgb Color = 0;    // the glyph colour (0xFFRRGGBB)
  bool Opaque = false;  // a solid brush filled the box first ...
  QRgb Background = 0;  // ... in this colour
};

// The newest texts a traced bitmap keeps; older ones are dropped.
constexpr std::size_t MaxTracedTexts = 4096;

// Starts / stops recording the texts drawn on Bitmap. Stop before the bitmap
// goes; starting twice keeps the record.
void StartTextTrace(const TBitmap& Bitmap);
void StopTextTrace(const TBitmap& Bitmap);
// The texts drawn on Bitmap since tracing started, oldest first. A text drawn
// over the whole box of an earlier one replaces it. nullptr when not traced.
// The caller may remove entries that no longer show.
std::vector<TTracedText>* TracedTexts(const TBitmap& Bitmap);

// While one lives, the texts drawn on bitmaps that are not traced by
// StartTextTrace are appended to Into (a control that paints through
// temporary pictures copied one to one onto its window). Scopes nest; the
// newest one collects.
class TTextTraceScope {
 public:
  explicit TTextTraceScope(std::vector<TTracedText>& Into);
  ~TTextTraceScope();
  TTextTraceScope(const TTextTraceScope&) = delete;
  TTextTraceScope& operator=(const TTextTraceScope&) = delete;

 private:
  std::vector<TTracedText>* FPreviousList;
};

}  // namespace zkw
