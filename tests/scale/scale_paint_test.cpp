// Scale painting on small scales: pixel positions of the base line, tick ends,
// label boxes and caption (text measured with the scale's own font through
// the canvas), the host canvas with its offset, and the order of the events.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <string>
#include <vector>

#include "platform/devices.h"
#include "platform/graphics.h"
#include "platform/rtl.h"
#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

constexpr TColor Back = clWhite;
constexpr TColor Ink = clBlack;
constexpr TColor TextInk = clBlue;

// A shown scale (window created) with plain colours and no frame.
void Prepare(TScale& S, int W, int H, TScaleType Type) {
  S.SetBounds(0, 0, W, H);
  S.SetScaleType(Type);
  S.SetColorBackGnd(Back);
  S.SetColorScale(Ink);
  S.SetFrameStyle(fsNone);
  S.Font().SetColor(TextInk);
  S.HandleNeeded();
}

struct TBox {
  int Left, Top, Right, Bottom;  // right and bottom exclusive
  bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
};

// The text's box as the scale measures it.
TBox TextBox(TScale& S, const std::string& Text, int Left, int Top) {
  TBitmap Probe(1, 1);
  Probe.Canvas().SetFont(S.Font());
  return {Left, Top, Left + Probe.Canvas().TextWidth(Text), Top + Probe.Canvas().TextHeight(Text)};
}

int TextWidthOf(TScale& S, const std::string& Text) { return TextBox(S, Text, 0, 0).Right; }
int TextHeightOf(TScale& S, const std::string& Text) { return TextBox(S, Text, 0, 0).Bottom; }

bool HasInk(TCanvas& C, const TBox& B) {
  for (int Y = B.Top; Y < B.Bottom; ++Y)
    for (int X = B.Left; X < B.Right; ++X)
      if (C.Pixels(X, Y) != Back) return true;
  return false;
}

TEST(ScaleLayout, HorizontalLabelClamping) {
  EXPECT_EQ(HorizontalLabelLeft(10, 40, 400), 2);     // kept 2 pixels from the left end
  EXPECT_EQ(HorizontalLabelLeft(395, 40, 400), 358);  // ends at 398
  EXPECT_EQ(HorizontalLabelLeft(200, 40, 400), 180);  // centred
  EXPECT_EQ(HorizontalLabelLeft(200, 41, 400), 180);
}

TEST(ScalePaint, OpaqueHorizontalScaleEveryPixel) {
  TScale S(nullptr);
  Prepare(S, 400, 400, sctXB);
  S.ForcePaint();
  TCanvas& C = S.Canvas();
  // Base line from (20, 379) up to its end point (379, 379), excluded.
  for (int X = 20; X < 379; ++X) ASSERT_EQ(C.Pixels(X, 379), Ink) << X;
  EXPECT_EQ(C.Pixels(19, 379), Back);
  EXPECT_EQ(C.Pixels(380, 379), Back);

  // Expected ink: base line, 21 short ticks every 5 (4 pixels up), 6 long
  // ticks every 20 (7 pixels up) and the six label boxes.
  std::vector<TBox> Boxes;
  std::vector<TBox> Lines = {{20, 379, 380, 380}};
  const std::vector<std::string> Labels = {"0", "20", "40", "60", "80", "100"};
  for (int K = 0; K <= 20; ++K) {
    const int X = S.ValueToPixel(5.0 * K);
    Lines.push_back({X, 376, X + 1, 380});
    EXPECT_EQ(C.Pixels(X, 376), Ink);
  }
  for (int K = 0; K <= 5; ++K) {
    const int X = S.ValueToPixel(20.0 * K);
    Lines.push_back({X, 373, X + 1, 380});
    EXPECT_EQ(C.Pixels(X, 373), Ink) << X;
    EXPECT_EQ(C.Pixels(X, 372), Back) << X;  // the end point is not drawn
    const int W = TextWidthOf(S, Labels[K]);
    const int H = TextHeightOf(S, Labels[K]);
    const TBox Box = TextBox(S, Labels[K], HorizontalLabelLeft(X, W, 400), 379 - H - 7);
    EXPECT_TRUE(HasInk(C, Box)) << Labels[K];
    Boxes.push_back(Box);
  }
  EXPECT_EQ(S.ValueToPixel(0), 20);
  EXPECT_EQ(S.ValueToPixel(100), 379);
  for (int Y = 0; Y < 400; ++Y)
    for (int X = 0; X < 400; ++X) {
      bool Expected = false;
      for (const TBox& B : Lines) Expected = Expected || B.Contains(X, Y);
      for (const TBox& B : Boxes) Expected = Expected || B.Contains(X, Y);
      if (!Expected) {
        ASSERT_EQ(C.Pixels(X, Y), Back) << "stray ink at " << X << "," << Y;
      }
    }
  // Horizontal scales store each position once.
  EXPECT_EQ(S.NumTicks(), 21);
  EXPECT_EQ(S.GetTickPos(1), 0);
  EXPECT_EQ(S.GetTickPos(21), 100);
  EXPECT_EQ(S.GetTickPos(0), 0);
  EXPECT_EQ(S.GetTickPos(22), 0);
}

TEST(ScalePaint, TopAndVerticalScalesPlaceTicksAndLabels) {
  TScale Top(nullptr);
  Prepare(Top, 200, 60, sctXT);
  Top.ForcePaint();
  TCanvas& T = Top.Canvas();
  // Base line at MarginTop, ticks downwards, labels 7 pixels below the base.
  EXPECT_EQ(T.Pixels(20, 20), Ink);
  const int X0 = Top.ValueToPixel(0);
  EXPECT_EQ(T.Pixels(X0, 26), Ink);
  EXPECT_EQ(T.Pixels(X0, 27), Back);
  EXPECT_TRUE(HasInk(T, TextBox(Top, "0", HorizontalLabelLeft(X0, TextWidthOf(Top, "0"), 200), 27)));

  TScale Right(nullptr);
  Prepare(Right, 100, 200, sctYR);
  Right.ForcePaint();
  TCanvas& R = Right.Canvas();
  const int Base = 100 - 20 - 1;
  for (int Y = 20; Y < 179; ++Y) ASSERT_EQ(R.Pixels(Base, Y), Ink) << Y;
  const int Y100 = Right.ValueToPixel(100);
  EXPECT_EQ(Y100, 20);
  EXPECT_EQ(R.Pixels(Base - 5, Y100), Ink);  // long tick: 6 pixels to the left
  EXPECT_EQ(R.Pixels(Base - 6, Y100), Back);
  EXPECT_EQ(R.Pixels(Base - 3, Right.ValueToPixel(5)), Ink);  // short tick: 4 pixels
  EXPECT_EQ(R.Pixels(Base - 4, Right.ValueToPixel(5)), Back);
  // Labels end 8 pixels left of the base line, centred on the height of "0".
  const int W = TextWidthOf(Right, "100");
  const int H = TextHeightOf(Right, "0");
  const TBox Box = TextBox(Right, "100", Base - W - 8, Y100 - H / 2);
  EXPECT_EQ(Box.Right, Base - 8);
  EXPECT_TRUE(HasInk(R, Box));
  for (int Y = 0; Y < 200; ++Y)
    for (int X = Box.Right; X < Base - 6; ++X) ASSERT_EQ(R.Pixels(X, Y), Back) << X << "," << Y;
  // Vertical scales store long positions as well.
  EXPECT_EQ(Right.NumTicks(), 27);

  TScale Left(nullptr);
  Prepare(Left, 100, 200, sctYL);
  Left.ForcePaint();
  EXPECT_EQ(Left.Canvas().Pixels(20 + 5, Left.ValueToPixel(0)), Ink);
  EXPECT_TRUE(HasInk(Left.Canvas(), TextBox(Left, "0", 28, Left.ValueToPixel(0) - H / 2)));
}

TEST(ScalePaint, TransparentOnALentCanvasWithOffset) {
  TBitmap Host(400, 400);  // white
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetHostCanvas(&Host.Canvas(), 0, 300);
  S.SetTransparent(true);
  S.SetEmbedded(true);
  S.ForcePaint();
  TCanvas& C = Host.Canvas();
  const int Base = 300 + 60 - 20 - 1;
  for (int X = 20; X < 379; ++X) ASSERT_EQ(C.Pixels(X, Base), Ink) << X;
  // Positions along the scale are not shifted; nothing is filled.
  EXPECT_EQ(C.Pixels(S.ValueToPixel(20), Base - 6), Ink);
  for (int Y = 0; Y < 300; ++Y)
    for (int X = 0; X < 400; ++X) ASSERT_EQ(C.Pixels(X, Y), clWhite);
  EXPECT_EQ(C.Pixels(5, 305), clWhite);
  EXPECT_EQ(C.Pixels(390, 355), clWhite);
  // The scale's own window stays as it was.
  EXPECT_EQ(S.Canvas().Pixels(30, 39), S.Canvas().Pixels(0, 0));
}

// Opaque, the scale is its transparent drawing over its background colour
// (system colours included) and its frame.
TEST(ScalePaint, OpaquePaintIsTheTransparentPaintOverTheBackground) {
  for (const TColor Background : {clCream, clBtnFace}) {
    TScale S(nullptr);
    Prepare(S, 400, 60, sctXB);
    S.SetCaption("Volts");
    S.SetColorBackGnd(Background);
    S.ForcePaint();
    const QImage Opaque = S.Canvas().Target().Image().copy();
    TBitmap Host(400, 60);
    Host.Canvas().Brush().SetColor(Background);
    Host.Canvas().FillRect({0, 0, 400, 60});
    S.SetHostCanvas(&Host.Canvas(), 0, 0);
    S.SetTransparent(true);
    S.SetEmbedded(true);
    S.ForcePaint();
    S.SetHostCanvas(nullptr, 0, 0);
    EXPECT_TRUE(Host.Image() == Opaque) << Background;
  }
}

TEST(ScalePaint, CaptionAnchorAndAlignment) {
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetCaption("Volts");
  S.SetCaptionAnchor(uaSclCenter);
  S.SetCaptionAlignment(taCenter);
  S.SetCaptionPosY(-38);
  S.ForcePaint();
  const int W = TextWidthOf(S, "Volts");
  const TBox Box = TextBox(S, "Volts", 204 - W / 2, 39 - 38);
  EXPECT_TRUE(HasInk(S.Canvas(), Box));
  EXPECT_FALSE(HasInk(S.Canvas(), {0, Box.Top, Box.Left, Box.Top + 3}));
  EXPECT_FALSE(HasInk(S.Canvas(), {Box.Right, Box.Top, 400, Box.Top + 3}));

  TScale V(nullptr);
  Prepare(V, 100, 200, sctYL);
  V.SetCaption("m");
  V.SetCaptionAnchor(uaSclBotRgt);
  V.SetCaptionAlignment(taRightJustify);
  V.ForcePaint();
  const int Wm = TextWidthOf(V, "m");
  EXPECT_TRUE(HasInk(V.Canvas(), TextBox(V, "m", 20 + 4 - Wm, 4 + 200 - 20)));
}

TEST(ScalePaint, FrameAndAfterRenderedEvent) {
  TScale S(nullptr);
  Prepare(S, 100, 50, sctXB);
  S.SetFrameStyle(fsRaised);
  TCanvas* Seen = nullptr;
  S.OnAfterScaleRendered = [&](TObject* Sender, TCanvas& Canvas) {
    EXPECT_EQ(Sender, &S);
    Seen = &Canvas;
    Canvas.SetPixels(0, 0, clRed);   // under the frame
    Canvas.SetPixels(50, 5, clRed);  // visible
  };
  S.ForcePaint();
  ASSERT_NE(Seen, nullptr);
  EXPECT_NE(Seen, &S.Canvas());  // the off-screen bitmap, before the copy
  TCanvas& C = S.Canvas();
  EXPECT_EQ(C.Pixels(0, 0), clWhite);  // highlight of csBWG
  EXPECT_EQ(C.Pixels(99, 49), clBlack);
  EXPECT_EQ(C.Pixels(1, 1), clSilver);
  EXPECT_EQ(C.Pixels(98, 48), clGray);
  EXPECT_EQ(C.Pixels(50, 5), clRed);
  S.SetColorScheme(csSystem);
  EXPECT_EQ(C.Pixels(98, 48), ColorToRGB(clBtnShadow));
  EXPECT_EQ(C.Pixels(0, 0), ColorToRGB(clBtnHighlight));
}

// Records the events of one paint as "T<value>" (tick drawn) and
// "L<text>" (before label).
struct TRecorder {
  std::vector<std::string> Events;
  std::vector<double> TickValues;
  void Attach(TScale& S) {
    S.OnScaleTickDrawn = [this](TObject*, TCanvas&, TScaleType, double V, int, int) {
      Events.push_back("T" + FormatFixed(V, 1));
      TickValues.push_back(V);
    };
    S.OnBeforeTickLabel = [this](TObject*, TScaleType, double, std::string& Text) {
      Events.push_back("L" + Text);
    };
  }
};

TEST(ScaleEvents, OrderPerWalkAndOrientation) {
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetShortTicks(false);
  TRecorder R;
  R.Attach(S);
  S.ForcePaint();  // linear, horizontal: label before the tick event
  ASSERT_GE(R.Events.size(), 4u);
  EXPECT_EQ(R.Events[0], "L0");
  EXPECT_EQ(R.Events[1], "T0.0");
  EXPECT_EQ(R.Events[2], "L20");

  R.Events.clear();
  S.SetScaleType(sctYL);  // linear, vertical: tick event first
  S.SetBounds(0, 0, 60, 400);
  R.Events.clear();
  S.ForcePaint();
  EXPECT_EQ(R.Events[0], "T0.0");
  EXPECT_EQ(R.Events[1], "L0");

  S.SetScaleType(sctXB);  // logarithmic, horizontal: tick event first
  S.SetBounds(0, 0, 400, 60);
  S.SetRange(1, 1000);
  S.SetLogarithmic(true);
  R.Events.clear();
  S.ForcePaint();
  EXPECT_EQ(R.Events[0], "T1.0");
  EXPECT_EQ(R.Events[1], "L1");

  S.SetLogarithmic(false);  // date/time: label, date line, tick event
  S.SetLabelType(ftDateTime);
  S.SetRange(0, 2);
  R.Events.clear();
  S.ForcePaint();
  ASSERT_GE(R.Events.size(), 3u);
  EXPECT_EQ(R.Events[0], "L00:00");
  EXPECT_EQ(R.Events[1], "L30-" + ShortMonthNames()[11] + "-1899");
  EXPECT_EQ(R.Events[2], "T0.0");
}

TEST(ScaleEvents, ZeroTickReportedAsZeroAfterItsLabel) {
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetShortTicks(false);
  S.SetRange(-0.3, 0.3);
  TRecorder R;
  R.Attach(S);
  S.ForcePaint();
  bool SawExactZero = false;
  for (double V : R.TickValues) SawExactZero = SawExactZero || V == 0.0;
  EXPECT_TRUE(SawExactZero);
  // Vertical scales report before the label: the walk's own value.
  S.SetScaleType(sctYL);
  R.TickValues.clear();
  S.ForcePaint();
  bool NearZero = false;
  for (double V : R.TickValues) NearZero = NearZero || std::fabs(V) < 1e-15;
  EXPECT_TRUE(NearZero);
}

TEST(ScaleEvents, TimeScaleReportsExactlyTheDrawnTicks) {
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetLabelType(ftTime);
  S.SetRange(7, 67);  // 20 s steps, 5 s sub-steps
  TRecorder R;
  R.Attach(S);
  S.ForcePaint();
  EXPECT_EQ(R.TickValues.size(), 15u);  // 12 short (10 .. 65), 3 long
  for (double V : R.TickValues) {
    EXPECT_GE(V, 7);
    EXPECT_LE(V, 67);
  }
  EXPECT_EQ(R.Events[12], "L 00:00:20");
}

TEST(ScaleEvents, HostMayReplaceLabelText) {
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetShortTicks(false);
  S.OnBeforeTickLabel = [](TObject*, TScaleType, double V, std::string& Text) {
    if (V == 0) Text = "WWWWWW";
  };
  S.ForcePaint();
  const int W = TextWidthOf(S, "WWWWWW");
  const int H = TextHeightOf(S, "WWWWWW");
  const TBox Box = TextBox(S, "WWWWWW", HorizontalLabelLeft(20, W, 400), 39 - H - 7);
  // The replaced text is measured and drawn: ink reaches its right part.
  EXPECT_TRUE(HasInk(S.Canvas(), {Box.Right - W / 3, Box.Top, Box.Right, Box.Bottom}));
}

TEST(ScaleMessages, DateTimeMessagesInsteadOfTicks) {
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetLabelType(ftDateTime);
  S.SetRange(10, 5);  // reversed: invalid
  TRecorder R;
  R.Attach(S);
  S.ForcePaint();
  EXPECT_TRUE(R.Events.empty());
  EXPECT_EQ(S.NumTicks(), 0);
  const std::string Text = InvalidDateTimeText;
  const int Mid = S.ValueToPixel(7.5);
  const int W = TextWidthOf(S, Text);
  EXPECT_TRUE(HasInk(S.Canvas(), TextBox(S, Text, Mid - W / 2, 39 + 7)));

  TScale V(nullptr);
  Prepare(V, 100, 300, sctYL);
  V.SetLabelType(ftDateTime);
  V.SetRange(0, 0.02 / 86400);
  V.ForcePaint();
  const int H = TextHeightOf(V, "T");
  const int Y = V.ValueToPixel(0.01 / 86400);
  int Top = Y - H;
  for (const std::string Word : {"DateTime", "range is", "below 1", "second"}) {
    EXPECT_TRUE(HasInk(V.Canvas(), TextBox(V, Word, 22, Top))) << Word;
    EXPECT_FALSE(HasInk(V.Canvas(), {22 + TextWidthOf(V, Word), Top, 99, Top + H})) << Word;
    Top += H;
  }
}

TEST(ScalePaint, PrinterTextKeepsItsScreenPixelHeight) {
  TScale S(nullptr);
  S.SetBounds(0, 0, 400, 60);
  S.Font().SetSize(10);
  S.SetTransparent(true);
  S.SetEmbedded(true);
  TCanvas& Paper = Printer().Canvas();
  S.SetHostCanvas(&Paper, 0, 0);
  S.ForcePaint();
  TFont Screen;
  Screen.SetPixelsPerInch(ScreenInfo().PixelsPerInch());
  Screen.SetSize(10);
  EXPECT_EQ(Paper.Font().PixelsPerInch(), Printer().YResolution());
  EXPECT_EQ(Paper.Font().Height(), Screen.Height());
  // Other canvases keep the scale's font as it is.
  TBitmap Host(400, 60);
  S.SetHostCanvas(&Host.Canvas(), 0, 0);
  S.ForcePaint();
  EXPECT_EQ(Host.Canvas().Font().Height(), S.Font().Height());
}

TEST(ScalePaint, LongWalkDrawsEveryTickUpToTheEnd) {
  // 0..5000 with a one-unit distance: about fourteen ticks a pixel, each
  // pixel of the axis gets its long tick, the right end included.
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  S.SetShortTicks(false);
  S.SetMinTicks(0);
  S.SetRange(0, 5000);
  int Events = 0;
  S.OnScaleTickDrawn = [&](TObject*, TCanvas&, TScaleType, double, int, int) { ++Events; };
  S.ForcePaint();
  TCanvas& C = S.Canvas();
  const int Base = 60 - 20 - 1;
  for (int V = 0; V <= 5000; ++V) {
    const int X = S.ValueToPixel(V);
    ASSERT_EQ(C.Pixels(X, Base - 6), Ink) << V;  // the top pixel of a long tick
  }
  EXPECT_EQ(S.ValueToPixel(5000), 379);
  EXPECT_GE(Events, 360);
  EXPECT_LE(Events, MaxTicksPerPixel * 363 + MaxStoredTicks);
  EXPECT_EQ(S.NumTicks(), MaxStoredTicks);
  EXPECT_EQ(S.GetTickPos(MaxStoredTicks), MaxStoredTicks - 1);
}

TEST(ScalePaint, ExtremeSettingsDrawABoundedNumberOfTicks) {
  // Each paint draws at most MaxTicksPerPixel ticks a pixel for each of
  // its two passes, plus the stored ones, whatever the range.
  TScale S(nullptr);
  Prepare(S, 400, 60, sctXB);
  int Events = 0;
  S.OnScaleTickDrawn = [&](TObject*, TCanvas&, TScaleType, double, int, int) { ++Events; };
  const int Bound = 2 * (MaxTicksPerPixel * (400 + 3) + MaxStoredTicks);
  auto Paint = [&](const char* What) {
    Events = 0;
    S.ForcePaint();
    EXPECT_LE(Events, Bound) << What;
  };
  S.SetRange(-1e308, 1e308);
  Paint("widest range");
  S.SetMinTicks(0);
  S.SetRange(0, 1e9);
  Paint("one-unit distance over a billion units");
  S.SetRange(-1e300, 1e300);
  Paint("one-unit distance over 2e300 units");
  S.SetRange(1e20, 1e20 + 1e5);
  Paint("a range floating point cannot divide finely");
  S.SetMinTicks(3);
  S.SetRange(0, 100);
  S.SetLogarithmic(true);  // created at run time: accepted with a zero end
  Paint("logarithmic with a zero end");
  S.SetLabelType(ftTime);
  S.SetRange(-1e15, 1e15);
  Paint("time over 2e15 seconds");
  S.SetLabelType(ftDateTime);
  S.SetRange(-693593, 3000000);
  Paint("every representable date");
  S.SetScaleType(sctYL);
  S.SetBounds(0, 0, 0, 0);
  Paint("no extent");
}

TEST(ScalePaint, TicksOfADegenerateMapAreThinnedOffTheScaleToo) {
  // A logarithmic time scale whose range the doubles can hardly tell apart
  // (the equal ends are moved apart by the least step): rounding spreads the
  // ticks over thousands of pixels off the scale, which count as one pixel on
  // each side.
  TScale S(nullptr);
  Prepare(S, 372, 185, sctYR);
  int Events = 0;
  S.OnScaleTickDrawn = [&](TObject*, TCanvas&, TScaleType, double, int, int) { ++Events; };
  S.SetLogarithmic(true);
  S.SetLabelType(ftTime);
  S.SetRangeLow(2.0895294896115548e+18);
  S.SetRangeHigh(2.0895294896115548e+18);
  S.SetMinTicks(10);
  S.ForcePaint();
  EXPECT_GT(Events, 0);
  EXPECT_LE(Events, 2 * (MaxTicksPerPixel * (185 + 3) + MaxStoredTicks));
}

// --- Cached texts ---------------------------------------------------------------

struct TWalkCase {
  TFigType Type;
  bool Logarithmic;
  double Low, High;
};

const TWalkCase WalkCases[] = {
    {ftNum, false, -37, 1013},        {ftNum, true, 0.001, 1e6},        {ftTime, false, 0, 3600},
    {ftDateTime, false, 40000, 40002}, {ftDateTime, false, 40000, 40060}, {ftDateTime, false, 40000, 41000},
    {ftDateTime, false, 0, 40000},
};

void Configure(TScale& S, const TWalkCase& C, TScaleType Type, int Variant) {
  const bool Vertical = IsVerticalScale(Type);
  S.SetBounds(0, 0, Vertical ? 90 : 700, Vertical ? 500 : 60);
  S.SetScaleType(Type);
  S.SetMinTicks(10);
  S.SetLabelType(C.Type);
  S.SetRange(C.Low, C.High);
  S.SetLogarithmic(C.Logarithmic);
  S.SetCaption("Axis");
  S.Font().SetColor(Variant == 0 ? clBlue : clMaroon);
  S.Font().SetHeight(Variant == 0 ? -11 : -14);
  S.Font().SetStyle(Variant == 0 ? TFontStyles{} : TFontStyles{fsItalic});
  S.SetColorBackGnd(Variant == 0 ? clBtnFace : clCream);
  S.SetScaleInscript(Variant == 0 ? "" : "& u");
  S.DateFormat().SetDateForTime(Variant == 0 ? dtOnePerDay : dtAllTicks);
  S.HandleNeeded();
}

// A host picture with a different colour at every pixel.
void Stripes(TBitmap& B) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.Canvas().SetPixels(X, Y, static_cast<TColor>((X * 7919 + Y * 104729) & 0xFFFFFF));
}

// The picture of one paint: the scale's own window when opaque, else a
// striped host it paints on transparently.
QImage PaintOf(TScale& S, bool Transparent) {
  if (!Transparent) {
    S.ForcePaint();
    return S.Canvas().Target().Image().copy();
  }
  TBitmap Host(S.Width() + 40, S.Height() + 40);
  Stripes(Host);
  S.SetTransparent(true);
  S.SetHostCanvas(&Host.Canvas(), 20, 20);
  S.SetEmbedded(true);
  S.ForcePaint();
  S.SetHostCanvas(nullptr, 0, 0);
  return Host.Image().copy();
}

// The same scale drawn by a fresh scale with every text measured and drawn
// afresh through Qt.
QImage ReferencePaint(const TWalkCase& C, TScaleType Type, int Variant, bool Transparent) {
  SetTextCaching(false);
  TScale Fresh(nullptr);
  Configure(Fresh, C, Type, Variant);
  QImage Image = PaintOf(Fresh, Transparent);
  SetTextCaching(true);
  return Image;
}

TEST(ScaleTextCache, PaintsFromTheCachesMatchFreshPaintsForEveryWalk) {
  for (const TWalkCase& C : WalkCases) {
    for (TScaleType Type : {sctXB, sctYL, sctXT, sctYR}) {
      for (bool Transparent : {false, true}) {
        SCOPED_TRACE(std::to_string(C.Type) + " " + std::to_string(C.Low) + " type " + std::to_string(Type) +
                     (Transparent ? " transparent" : " opaque"));
        TScale S(nullptr);
        Configure(S, C, Type, 0);
        const QImage First = PaintOf(S, Transparent);
        const QImage Again = PaintOf(S, Transparent);  // texts and labels from the caches
        const QImage Reference = ReferencePaint(C, Type, 0, Transparent);
        EXPECT_TRUE(First == Reference);
        EXPECT_TRUE(Again == Reference);
        // Other font, colours and label settings on the same scale.
        Configure(S, C, Type, 1);
        const QImage Changed = PaintOf(S, Transparent);
        EXPECT_FALSE(Changed == Reference);
        EXPECT_TRUE(Changed == ReferencePaint(C, Type, 1, Transparent));
        // And back: nothing of the other settings stays behind.
        Configure(S, C, Type, 0);
        EXPECT_TRUE(PaintOf(S, Transparent) == Reference);
      }
    }
  }
}

TEST(ScaleTextCache, HostRenamingLabelsBetweenPaintsIsHonoured) {
  TScale S(nullptr);
  Configure(S, WalkCases[0], sctXB, 0);
  const QImage Plain = PaintOf(S, false);
  S.OnBeforeTickLabel = [](TObject*, TScaleType, double, std::string& Text) { Text = "<" + Text + ">"; };
  const QImage Renamed = PaintOf(S, false);
  EXPECT_FALSE(Renamed == Plain);
  S.OnBeforeTickLabel = nullptr;
  EXPECT_TRUE(PaintOf(S, false) == Plain);
}

}  // namespace
}  // namespace zkw
