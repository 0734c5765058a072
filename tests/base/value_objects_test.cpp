// Date/time format, crosshair and text label: defaults, setter rules, change
// notifications and copying.
#include <gtest/gtest.h>

#include "base/ZKW_zkwbase.h"

using namespace zkw;

namespace {

// Counts notifications and remembers who sent the last one.
struct TRecorder {
  int Count = 0;
  TObject* LastSender = nullptr;
  TNotifyEvent Handler() {
    return [this](TObject* Sender) {
      ++Count;
      LastSender = Sender;
    };
  }
};

}  // namespace

// ------------------------------------------------------------------ TDTLabel

TEST(DTLabel, StartsAllZero) {
  TDTLabel L;
  EXPECT_EQ(L.TimeFormat(), tfHHMMSS);
  EXPECT_EQ(L.DateSeparator(), '\0');
  EXPECT_EQ(L.TimeSeparator(), '\0');
  EXPECT_EQ(L.YearLength(), ylNone);
  EXPECT_FALSE(L.MonthName());
  EXPECT_EQ(L.DateOrder(), doMMDDYY);
  EXPECT_EQ(L.DateForTime(), dtNone);
  EXPECT_FALSE(L.OnChange);
}

TEST(DTLabel, SomeSettersReportOnlyChangesOthersEveryCall) {
  TDTLabel L;
  TRecorder R;
  L.OnChange = R.Handler();
  L.SetDateSeparator('.');
  EXPECT_EQ(R.Count, 1);
  EXPECT_EQ(R.LastSender, &L);
  L.SetDateSeparator('.');
  L.SetTimeSeparator('\0');
  L.SetYearLength(ylNone);
  L.SetMonthName(false);
  L.SetDateForTime(dtNone);
  EXPECT_EQ(R.Count, 1) << "unchanged values stay quiet";
  L.SetTimeFormat(tfHHMMSS);
  L.SetDateOrder(doMMDDYY);
  EXPECT_EQ(R.Count, 3) << "time format and date order report even unchanged";
  L.SetTimeSeparator(':');
  L.SetYearLength(ylYYYY);
  L.SetMonthName(true);
  L.SetDateForTime(dtOnePerDay);
  EXPECT_EQ(R.Count, 7);
  EXPECT_EQ(L.TimeSeparator(), ':');
  EXPECT_EQ(L.YearLength(), ylYYYY);
  EXPECT_TRUE(L.MonthName());
  EXPECT_EQ(L.DateForTime(), dtOnePerDay);
}

TEST(DTLabel, AssignCopiesValuesAndHandlerSilently) {
  TDTLabel A, B;
  TRecorder RA, RB;
  A.OnChange = RA.Handler();
  A.SetTimeFormat(tfAMPM);
  A.SetDateSeparator('/');
  A.SetTimeSeparator('h');
  A.SetYearLength(ylYY);
  A.SetMonthName(true);
  A.SetDateOrder(doYYMMDD);
  A.SetDateForTime(dtAllTicks);
  B.OnChange = RB.Handler();
  const int Before = RA.Count;
  B.Assign(A);
  EXPECT_EQ(RA.Count, Before);
  EXPECT_EQ(RB.Count, 0);
  EXPECT_EQ(B.TimeFormat(), tfAMPM);
  EXPECT_EQ(B.DateSeparator(), '/');
  EXPECT_EQ(B.TimeSeparator(), 'h');
  EXPECT_EQ(B.YearLength(), ylYY);
  EXPECT_TRUE(B.MonthName());
  EXPECT_EQ(B.DateOrder(), doYYMMDD);
  EXPECT_EQ(B.DateForTime(), dtAllTicks);
  B.SetTimeFormat(tfHHhMM);  // B now reports to A's receiver, with itself as sender
  EXPECT_EQ(RA.Count, Before + 1);
  EXPECT_EQ(RA.LastSender, &B);
  EXPECT_EQ(RB.Count, 0);
}

// ---------------------------------------------------------------- TCrossHair

TEST(CrossHair, StartsAllZero) {
  TCrossHair C;
  EXPECT_EQ(C.PosX(), 0.0);
  EXPECT_EQ(C.PosY(), 0.0);
  EXPECT_EQ(C.Color(), 0);
  EXPECT_EQ(C.Layer(), 0);
  EXPECT_EQ(C.Mode(), chOff);
  EXPECT_EQ(C.LineType(), psSolid);
  EXPECT_EQ(C.LineWid(), 0);
}

TEST(CrossHair, LayerIsClampedIntoOneToSixteen) {
  TCrossHair C;
  TRecorder R;
  C.OnChange = R.Handler();
  C.SetLayer(0);
  EXPECT_EQ(C.Layer(), 1);
  C.SetLayer(99);
  EXPECT_EQ(C.Layer(), 16);
  C.SetLayer(-2147483647 - 1);
  EXPECT_EQ(C.Layer(), 1);
  C.SetLayer(7);
  EXPECT_EQ(C.Layer(), 7);
  EXPECT_EQ(R.Count, 4) << "clamped values are stored and reported";
}

TEST(CrossHair, EverySetterReportsEvenWhenUnchanged) {
  TCrossHair C;
  TRecorder R;
  C.OnChange = R.Handler();
  C.SetPosX(0);
  C.SetPosY(0);
  C.SetColor(0);
  C.SetMode(chOff);
  C.SetLineType(psSolid);
  C.SetLineWid(0);
  EXPECT_EQ(R.Count, 6);
  EXPECT_EQ(R.LastSender, &C);
}

TEST(CrossHair, AssignMakesBothReportToTheSameReceiver) {
  TCrossHair A, B;
  TRecorder R;
  A.OnChange = R.Handler();
  A.SetPosX(1.5);
  A.SetPosY(-2.25);
  A.SetColor(clRed);
  A.SetLayer(3);
  A.SetMode(chCrossBox);
  A.SetLineType(psDashDotDot);
  A.SetLineWid(2);
  R.Count = 0;
  B.Assign(A);
  EXPECT_EQ(R.Count, 0) << "Assign raises no notification";
  EXPECT_EQ(B.PosX(), 1.5);
  EXPECT_EQ(B.PosY(), -2.25);
  EXPECT_EQ(B.Color(), clRed);
  EXPECT_EQ(B.Layer(), 3);
  EXPECT_EQ(B.Mode(), chCrossBox);
  EXPECT_EQ(B.LineType(), psDashDotDot);
  EXPECT_EQ(B.LineWid(), 2);
  A.SetMode(chBox);
  B.SetMode(chBox);
  EXPECT_EQ(R.Count, 2);
  EXPECT_EQ(R.LastSender, &B);
}

TEST(CrossHair, ForeignSourcesAreRefusedAndLeaveTheTargetUnchanged) {
  TCrossHair C;
  C.SetLayer(5);
  TDTLabel D;
  EXPECT_THROW(C.Assign(D), EConvertError);
  EXPECT_THROW(D.Assign(C), EConvertError);
  EXPECT_EQ(C.Layer(), 5);
  // Through the base class the copy still finds its way.
  TCrossHair Src;
  Src.SetLayer(9);
  const TPersistent& AsBase = Src;
  C.Assign(AsBase);
  EXPECT_EQ(C.Layer(), 9);
  Src.SetLayer(2);
  Src.AssignTo(C);
  EXPECT_EQ(C.Layer(), 2);
}

// ---------------------------------------------------------------- TTextLabel

TEST(TextLabel, StartsWithItsCreationDefaults) {
  TTextLabel L;
  EXPECT_EQ(L.PosX(), 100.0);
  EXPECT_EQ(L.PosY(), 10.0);
  EXPECT_EQ(L.Layer(), 1);
  EXPECT_EQ(L.ShadowDx(), 0);
  EXPECT_EQ(L.ShadowDy(), 0);
  EXPECT_EQ(L.ColorShadow(), 0x808080);
  EXPECT_EQ(L.Alignment(), taCenter);
  EXPECT_EQ(L.VerticalAlignment(), vaBottom);
  EXPECT_EQ(L.AttachToData(), tlamNone);
  EXPECT_EQ(L.ColorBkg(), 0xC0C0C0);
  EXPECT_EQ(L.ColorBorder(), 0);
  EXPECT_FALSE(L.Transparent());
  EXPECT_EQ(L.Caption(), "");
  EXPECT_EQ(L.Mode(), tlsimple);
  EXPECT_TRUE(L.Visible());
  EXPECT_EQ(L.ClassName(), "TTextLabel");
}

TEST(TextLabel, LayerOutsideOneToSixteenIsIgnoredSilently) {
  TTextLabel L;
  TRecorder R;
  L.OnChange = R.Handler();
  L.SetLayer(4);
  EXPECT_EQ(L.Layer(), 4);
  EXPECT_EQ(R.Count, 1);
  L.SetLayer(0);
  L.SetLayer(17);
  L.SetLayer(-1);
  EXPECT_EQ(L.Layer(), 4);
  EXPECT_EQ(R.Count, 1);
  L.SetLayer(16);
  EXPECT_EQ(L.Layer(), 16);
  EXPECT_EQ(R.Count, 2);
}

TEST(TextLabel, CaptionTurnsControlCharactersIntoBlanksButKeepsLineFeeds) {
  TTextLabel L;
  TRecorder R;
  L.OnChange = R.Handler();
  L.SetCaption("a\tb\r\nc");
  EXPECT_EQ(L.Caption(), "a b \nc");
  EXPECT_EQ(R.Count, 1);
  L.SetCaption(std::string("x\0y\x1f", 4));
  EXPECT_EQ(L.Caption(), "x y ");
  // Bytes of multi-byte characters are not control characters.
  L.SetCaption("\xC2\xB5m \xE2\x82\xAC");
  EXPECT_EQ(L.Caption(), "\xC2\xB5m \xE2\x82\xAC");
  L.SetCaption(L.Caption());
  EXPECT_EQ(R.Count, 4);
}

TEST(TextLabel, OtherSettersStoreAndReportEvenWhenUnchanged) {
  TTextLabel L;
  TRecorder R;
  L.OnChange = R.Handler();
  L.SetPosX(100.0);
  L.SetPosY(-3.5);
  L.SetAttachToData(tlamXOnly);
  L.SetColorBkg(clWhite);
  L.SetColorBorder(clBlue);
  L.SetColorShadow(clGray);
  L.SetShadowDx(3);
  L.SetShadowDy(-3);
  L.SetTransparent(true);
  L.SetAlignment(taRightJustify);
  L.SetVerticalAlignment(vaTop);
  L.SetMode(tlShadow);
  L.SetVisible(true);
  EXPECT_EQ(R.Count, 13);
  EXPECT_EQ(L.PosY(), -3.5);
  EXPECT_EQ(L.AttachToData(), tlamXOnly);
  EXPECT_EQ(L.ColorBorder(), clBlue);
  EXPECT_EQ(L.ShadowDy(), -3);
  EXPECT_TRUE(L.Transparent());
  EXPECT_EQ(L.Alignment(), taRightJustify);
  EXPECT_EQ(L.VerticalAlignment(), vaTop);
  EXPECT_EQ(L.Mode(), tlShadow);
}

TEST(TextLabel, SetFontCopiesIntoTheOwnedFont) {
  TTextLabel L;
  TRecorder R;
  L.OnChange = R.Handler();
  TFont F;
  F.SetName("Courier New");
  F.SetColor(clRed);
  F.SetStyle({fsBold, fsItalic});
  L.SetFont(F);
  EXPECT_EQ(R.Count, 1);
  EXPECT_NE(&L.Font(), &F);
  EXPECT_EQ(L.Font().Name(), "Courier New");
  EXPECT_EQ(L.Font().Color(), clRed);
  EXPECT_TRUE(L.Font().Style().Contains(fsItalic));
  F.SetColor(clBlue);  // the caller's font stays the caller's
  EXPECT_EQ(L.Font().Color(), clRed);
}

TEST(TextLabel, AssignCopiesEveryValueTheFontByValueAndTheHandler) {
  TTextLabel A, B;
  TRecorder R;
  A.OnChange = R.Handler();
  A.SetPosX(1);
  A.SetPosY(2);
  A.SetLayer(3);
  A.SetShadowDx(4);
  A.SetShadowDy(5);
  A.SetColorShadow(6);
  A.SetAlignment(taLeftJustify);
  A.SetVerticalAlignment(vaCenter);
  A.SetAttachToData(tlamBoth);
  A.SetColorBkg(7);
  A.SetColorBorder(8);
  A.SetTransparent(true);
  A.Font().SetName("Serif");
  A.SetCaption("two\nlines");
  A.SetMode(tlBox);
  A.SetVisible(false);
  R.Count = 0;
  B.Assign(A);
  EXPECT_EQ(R.Count, 0);
  EXPECT_EQ(B.PosX(), 1);
  EXPECT_EQ(B.PosY(), 2);
  EXPECT_EQ(B.Layer(), 3);
  EXPECT_EQ(B.ShadowDx(), 4);
  EXPECT_EQ(B.ShadowDy(), 5);
  EXPECT_EQ(B.ColorShadow(), 6);
  EXPECT_EQ(B.Alignment(), taLeftJustify);
  EXPECT_EQ(B.VerticalAlignment(), vaCenter);
  EXPECT_EQ(B.AttachToData(), tlamBoth);
  EXPECT_EQ(B.ColorBkg(), 7);
  EXPECT_EQ(B.ColorBorder(), 8);
  EXPECT_TRUE(B.Transparent());
  EXPECT_EQ(B.Font().Name(), "Serif");
  EXPECT_EQ(B.Caption(), "two\nlines");
  EXPECT_EQ(B.Mode(), tlBox);
  EXPECT_FALSE(B.Visible());
  A.Font().SetName("Mono");
  EXPECT_EQ(B.Font().Name(), "Serif") << "fonts are copied, not shared";
  B.SetVisible(true);
  EXPECT_EQ(R.Count, 1);
  EXPECT_EQ(R.LastSender, &B);
}

TEST(TextLabel, CopiesBetweenBaseAndPublishedClassAndRefusesStrangers) {
  TCustomTextLabel Base;
  Base.SetCaption("base");
  TTextLabel L;
  L.Assign(Base);
  EXPECT_EQ(L.Caption(), "base");
  TCrossHair C;
  EXPECT_THROW(L.Assign(C), EConvertError);
  EXPECT_EQ(L.Caption(), "base");
}
