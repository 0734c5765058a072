// A chart in a form description: every value it holds comes back, also the
// ones its creation sets differently from the stored defaults, and a chart
// written on its own reads back without its internal scale controls.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "chart/ZKW_vexa.h"
#include "platform/formstream.h"
#include "platform/properties.h"

namespace zkw {
namespace {

std::string Written(const TVexa& C) { return WriteComponentToJson(C); }

TEST(VexaStreaming, ValuesOtherThanACreatedChartsComeBack) {
  TVexa A(nullptr);
  A.SetName("VX");
  // The standard layout made at creation sets 20, 20, 40 and shows the
  // first two scales; other margins and visibilities must be written.
  A.SetMarginRight(10);
  A.SetMarginTop(16);
  A.SetMarginBottom(32);
  A.Scale1X().SetVisible(false);
  A.Scale1Y().SetVisible(false);
  A.Scale2Y().SetVisible(true);
  // A setter that changes another value: ftTime sets DecPlaces 4, then
  // DecPlaces goes back to its stored default.
  A.Scale1X().SetLabelType(ftTime);
  A.Scale1X().SetDecPlaces(-2);
  const std::string Text = Written(A);

  TVexa B(nullptr);
  ReadComponentFromJson(B, Text);
  EXPECT_EQ(B.MarginRight(), 10);
  EXPECT_EQ(B.MarginTop(), 16);
  EXPECT_EQ(B.MarginBottom(), 32);
  EXPECT_FALSE(B.Scale1X().Visible());
  EXPECT_FALSE(B.Scale1Y().Visible());
  EXPECT_TRUE(B.Scale2Y().Visible());
  EXPECT_EQ(B.Scale1X().LabelType(), ftTime);
  EXPECT_EQ(B.Scale1X().DecPlaces(), -2);
  EXPECT_EQ(Written(B), Text);
}

// The stored defaults come from the same table as the values of a new chart,
// so the writer omits exactly what a reader's new chart already holds.
TEST(VexaStreaming, EveryStoredDefaultIsTheValueOfANewChart) {
  const TClassInfo* Vexa = FindClassInfo("TVexa");
  const TClassInfo* Base = FindClassInfo("TCustomVexa");
  ASSERT_TRUE(Vexa && Base);
  TVexa C(nullptr);
  int Checked = 0;
  for (const TPropInfo* P : Vexa->Properties()) {
    if (Base->FindProperty(P->Name) || P->Kind == pkObject || P->Kind == pkEvent || P->Kind == pkComponent) continue;
    if (P->IsStored && !P->IsStored(C)) continue;  // read, never written
    ASSERT_TRUE(P->IsDefault) << P->Name << " has no stored default";
    EXPECT_TRUE(P->IsDefault(C)) << P->Name;
    ++Checked;
  }
  EXPECT_GE(Checked, 45);
  EXPECT_EQ(Written(C).find("\"MarginRight\""), std::string::npos);
}

TEST(VexaStreaming, AChartWrittenAloneReadsBackEqual) {
  for (const bool Changed : {false, true}) {
    SCOPED_TRACE(Changed);
    TVexa A(nullptr);
    A.SetName("VX1");
    if (Changed) {
      A.SetChartColor(clYellow);
      A.Scale1X().SetRangeHigh(3300);
      A.Scale1X().SetCaption("x");
    }
    const std::string Text = Written(A);
    // The 32 internal scale controls are not children: the chart makes them.
    EXPECT_FALSE(nlohmann::ordered_json::parse(Text).contains("children")) << Text;
    TVexa B(nullptr);
    ASSERT_NO_THROW(ReadComponentFromJson(B, Text));
    EXPECT_EQ(B.ComponentCount(), A.ComponentCount());
    EXPECT_EQ(Written(B), Text);
    EXPECT_EQ(B.ChartColor(), A.ChartColor());
    EXPECT_EQ(B.Scale1X().RangeHigh(), A.Scale1X().RangeHigh());
    EXPECT_EQ(B.Scale1X().Caption(), A.Scale1X().Caption());
  }
}

}  // namespace
}  // namespace zkw
