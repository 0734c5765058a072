// The chart's text labels: captions placed in control pixels or attached to
// world coordinates, drawn over the data with a background, a box, an
// underline or a shadow.
#include <algorithm>

#include "chart/render.h"
#include "platform/rtl.h"

namespace zkw {

void DrawTextLabel(TCanvas& Canvas, int Left, int Top, const TTextLabelLook& Label,
                   const TLabelRenderFrame& Frame, TDrawStateCache* Cache) {
  const int Layer = ClampLayer(Label.Layer);
  if (Label.Mode == tlOff || !Label.Visible || !Frame.LayerVisible[static_cast<std::size_t>(Layer - 1)]) return;

  // Anchor in control pixels; world coordinates go through the label's layer.
  const TLayerTransform& T = Frame.Transforms[static_cast<std::size_t>(Layer - 1)];
  const TTxtLblAttachMode Attach = Label.AttachToData;
  const bool WorldX = Attach == tlamXOnly || Attach == tlamBoth;
  const bool WorldY = Attach == tlamYOnly || Attach == tlamBoth;
  std::int64_t X = WorldX ? T.PixelX(Label.PosX) : RealToPixel(Label.PosX);
  std::int64_t Y = WorldY ? T.PixelY(Label.PosY) : RealToPixel(Label.PosY);
  X = ClampRender(X + Left);
  Y = ClampRender(Y + Top);

  const TFont Font = Label.Font.ToFont();
  Canvas.SetFont(Font);
  if (Frame.OnPrinter) ApplyPrinterFontRule(Canvas.Font(), Font.Size());
  Canvas.Pen().SetColor(Label.ColorBorder);
  Canvas.Pen().SetStyle(psSolid);
  Canvas.Brush().SetColor(Label.ColorBkg);
  Canvas.Brush().SetStyle(Label.Transparent ? bsClear : bsSolid);
  if (Cache) Cache->CachedBrushColor = Label.ColorBkg;

  const std::string& Caption = Label.Caption;
  const std::vector<std::string> Lines = SplitTextLines(Caption);
  const std::int64_t N = static_cast<std::int64_t>(Lines.size());
  std::int64_t BW = 0;
  for (const std::string& Line : Lines) BW = std::max<std::int64_t>(BW, Canvas.TextWidth(Line));
  if (BW == 0) BW = Canvas.TextWidth(Caption);
  const std::int64_t H = Canvas.TextHeight(Caption);

  // From here Y is the bottom of the text block and X its left edge.
  if (Label.VerticalAlignment == vaTop) {
    Y += H * N;
  } else if (Label.VerticalAlignment == vaCenter) {
    Y += H * N / 2;
  }
  if (Label.Alignment == taRightJustify) {
    X -= BW;
  } else if (Label.Alignment == taCenter) {
    X -= BW / 2;
  }

  const std::int64_t ML = Frame.MarginLeft, MT = Frame.MarginTop;
  auto I = [](std::int64_t V) { return ClampPixelSum(V); };
  const int BoxL = I(X - ML - 4), BoxT = I(Y - H * N - MT - 2), BoxR = I(X + BW - ML + 4), BoxB = I(Y - MT + 2);
  switch (Label.Mode) {
    case tlsimple:
      if (!Label.Transparent) {
        Canvas.Pen().SetColor(Label.ColorBkg);
        Canvas.Rectangle(BoxL, BoxT, BoxR, BoxB);
      }
      break;
    case tlBox:
      Canvas.Rectangle(BoxL, BoxT, BoxR, BoxB);
      break;
    case tlUnderline:
      if (!Label.Transparent) {
        Canvas.Pen().SetColor(Label.ColorBkg);
        Canvas.Rectangle(BoxL, BoxT, BoxR, BoxB);
      }
      Canvas.Pen().SetColor(Label.ColorBorder);
      Canvas.MoveTo(I(X - ML), I(Y - MT));
      Canvas.LineTo(I(X + BW - ML), I(Y - MT));
      break;
    case tlShadow: {
      const std::int64_t SX = Label.ShadowDx, SY = Label.ShadowDy;
      Canvas.Pen().SetColor(Label.ColorShadow);
      Canvas.Brush().SetColor(Label.ColorShadow);
      Canvas.Rectangle(I(BoxL + SX), I(BoxT + SY), I(BoxR + SX), I(BoxB + SY));
      Canvas.Pen().SetColor(Label.ColorBorder);
      Canvas.Brush().SetColor(Label.ColorBkg);
      Canvas.Rectangle(BoxL, BoxT, BoxR, BoxB);
      break;
    }
    default:
      break;
  }

  if (N == 1) {
    Canvas.TextOut(I(X - ML), I(Y - H - MT), Caption);
    return;
  }
  for (std::int64_t K = 0; K < N; ++K) {
    const std::string& Line = Lines[static_cast<std::size_t>(K)];
    std::int64_t O = 0;
    if (Label.Alignment == taRightJustify) {
      O = BW - Canvas.TextWidth(Line);
    } else if (Label.Alignment == taCenter) {
      O = (BW - Canvas.TextWidth(Line)) / 2;
    }
    Canvas.TextOut(I(X + O - ML), I(Y - MT - H * (N - K)), Line);
  }
}

void DrawTextLabels(TCanvas& Canvas, int Left, int Top, const TTextLabelLook* Labels, int Count,
                    const TLabelRenderFrame& Frame, TDrawStateCache* Cache) {
  for (int I = Count - 1; I >= 0; --I) DrawTextLabel(Canvas, Left, Top, Labels[I], Frame, Cache);
}

}  // namespace zkw
