// The text kinds of the item renderer (ckText, ckTextOffs) and the text
// layout they share with the text labels and the printed page: lines split at
// line feeds, measured in the canvas font, and the printer's font-size rule.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/item_views.h"
#include "chart/render_items.h"
#include "platform/devices.h"

namespace zkw {

std::vector<std::string> SplitTextLines(const std::string& Text) {
  std::vector<std::string> Lines;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t End = Text.find('\n', Start);
    if (End == std::string::npos) {
      Lines.push_back(Text.substr(Start));
      return Lines;
    }
    Lines.push_back(Text.substr(Start, End - Start));
    Start = End + 1;
  }
}

TTextMeasure MeasureText(const std::string& Text, TCanvas& Canvas) {
  TTextMeasure M;
  int Widest = 0;
  M.Lines = 0;
  for (const std::string& Line : SplitTextLines(Text)) {
    ++M.Lines;
    Widest = std::max(Widest, Canvas.TextWidth(Line));
  }
  M.LineHeight = Canvas.TextHeight(Text) + 1;
  M.BlockHeight = M.LineHeight * M.Lines;
  M.BlockWidth = Widest != 0 ? Widest : Canvas.TextWidth(Text);
  return M;
}

void ApplyPrinterFontRule(TFont& Font, int PointSize) {
  Font.SetPixelsPerInch(ScreenInfo().PixelsPerInch());
  Font.SetSize(PointSize);
  const int PixelHeight = Font.Height();
  Font.SetPixelsPerInch(Printer().YResolution());
  Font.SetHeight(PixelHeight);
}

void TItemRenderer::DrawTextItem(const TvxChartItem& Item, TPoint Position, int Index, bool IsAnnotation,
                                 const TLongTextArray& Texts) {
  FlushPolyline();
  const TTextView View = AsText(Item);
  // A long-text index outside 1..50 reads an empty text.
  std::string Text = View.LongText < 1 ? Item.ShortText.Get() : Texts[View.LongText];
  if (OnBeforeRenderText) {
    // The host handler runs before this text's font and brush are set, so
    // nothing it does to the canvas can spoil them; what it changed is
    // unknown to the cache, which therefore forgets.
    OnBeforeRenderText(Text, Index, IsAnnotation);
    FCache.Forget();
  }
  SetFontColor(PenOf(Item));
  TFont& Font = FCanvas.Font();
  if (FFrame.TextFont) {
    Font.SetName(FFrame.TextFont->Name());
    Font.SetStyle(FFrame.TextFont->Style());
  }
  if (FFrame.OnPrinter) {
    ApplyPrinterFontRule(Font, View.FontSize);
  } else {
    Font.SetSize(View.FontSize);
  }
  const TColor B = TextBackOf(Item);
  SetBrushColor(B);
  const bool Opaque = View.SolidBackground();
  FCanvas.Brush().SetStyle(Opaque ? bsSolid : bsClear);

  const TTextMeasure M = MeasureText(Text, FCanvas);
  std::int64_t X = Position.X;
  const std::int64_t Y = std::int64_t{Position.Y} - M.LineHeight / 2;
  if (View.Alignment == 1) {
    X -= M.BlockWidth;
  } else if (View.Alignment == 2) {
    X -= M.BlockWidth / 2;
  }
  if (M.Lines <= 1) {
    FCanvas.TextOut(static_cast<int>(X), static_cast<int>(Y), Text);
    return;
  }
  if (Opaque) {
    SetPenColor(B);
    FCanvas.Rectangle(static_cast<int>(X - 4), static_cast<int>(Y - 2), static_cast<int>(X + M.BlockWidth + 4),
                      static_cast<int>(Y + std::int64_t{M.Lines} * M.LineHeight + 2));
  }
  int K = 0;
  for (const std::string& LineText : SplitTextLines(Text)) {
    std::int64_t O = 0;
    if (View.Alignment == 1) {
      O = M.BlockWidth - FCanvas.TextWidth(LineText);
    } else if (View.Alignment == 2) {
      O = (M.BlockWidth - FCanvas.TextWidth(LineText)) / 2;
    }
    FCanvas.TextOut(static_cast<int>(X + O), static_cast<int>(Y + std::int64_t{K} * M.LineHeight), LineText);
    ++K;
  }
}

}  // namespace zkw
