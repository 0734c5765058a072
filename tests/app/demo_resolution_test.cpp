// The demo's chart, with its cursor mark on a data mark, through every path
// other than the exact raster: the page path at scale 1, the SVG read back,
// the PDF read back (where poppler is installed) and device scale 2. Its marks
// keep their place within one pixel (one logical pixel at scale 2).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/frmmain.h"
#include "chart/ZKW_vexa.h"
#include "tests/support/ink_match.h"

namespace zkw {
namespace {

using testing::TInk;

std::string Out(const std::string& Name) { return std::string(ZKW_TEST_OUTPUT_DIR) + "/demo_resolution_" + Name; }

void ExpectSameGeometry(const QImage& Exact, const QImage& Other, int Factor, int TextReach, const std::string& What) {
  SCOPED_TRACE(What);
  // The marks (navy data, the red cursor) within one pixel, all ink with the
  // texts within TextReach.
  const TInk Marks = TInk::Coloured(Exact).Enlarged(Factor), OtherMarks = TInk::Coloured(Other);
  ASSERT_EQ(Marks.Size(), OtherMarks.Size());
  EXPECT_GT(Marks.Count(), 500);
  EXPECT_EQ(Marks.Unmatched(OtherMarks, Factor), 0);
  EXPECT_EQ(OtherMarks.Unmatched(Marks, Factor), 0);
  const TInk All = TInk(Exact, {0xF0F0F0, 0xFFFFFF}).Enlarged(Factor), OtherAll(Other, {0xF0F0F0, 0xFFFFFF});
  EXPECT_EQ(All.Unmatched(OtherAll, TextReach), 0);
  EXPECT_EQ(OtherAll.Unmatched(All, TextReach), 0);
}

TEST(DemoResolution, TheDemoChartKeepsItsGeometryInEveryPath) {
  TForm1 Form(nullptr);
  Form.Show();
  TVexa& C = *Form.VX1;
  C.WMMouseMove(TShiftState{}, 240, 150);  // the cursor mark snaps to a data mark
  TBitmap Exact;
  PaintChartPicture(C, Exact, 1);

  TBitmap Page;
  Page.SetDrawMode({1, false, true});
  Page.SetSize(C.Width(), C.Height());
  PaintOnPicture(Page, [&](TBitmap& P) { PaintChartOnPage(C, P); });
  ExpectSameGeometry(Exact.Image(), Page.Image(), 1, 1, "page");

  C.SaveSvg(Out("demo.svg"));
  QSvgRenderer Svg(QString::fromStdString(Out("demo.svg")));
  ASSERT_TRUE(Svg.isValid());
  QImage Back(C.Width(), C.Height(), QImage::Format_RGB32);
  Back.fill(Qt::white);
  {
    QPainter P(&Back);
    Svg.render(&P);
  }
  ExpectSameGeometry(Exact.Image(), Back, 1, 2, "SVG");

  if (std::system("command -v pdftoppm >/dev/null 2>&1") == 0) {
    C.SavePdf(Out("demo.pdf"));
    const std::string Png = Out("demo_pdf");
    ASSERT_EQ(std::system(("pdftoppm -r 96 -aa no -aaVector no -png -singlefile '" + Out("demo.pdf") + "' '" + Png + "'").c_str()), 0);
    // The page is a whole number of points: its last row and column of
    // pixels may lie beyond the chart's.
    const QImage Read(QString::fromStdString(Png + ".png"));
    ExpectSameGeometry(Exact.Image(), Read.copy(0, 0, C.Width(), C.Height()), 1, 1, "PDF");
  }

  TBitmap Two;
  PaintChartPicture(C, Two, 2);
  ExpectSameGeometry(Exact.Image(), Two.Image(), 2, 4, "scale 2");
}

}  // namespace
}  // namespace zkw
