// A chart through every drawing path other than the exact raster: on a page
// through the painter at scale 1, as SVG and PDF read back, and at device
// scales 2 and 1.5. A chart with every item kind, every mark symbol and every
// kind of scale keeps its geometry within one pixel of the raster (one
// logical pixel at scale 2); texts are real text in the vector files; the
// Antialiased property is stored only when on; bad scales write nothing.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "chart/ZKW_vexa.h"
#include "platform/formstream.h"
#include "tests/support/ink_match.h"

namespace zkw {
namespace {

using testing::TInk;

std::string Out(const std::string& Name) { return std::string(ZKW_TEST_OUTPUT_DIR) + "/resolution_" + Name; }

// Window, shadow-free chart background: what is not ink.
constexpr QRgb Window = 0xF0F0F0;
constexpr QRgb Paper = 0xFFFFFF;

// Every item kind, all 52 mark symbols, and scales of every kind: linear on
// layer 1, logarithmic on layer 2, time on layer 3 and calendar dates on
// layer 4 (x and y on both sides).
std::unique_ptr<TVexa> EveryKindChart() {
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, 700, 520);
  C->SetCaption("Every kind");
  C->SetMarginLeft(100);
  C->SetMarginRight(80);
  C->SetMarginTop(70);
  C->SetMarginBottom(70);
  C->SetShadowWidth(0);
  C->SetRange(1, false, false, 0, 0, 100, 100);
  C->Scale2X().SetVisible(true);
  C->Scale2X().SetScaleType(sctXT);
  C->Scale2Y().SetVisible(true);
  C->Scale2Y().SetScaleType(sctYR);
  C->SetRange(2, true, true, 1, 1, 1000, 1000);
  C->Scale3X().SetVisible(true);
  C->Scale3X().SetScaleType(sctXB);
  C->Scale3X().SetScalePos(30);
  C->Scale3X().SetLabelType(ftTime);
  C->Scale3X().SetRangeLow(0.25);
  C->Scale3X().SetRangeHigh(0.75);
  C->Scale4Y().SetVisible(true);
  C->Scale4Y().SetScaleType(sctYL);
  C->Scale4Y().SetScalePos(40);
  C->Scale4Y().SetLabelType(ftDateTime);
  C->Scale4Y().SetRangeLow(45000);
  C->Scale4Y().SetRangeHigh(45060);
  C->SetGridStyle(gsDotLines);
  C->SetGridColor(clSilver);
  C->HandleNeeded();
  C->SetDataColor(clNavy);
  C->SetFillColor(clAqua);
  for (int M = 0; M < 52; ++M) C->AddMark(4 + (M % 13) * 7.5, 96 - (M / 13) * 6, static_cast<std::uint8_t>(M));
  C->AddLine(5, 70, 30, 62);
  C->AddMoveTo(35, 62);
  for (int I = 1; I <= 20; ++I) C->AddDrawTo(35 + I, 62 + 5 * std::sin(I * 0.6));
  C->AddRect(60, 70, 72, 62, true);
  C->SetFillColor(clSilver);
  C->AddRect3D(76, 70, 86, 62, fsRaised, clWhite, clGray);
  C->SetFillColor(clYellow);
  C->AddBar3D(88, 62, 96, 70, 45, 8);
  // Texts in black: the coloured ink is the items'.
  C->SetDataColor(clBlack);
  C->AddText(10, 52, "Short text", 9);
  C->SetTextBkStyle(tbSolid);
  C->AddText(35, 52, "Two\nlines", 9);
  C->SetDataColor(clMaroon);
  C->SetFillColor(clLime);
  C->AddEllipse(15, 38, 8, 5);
  C->AddArrow(30, 33, 45, 43, 8);
  C->AddBox(60, 40, 6, 4);
  C->AddErrorBar(72, 40, 3, 5, 12, false);
  C->AddArc(86, 38, 8, 8, 0.3, 2.8);
  C->AddLineRel(10, 20, 30, -10);
  C->SetDataColor(clPurple);
  C->AddCross(60, 18, 4, 4);
  C->AddVLine(97);
  C->AddHLine(4);
  TTextLabel& L = C->TextLabel(1);
  L.SetCaption("Label");
  L.SetMode(tlShadow);
  L.SetPosX(80);
  L.SetPosY(15);
  L.SetVisible(true);
  C->CrossHair(1).SetMode(chCrossBox);
  C->CrossHair(1).SetPosX(45);
  C->CrossHair(1).SetPosY(25);
  C->Repaint();
  return C;
}

QImage ExactPicture(TVexa& C) {
  TBitmap B;
  PaintChartPicture(C, B, 1);
  return B.Image().copy();
}

void ExpectMatch(const TInk& A, const TInk& B, int Reach, const std::string& What) {
  SCOPED_TRACE(What);
  ASSERT_EQ(A.Size(), B.Size());
  EXPECT_GT(A.Count(), 1000);
  const int Missing = A.Unmatched(B, Reach), Extra = B.Unmatched(A, Reach);
  EXPECT_EQ(Missing, 0);
  EXPECT_EQ(Extra, 0);
  if (Missing + Extra > 0) {
    // Where: the reference's and the other's ink, unmatched pixels in red.
    A.UnmatchedPicture(B, Reach).save(QString::fromStdString(Out(What + "_missing.png")));
    B.UnmatchedPicture(A, Reach).save(QString::fromStdString(Out(What + "_extra.png")));
  }
}

// The items (drawn in colours) lie within one pixel of the exact raster's
// (enlarged by Factor), and all ink, texts included, within TextReach
// pixels (glyphs at another resolution or from another reader differ in
// shape, not in place).
void ExpectSameGeometry(const QImage& Reference, const QImage& Other, int Factor, int TextReach, const char* What) {
  ExpectMatch(TInk::Coloured(Reference).Enlarged(Factor), TInk::Coloured(Other), Factor, std::string(What) + " items");
  ExpectMatch(TInk(Reference, {Window, Paper}).Enlarged(Factor), TInk(Other, {Window, Paper}), TextReach,
              std::string(What) + " all");
}

TEST(Resolution, ThePagePathKeepsEveryItemWithinOnePixel) {
  auto C = EveryKindChart();
  const QImage Exact = ExactPicture(*C);
  Exact.save(QString::fromStdString(Out("exact.png")));
  TBitmap Painted;
  Painted.SetDrawMode({1, false, true});
  Painted.SetSize(C->Width(), C->Height());
  PaintOnPicture(Painted, [&](TBitmap& Page) { PaintChartOnPage(*C, Page); });
  Painted.Image().save(QString::fromStdString(Out("page.png")));
  ExpectSameGeometry(Exact, Painted.Image(), 1, 1, "page at scale 1");
}

TEST(Resolution, AtScalesTwoAndOneAndAHalfTheChartDrawsNatively) {
  auto C = EveryKindChart();
  const QImage Exact = ExactPicture(*C);
  TBitmap Two;
  PaintChartPicture(*C, Two, 2);
  ASSERT_EQ(Two.Image().size(), QSize(1400, 1040));
  Two.Image().save(QString::fromStdString(Out("scale2.png")));
  ExpectSameGeometry(Exact, Two.Image(), 2, 4, "scale 2");
  TBitmap OneAndAHalf;
  PaintChartPicture(*C, OneAndAHalf, 1.5);
  EXPECT_EQ(OneAndAHalf.Image().size(), QSize(1050, 780));
  // The chart is back at its own scale, and its exact picture unchanged.
  EXPECT_EQ(C->DrawMode().Scale, 1.0);
  EXPECT_TRUE(ExactPicture(*C) == Exact);
}

TEST(Resolution, TheSvgReadBackHasTheRastersGeometryAndRealText) {
  auto C = EveryKindChart();
  const QImage Exact = ExactPicture(*C);
  C->SaveSvg(Out("every_kind.svg"));
  QSvgRenderer Svg(QString::fromStdString(Out("every_kind.svg")));
  ASSERT_TRUE(Svg.isValid());
  EXPECT_EQ(Svg.viewBox(), QRect(0, 0, 700, 520));
  QImage Back(700, 520, QImage::Format_RGB32);
  Back.fill(Qt::white);
  {
    QPainter P(&Back);
    Svg.render(&P);
  }
  ExpectSameGeometry(Exact, Back, 1, 2, "SVG");
  // The texts are text elements, not outlines.
  FILE* F = std::fopen(Out("every_kind.svg").c_str(), "rb");
  ASSERT_TRUE(F);
  std::string Text(1 << 20, '\0');
  Text.resize(std::fread(Text.data(), 1, Text.size(), F));
  std::fclose(F);
  EXPECT_NE(Text.find(">Every kind<"), std::string::npos);
  EXPECT_NE(Text.find(">Short text<"), std::string::npos);
}

bool HavePoppler() { return std::system("command -v pdftoppm >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") == 0; }

std::string Output(const std::string& Command) {
  std::string Result;
  FILE* P = popen(Command.c_str(), "r");
  if (!P) return Result;
  char Buffer[4096];
  std::size_t N = 0;
  while ((N = std::fread(Buffer, 1, sizeof Buffer, P)) > 0) Result.append(Buffer, N);
  pclose(P);
  return Result;
}

TEST(Resolution, ThePdfReadBackHasTheRastersGeometryAndSearchableText) {
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils (pdftoppm, pdftotext) not installed";
  auto C = EveryKindChart();
  const QImage Exact = ExactPicture(*C);
  const std::string Pdf = Out("every_kind.pdf");
  C->SavePdf(Pdf);
  const std::string Png = Out("every_kind_pdf");
  ASSERT_EQ(std::system(("pdftoppm -r 96 -aa no -aaVector no -png -singlefile '" + Pdf + "' '" + Png + "'").c_str()), 0);
  const QImage Back(QString::fromStdString(Png + ".png"));
  ASSERT_FALSE(Back.isNull());
  ExpectSameGeometry(Exact, Back, 1, 1, "PDF");
  const std::string Text = Output("pdftotext '" + Pdf + "' -");
  EXPECT_NE(Text.find("Every kind"), std::string::npos);
  EXPECT_NE(Text.find("Short text"), std::string::npos);
  EXPECT_NE(Text.find("100"), std::string::npos);  // a tick label
  const std::string Fonts = Output("pdffonts '" + Pdf + "'");
  EXPECT_NE(Fonts.find("yes"), std::string::npos) << Fonts;  // embedded
}

TEST(Resolution, AntialiasedIsStoredOnlyWhenOnAndSmoothsEveryPicture) {
  TVexa A(nullptr);
  EXPECT_FALSE(A.Antialiased());
  EXPECT_EQ(WriteComponentToJson(A).find("Antialiased"), std::string::npos);
  A.SetAntialiased(true);
  const std::string Text = WriteComponentToJson(A);
  EXPECT_NE(Text.find("\"Antialiased\": true"), std::string::npos);
  TVexa B(nullptr);
  ReadComponentFromJson(B, Text);
  EXPECT_TRUE(B.Antialiased());
  TScale S(nullptr);
  S.SetAntialiased(true);
  EXPECT_NE(WriteComponentToJson(S).find("\"Antialiased\": true"), std::string::npos);

  // Smooth: a diagonal line has colours between its own and the background's.
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, 200, 160);
  C->HandleNeeded();
  C->SetRange(1, false, false, 0, 0, 100, 100);
  C->AddLine(0, 0, 100, 70);
  C->SetAntialiased(true);
  TBitmap B1;
  PaintChartPicture(*C, B1, 1);
  const QImage I = B1.Image().convertToFormat(QImage::Format_RGB32);
  int Between = 0;
  for (int Y = 0; Y < I.height(); ++Y)
    for (int X = 0; X < I.width(); ++X) {
      const int G = qGray(I.pixel(X, Y));
      Between += G > 40 && G < 215 && qRed(I.pixel(X, Y)) == qBlue(I.pixel(X, Y));
    }
  EXPECT_GT(Between, 50);
}

// A dense line (points much closer than a pixel, as a polyline or as single
// segments) is drawn as a line at the device's resolution, like a sparse
// one: at scale 2 its edges fall on odd device columns about as often as on
// even ones (a line kept on its logical pixels puts nearly all on even
// ones), and anti-aliased its edges blend into the background.
TEST(Resolution, DenseLinesAreLinesAtTheDeviceResolution) {
  for (const bool Segments : {false, true}) {
    SCOPED_TRACE(Segments ? "segments" : "polyline");
    auto C = std::make_unique<TVexa>(nullptr);
    C->SetBounds(0, 0, 420, 300);
    C->HandleNeeded();
    C->SetRange(1, false, false, 0, -1.2, 1, 1.2);
    C->SetDataColor(clNavy);
    constexpr int N = 40000;
    const auto Y = [](int I) { return std::sin(I * 0.0008) + 0.3 * std::sin(I * 0.011); };
    C->AddMoveTo(0, Y(0));
    for (int I = 1; I <= N; ++I) {
      if (Segments) {
        C->AddLine((I - 1) / double(N), Y(I - 1), I / double(N), Y(I));
      } else {
        C->AddDrawTo(I / double(N), Y(I));
      }
    }
    const QRgb Ink = 0x000080;
    // Edges along the rows of the plot at scale 2, by device column parity.
    TBitmap Two;
    PaintChartPicture(*C, Two, 2);
    const std::string Name = Segments ? "dense_segments" : "dense_polyline";
    Two.Image().save(QString::fromStdString(Out(Name + "_scale2.png")));
    const QImage I2 = Two.Image().convertToFormat(QImage::Format_RGB32);
    int Even = 0, All = 0;
    for (int Y2 = 2 * C->MarginTop() + 4; Y2 < 2 * (C->Height() - C->MarginBottom()) - 4; ++Y2)
      for (int X2 = 2 * C->MarginLeft() + 4; X2 < 2 * (C->Width() - C->MarginRight()) - 4; ++X2) {
        const bool A = (I2.pixel(X2 - 1, Y2) & 0xFFFFFF) == Ink, B = (I2.pixel(X2, Y2) & 0xFFFFFF) == Ink;
        if (A == B) continue;
        ++All;
        Even += X2 % 2 == 0;
      }
    ASSERT_GT(All, 1000);
    EXPECT_LT(Even, All * 0.65) << Even << " of " << All << " edges on even columns";
    // Anti-aliased at scale 1: many of the line's pixels are blends.
    C->SetAntialiased(true);
    TBitmap Smooth;
    PaintChartPicture(*C, Smooth, 1);
    Smooth.Image().save(QString::fromStdString(Out(Name + "_antialiased.png")));
    const QImage I1 = Smooth.Image().convertToFormat(QImage::Format_RGB32);
    int Solid = 0, Blended = 0;
    for (int Y1 = C->MarginTop() + 2; Y1 < C->Height() - C->MarginBottom() - 2; ++Y1)
      for (int X1 = C->MarginLeft() + 2; X1 < C->Width() - C->MarginRight() - 2; ++X1) {
        const QRgb P = I1.pixel(X1, Y1) & 0xFFFFFF;
        Solid += P == Ink;
        // Between navy and the white plot: red and green equal, blue above them.
        Blended += P != Ink && P != 0xFFFFFF && qRed(P) == qGreen(P) && qBlue(P) > qRed(P);
      }
    EXPECT_GT(Blended, Solid / 3) << Blended << " blended, " << Solid << " solid";
  }
}

TEST(Resolution, BadScalesAndNamesWriteNothing) {
  auto C = EveryKindChart();
  for (const double S : {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
    const std::string File = Out("bad_scale.png");
    std::filesystem::remove(File);
    EXPECT_THROW(C->SaveImage(File, S), EInvalidGraphic) << S;
    EXPECT_THROW(C->SavePng(File, S), EInvalidGraphic) << S;
    EXPECT_FALSE(std::filesystem::exists(File));
  }
  EXPECT_THROW(C->SaveImage(Out("chart.tiff"), 2), EInvalidGraphic);
  EXPECT_THROW(C->SaveSvg("/nonexistent-dir/chart.svg"), Exception);
  EXPECT_THROW(C->SetDeviceScale(0), EInvalidGraphic);
  EXPECT_EQ(C->DrawMode().Scale, 1.0);
  // A good scale gives a picture of that many pixels per chart pixel.
  C->SaveImage(Out("chart@3x.png"), 3);
  EXPECT_EQ(QImage(QString::fromStdString(Out("chart@3x.png"))).size(), QSize(2100, 1560));
}

}  // namespace
}  // namespace zkw
