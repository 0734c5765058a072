#include "scale/scale_painter.h"

#include <algorithm>
#include <cstdint>

#include "platform/rtl.h"

namespace zkw {

namespace {

// The clamp every drawn coordinate goes through (see the header); tick
// positions along the scale go through TickPixel, which the walks' thinning
// uses as well.
constexpr int DrawLimit = TickDrawLimit;
int Clamped(std::int64_t V) { return ClampInt(V, -DrawLimit, DrawLimit); }

class TTickDrawer {
 public:
  TTickDrawer(TCanvas& Canvas, const TScaleDrawing& D, int Base)
      : FCanvas(Canvas),
        FD(D),
        FMap(D.Map.AxisMap()),
        FBase(Clamped(Base)),
        FVertical(IsVerticalScale(D.ScaleType)) {}

  void Draw(const TTickWalkResult& Walk) {
    TTickLabeller Labeller(FD.Labels, Walk, FD.LabelCache.get());
    // Logarithmic ticks, and linear ticks of vertical scales, report the tick
    // before their label; every other walk after the label and date line.
    const bool EventFirst = Walk.Walk == twLogarithmic || (FVertical && Walk.Walk == twLinear);
    const bool DateTimeHeight = Walk.Walk == twDateTime;
    for (const TTick& Tick : Walk.Ticks) {
      const int Along = TickPixel(FMap, Tick.Value);
      const int X = FVertical ? FBase : Along;
      const int Y = FVertical ? Along : FBase;
      const double Value = static_cast<double>(Tick.Value);
      if (Tick.Kind == tkShort) {
        TickLine(X, Y, ShortTickLength);
        TickDrawn(Value, X, Y);
      } else if (Tick.Kind == tkIntermediate) {
        TickLine(X, Y, FVertical ? LongTickLengthVert : ShortTickLength);
        TickDrawn(Value, X, Y);
      } else {
        TickLine(X, Y, FVertical ? LongTickLengthVert : LongTickLengthHoriz);
        if (EventFirst) TickDrawn(Value, X, Y);
        // A zero tick is reported as exactly 0 by the events after its label.
        double Reported = Value;
        if (Labeller.HasLabels()) {
          const TTickLabel L = Labeller.Label(Tick);
          Reported = L.Value;
          DrawLabel(L.Value, L.Text, X, Y, DateTimeHeight);
          if (L.HasDateLine) DrawDateLine(L.Value, L.DateText, X, Y);
        }
        if (!EventFirst) TickDrawn(Reported, X, Y);
      }
    }
  }

 private:
  void TickLine(int X, int Y, int Length) {
    FCanvas.MoveTo(X, Y);
    switch (FD.ScaleType) {
      case sctXB: FCanvas.LineTo(X, Y - Length); break;
      case sctXT: FCanvas.LineTo(X, Y + Length); break;
      case sctYL: FCanvas.LineTo(X + Length, Y); break;
      case sctYR: FCanvas.LineTo(X - Length, Y); break;
    }
  }

  void TickDrawn(double Value, int X, int Y) {
    if (FD.OnScaleTickDrawn && *FD.OnScaleTickDrawn)
      (*FD.OnScaleTickDrawn)(FD.Sender, FCanvas, FD.ScaleType, Value, X, Y);
  }

  std::string BeforeLabel(double Value, std::string Text) {
    if (FD.OnBeforeTickLabel && *FD.OnBeforeTickLabel)
      (*FD.OnBeforeTickLabel)(FD.Sender, FD.ScaleType, Value, Text);
    return Text;
  }

  // A label whose base point is (X, Y); vertical labels are centred on the
  // height of "0" (numbers, times) or on their own height (dates).
  void DrawLabel(double Value, const std::string& Raw, int X, int Y, bool OwnHeight) {
    const std::string Text = BeforeLabel(Value, Raw);
    const int W = FCanvas.TextWidth(Text);
    if (FVertical) {
      const int H = OwnHeight ? FCanvas.TextHeight(Text) : FCanvas.TextHeight("0");
      const int Left = FD.ScaleType == sctYL ? X + LabelGapVert : X - W - LabelGapVert;
      Out(Left, Y - H / 2, Text);
    } else {
      const int H = FCanvas.TextHeight(Text);
      const int Top = FD.ScaleType == sctXB ? Y - H - LabelGapHoriz : Y + LabelGapHoriz;
      Out(HorizontalLabelLeft(X, W, FD.Width), Top, Text);
    }
  }

  // The date one line beyond the time label.
  void DrawDateLine(double Value, const std::string& Raw, int X, int Y) {
    const std::string Text = BeforeLabel(Value, Raw);
    const int W = FCanvas.TextWidth(Text);
    const int H = FCanvas.TextHeight(Text);
    if (FVertical) {
      const int Left = FD.ScaleType == sctYL ? X + LabelGapVert : X - W - LabelGapVert;
      Out(Left, Y - 3 * (H / 2), Text);
    } else {
      const int Moved = FD.ScaleType == sctXT ? Y + H : Y - H;
      const int Top = FD.ScaleType == sctXB ? Moved - H - LabelGapHoriz : Moved + LabelGapHoriz;
      Out(HorizontalLabelLeft(X, W, FD.Width), Top, Text);
    }
  }

  void Out(int X, int Y, const std::string& Text) {
    if (!Text.empty()) FCanvas.TextOut(X, Y, Text);
  }

  TCanvas& FCanvas;
  const TScaleDrawing& FD;
  TAxisMap FMap;
  int FBase;
  bool FVertical;
};

// The message words at the middle of the scale.
void DrawMessage(TCanvas& Canvas, const TScaleDrawing& D, int Base, TScaleMessage Message) {
  const double Mid = (D.Map.RangeLow + D.Map.RangeHigh) / 2;
  const int Along = Clamped(D.Map.ValueToPixel(Mid));
  const int B = Clamped(Base);
  const int H = Canvas.TextHeight("T");
  if (IsVerticalScale(D.ScaleType)) {
    const std::vector<std::string> Words =
        Message == smInvalidDateTime ? std::vector<std::string>{"invalid", "DateTime", "scale"}
                                     : std::vector<std::string>{"DateTime", "range is", "below 1", "second"};
    int Top = Along - H;
    for (const std::string& Word : Words) {
      const int Left = D.ScaleType == sctYL ? B + 2 : B - 2 - Canvas.TextWidth(Word);
      Canvas.TextOut(Left, Top, Word);
      Top += H;
    }
  } else {
    const std::string Text = Message == smInvalidDateTime ? InvalidDateTimeText : DateTimeBelowSecondText;
    Canvas.TextOut(Along - Canvas.TextWidth(Text) / 2, B + LabelGapHoriz, Text);
  }
}

}  // namespace

int ScaleBaseCoordinate(const TScaleDrawing& D, int OffsetX, int OffsetY) {
  std::int64_t Base = 0;
  switch (D.ScaleType) {
    case sctXB: Base = std::int64_t{OffsetY} + D.Height - D.MarginBottom - 1; break;
    case sctXT: Base = std::int64_t{OffsetY} + D.MarginTop; break;
    case sctYL: Base = std::int64_t{OffsetX} + D.MarginLeft; break;
    case sctYR: Base = std::int64_t{OffsetX} + D.Width - D.MarginRight - 1; break;
  }
  return Clamped(Base);
}

int HorizontalLabelLeft(int X, int W, int Width) {
  const int Half = W / 2;
  if (X + Half < Width - 2) return X - std::min(X - 2, Half);
  return Width - 2 * Half - 2;
}

void DrawScaleBaseLine(TCanvas& Canvas, const TScaleDrawing& D, int Base) {
  const int B = Clamped(Base);
  if (IsVerticalScale(D.ScaleType)) {
    Canvas.MoveTo(B, Clamped(D.MarginTop));
    Canvas.LineTo(B, Clamped(std::int64_t{D.Height} - D.MarginBottom - 1));
  } else {
    Canvas.MoveTo(Clamped(D.MarginLeft), B);
    Canvas.LineTo(Clamped(std::int64_t{D.Width} - D.MarginRight - 1), B);
  }
}

TTickWalkResult WalkScale(const TScaleDrawing& D) {
  TTickParams P = D.Ticks;
  P.Vertical = IsVerticalScale(D.ScaleType);
  // Ticks are thinned by the pixels they will be drawn at.
  P.Pixels = &D.Map;
  return WalkTicks(P);
}

void DrawScaleTicks(TCanvas& Canvas, const TScaleDrawing& D, int Base, const TTickWalkResult& Walk) {
  if (Walk.Message != smNone)
    DrawMessage(Canvas, D, Base, Walk.Message);
  else
    TTickDrawer(Canvas, D, Base).Draw(Walk);
}

void DrawScaleCaption(TCanvas& Canvas, const TScaleDrawing& D, int Base) {
  if (D.Caption.empty()) return;
  std::int64_t X, Y;
  if (!IsVerticalScale(D.ScaleType)) {
    std::int64_t A = D.MarginLeft;
    if (D.CaptionAnchor == uaSclCenter) A = D.MarginLeft + (std::int64_t{D.Width} - D.MarginLeft - D.MarginRight) / 2;
    if (D.CaptionAnchor == uaSclBotRgt) A = std::int64_t{D.Width} - D.MarginRight;
    X = D.CaptionPosX + A;
    Y = std::int64_t{Base} + D.CaptionPosY;
  } else {
    std::int64_t A = D.MarginTop;
    if (D.CaptionAnchor == uaSclCenter) A = D.MarginTop + (std::int64_t{D.Height} - D.MarginTop - D.MarginBottom) / 2;
    if (D.CaptionAnchor == uaSclBotRgt) A = std::int64_t{D.Height} - D.MarginBottom;
    X = std::int64_t{Base} + D.CaptionPosX;
    Y = D.CaptionPosY + A;
  }
  const int W = Canvas.TextWidth(D.Caption);
  if (D.CaptionAlignment == taRightJustify) X -= W;
  if (D.CaptionAlignment == taCenter) X -= W / 2;
  Canvas.TextOut(Clamped(X), Clamped(Y), D.Caption);
}

}  // namespace zkw
