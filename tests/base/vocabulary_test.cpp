// Enumerations, their name tables and the error classes.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/ZKW_zkwbase.h"

using namespace zkw;

// Every enumerator must find its own spelling at its ordinal.
#define EXPECT_NAMED(Table, E) EXPECT_EQ(Table[E], #E)

TEST(NameTables, EveryEnumeratorFindsItsNameAtItsOrdinal) {
  EXPECT_NAMED(BkgFillNames, bfSimple);
  EXPECT_NAMED(BkgFillNames, bfTile);
  EXPECT_NAMED(ColorSchemeNames, csSystem);
  EXPECT_NAMED(FigTypeNames, ftNoFigs);
  EXPECT_NAMED(FigTypeNames, ftDateTime);
  EXPECT_NAMED(FigTypeNames, ftUserText);
  EXPECT_NAMED(ScaleTypeNames, sctXT);
  EXPECT_NAMED(ScaleTypeNames, sctYR);
  EXPECT_NAMED(VerticalAlignmentNames, vaBottom);
  EXPECT_NAMED(YearLengthNames, ylYYYY);
  EXPECT_NAMED(DateOrderNames, doYYMMDD);
  EXPECT_NAMED(DateForTimeNames, dtOnePerDay);
  EXPECT_NAMED(DateForTimeNames, dtAllTicks);
  EXPECT_NAMED(ShadowStyleNames, ssBox);
  EXPECT_NAMED(FrameStyleNames, fsNone);
  EXPECT_NAMED(FrameStyleNames, fsRaised);
  EXPECT_NAMED(FrameStyleNames, fsEngraved);
  EXPECT_NAMED(TimeFormatNames, tfAMPM);
  EXPECT_NAMED(CrossHModeNames, chCrossBox);
  EXPECT_NAMED(CrossHModeNames, chBox);
  EXPECT_NAMED(TxtLblAttachModeNames, tlamBoth);
  EXPECT_NAMED(TxtLblModeNames, tlsimple);
  EXPECT_NAMED(TxtLblModeNames, tlShadow);
  EXPECT_NAMED(MarkRectStateNames, msFinished);
  EXPECT_NAMED(ZoomWindStateNames, zsDrawWin);
  EXPECT_NAMED(ScaleUnitAnchorNames, uaSclBotRgt);
  EXPECT_NAMED(CaptionAnchorHorizNames, cahControlRight);
  EXPECT_NAMED(CaptionAnchorVertNames, cavChartBottom);
  EXPECT_NAMED(BGAreaModeNames, bamRectInv);
  EXPECT_NAMED(BGAreaModeNames, bamHStripeInv);
  EXPECT_NAMED(ScaleLocationHorizNames, slBottom);
  EXPECT_NAMED(ScaleLocationVertNames, slRight);
  EXPECT_NAMED(GridStyleTypeNames, gsHorizDotLines);
  EXPECT_NAMED(GridStyleTypeNames, gsDotLines);
  EXPECT_NAMED(vxLayoutNames, vxl_X1Bottom_Y2Both);
  EXPECT_NAMED(vxLayoutNames, vxl_X2Both_Y2Both);
  EXPECT_NAMED(TextBkgNames, tbSolid);
  EXPECT_NAMED(AlignmentNames, taCenter);
  EXPECT_NAMED(AlignmentNames, taRightJustify);
  EXPECT_NAMED(FontStyleNames, fsStrikeOut);
  EXPECT_NAMED(PenStyleNames, psDashDotDot);
  EXPECT_NAMED(PenStyleNames, psInsideFrame);
  for (int M = maNone; M <= maZoomPanColors; ++M) EXPECT_FALSE(MouseActModeNames[M].empty());
  EXPECT_NAMED(MouseActModeNames, maZoomDrag);
  EXPECT_NAMED(MouseActModeNames, maSelectRect);
  EXPECT_NAMED(MouseActModeNames, maZoomPanColors);
}

TEST(NameTables, MouseActionTableHasNineteenEntriesEndingInTheTraceAndColours) {
  EXPECT_EQ(MouseActModeNames.size(), 19u);
  EXPECT_EQ(MouseActModeNames[17], "maDrawMTrace");
  EXPECT_EQ(maDrawMTrace, 17);
  EXPECT_EQ(maZoomPanColors, 18);
  std::set<std::string_view> Unique(MouseActModeNames.begin(), MouseActModeNames.end());
  EXPECT_EQ(Unique.size(), 19u);
}

TEST(NameTables, LookupByNameIsExactAndRejectsUnknownNames) {
  EXPECT_EQ(EnumOrdinal(TxtLblModeNames, "tlsimple"), 1);
  EXPECT_EQ(EnumOrdinal(TxtLblModeNames, "tlSimple"), -1);  // stored names are exact
  EXPECT_EQ(EnumOrdinal(TxtLblModeNames, ""), -1);
  EXPECT_EQ(EnumName(TxtLblModeNames, 4), "tlShadow");
  EXPECT_TRUE(EnumName(TxtLblModeNames, 5).empty());
  EXPECT_TRUE(EnumName(TxtLblModeNames, -1).empty());
}

// One-byte storage; frame and font styles share the "fs" prefix but stay
// distinct types.
static_assert(sizeof(TMouseActMode) == 1 && sizeof(TBGAreaMode) == 1 && sizeof(TvxLayout) == 1);
static_assert(sizeof(TFrameStyle) == 1 && sizeof(GridStyleType) == 1 && sizeof(TCrossHMode) == 1);
static_assert(!std::is_same_v<decltype(fsNone), decltype(fsBold)>);

TEST(ErrorClasses, AHandlerForTheRootCatchesChartErrorsWithTheirMessage) {
  std::string Caught;
  try {
    throw EZKWVexaError("Logarithmic axis must not be negative.");
  } catch (const EZKWError& E) {
    Caught = E.Message();
  }
  EXPECT_EQ(Caught, "Logarithmic axis must not be negative.");
  EXPECT_THROW(throw EZKWError("x"), Exception);
  EXPECT_THROW(throw EZKWVexaError("x"), std::runtime_error);
}
