// Property objects of the chart: setter rules of the axis objects, the
// background description and the layer-joining table with its refusals.
#include <gtest/gtest.h>

#include <limits>

#include "chart/scale_props.h"

namespace zkw {
namespace {

struct Counter {
  int Calls = 0;
  TNotifyEvent Handler() {
    return [this](TObject*) { ++Calls; };
  }
};

TEST(ScaleProps, DefaultsOfANewObject) {
  TScalePropsVert P;
  EXPECT_EQ(P.RangeLow(), 0.0);
  EXPECT_EQ(P.RangeHigh(), 1.0);
  EXPECT_EQ(P.MinRange(), 1e-10);
  EXPECT_EQ(P.DecPlaces(), -2);
  EXPECT_EQ(P.MinTicks(), 3);
  EXPECT_EQ(P.LabelType(), ftNum);
  EXPECT_EQ(P.ScaleType(), sctXT);
  EXPECT_EQ(P.ScaleLocation(), slLeft);
  EXPECT_FALSE(P.Visible());
  EXPECT_TRUE(P.ShortTicks());
  EXPECT_TRUE(P.Loading());
  EXPECT_EQ(P.DateFormat().DateSeparator(), '-');
  EXPECT_EQ(P.DateFormat().TimeSeparator(), ':');
  EXPECT_EQ(P.DateFormat().YearLength(), ylYYYY);
  EXPECT_TRUE(P.DateFormat().MonthName());
  EXPECT_EQ(P.DateFormat().DateOrder(), doDDMMYY);
  EXPECT_EQ(P.DateFormat().DateForTime(), dtOnePerDay);
}

TEST(ScaleProps, RangeEndsKeepAtLeastMinRangeApart) {
  TScalePropsHoriz P;
  Counter C;
  P.OnChange = C.Handler();
  P.SetRangeLow(5);  // a reversed range is allowed
  EXPECT_EQ(P.RangeLow(), 5.0);
  EXPECT_EQ(P.RangeHigh(), 1.0);
  P.SetRangeLow(1);
  EXPECT_EQ(P.RangeLow(), 1.0);
  EXPECT_EQ(P.RangeHigh(), 1.0000000001);
  P.SetRangeHigh(1);
  EXPECT_EQ(P.RangeHigh(), 1.0);
  EXPECT_EQ(P.RangeLow(), 1.0 - 1e-10);
  EXPECT_EQ(C.Calls, 3);
}

TEST(ScaleProps, MinRangeWidensANarrowerRangeAboutItsCentre) {
  TScalePropsHoriz P;
  Counter C;
  P.OnChange = C.Handler();
  P.SetMinRange(0.5);
  EXPECT_EQ(P.MinRange(), 0.5);
  EXPECT_EQ(C.Calls, 0);
  P.SetMinRange(10);
  EXPECT_EQ(P.RangeLow(), -4.5);
  EXPECT_EQ(P.RangeHigh(), 5.5);
  EXPECT_EQ(C.Calls, 1);
  P.SetMinRange(1e-101);
  P.SetMinRange(-3);
  EXPECT_EQ(P.MinRange(), 10.0);
  EXPECT_EQ(C.Calls, 1);
  // Non-numbers never reach the range.
  P.SetMinRange(std::numeric_limits<double>::infinity());
  P.SetRangeLow(std::numeric_limits<double>::quiet_NaN());
  P.SetRangeHigh(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(P.MinRange(), 10.0);
  EXPECT_EQ(P.RangeLow(), -4.5);
  EXPECT_EQ(P.RangeHigh(), 5.5);
  EXPECT_EQ(C.Calls, 1);
}

TEST(ScaleProps, DecPlacesLabelTypeAndLogarithmicRules) {
  TScalePropsHoriz P;
  P.SetDecPlaces(20);
  EXPECT_EQ(P.DecPlaces(), 12);
  P.SetDecPlaces(-7);
  EXPECT_EQ(P.DecPlaces(), -3);
  P.SetLabelType(ftTime);
  EXPECT_EQ(P.DecPlaces(), 4);
  // While loading, Logarithmic is taken unchecked.
  P.SetRangeLow(-1);
  P.SetLogarithmic(true);
  EXPECT_TRUE(P.Logarithmic());
  P.SetLabelType(ftDateTime);
  EXPECT_FALSE(P.Logarithmic());
  // After loading, a range reaching 0 or below keeps the axis linear.
  P.SetLoading(false);
  P.SetLabelType(ftNum);
  P.SetLogarithmic(true);
  EXPECT_FALSE(P.Logarithmic());
  P.SetRangeLow(1);
  P.SetRangeHigh(100);
  P.SetLogarithmic(true);
  EXPECT_TRUE(P.Logarithmic());
  // On a logarithmic axis a non-positive end is ignored.
  P.SetRangeLow(0);
  EXPECT_EQ(P.RangeLow(), 1.0);
  P.SetLogarithmic(false);
  EXPECT_FALSE(P.Logarithmic());
}

TEST(ScaleProps, ScalePosIsKeptPerOrientation) {
  TScalePropsVert V;
  V.SetScaleLocation(slLeft);
  EXPECT_EQ(V.ScaleType(), sctYR);
  V.SetScalePos(50);
  EXPECT_EQ(V.ScalePos(), 50);
  V.SetScaleType(sctXB);
  EXPECT_EQ(V.ScalePos(), 0);
  V.SetScaleLocation(slRight);
  EXPECT_EQ(V.ScaleType(), sctYL);
  EXPECT_EQ(V.ScalePos(), 50);
  TScalePropsHoriz H;
  H.SetScaleLocation(slTop);
  EXPECT_EQ(H.ScaleType(), sctXB);
  H.SetScaleLocation(slBottom);
  EXPECT_EQ(H.ScaleType(), sctXT);
}

TEST(ScaleProps, AssignCopiesValuesButNotMouseActionNorLocation) {
  TScalePropsHoriz Src, Dst;
  Counter C;
  Src.OnChange = C.Handler();
  Src.SetCaption("km");
  Src.SetRangeHigh(40);
  Src.SetScaleLocation(slTop);
  Src.SetMouseAction(maPan);
  Src.Font().SetName("Courier");
  Src.DateFormat().SetDateSeparator('/');
  const int Before = C.Calls;
  Dst.Assign(Src);
  EXPECT_EQ(C.Calls, Before);  // no notification
  EXPECT_EQ(Dst.Caption(), "km");
  EXPECT_EQ(Dst.RangeHigh(), 40.0);
  EXPECT_EQ(Dst.ScaleType(), sctXB);
  EXPECT_EQ(Dst.ScaleLocation(), slBottom);
  EXPECT_EQ(Dst.MouseAction(), maNone);
  EXPECT_EQ(Dst.Font().Name(), "Courier");
  EXPECT_EQ(Dst.DateFormat().DateSeparator(), '/');
  // The handler came along.
  Dst.SetVisible(true);
  EXPECT_EQ(C.Calls, Before + 1);
  // Font changes report as changes of the object.
  Dst.Font().SetSize(14);
  EXPECT_EQ(C.Calls, Before + 2);
  TBakGndImg Other;
  EXPECT_THROW(Dst.Assign(Other), EConvertError);
}

TEST(BakGndImg, NameKeepsItsPathOnlyWhenAsked) {
  TBakGndImg B;
  Counter C;
  B.OnChange = C.Handler();
  B.SetName("C:\\pics\\back.bmp");
  EXPECT_EQ(B.Name(), "back.bmp");
  B.SetIncludePath(true);
  B.SetName("C:\\pics\\back.bmp");
  EXPECT_EQ(B.Name(), "C:\\pics\\back.bmp");
  B.SetIncludePath(false);
  EXPECT_EQ(B.Name(), "back.bmp");
  B.SetIncludePath(true);
  EXPECT_EQ(B.Name(), "back.bmp");
  EXPECT_EQ(C.Calls, 5);
  EXPECT_EQ(B.AreaColor(), 14540253);
  EXPECT_EQ(B.FillMode(), bfStretch);
  EXPECT_EQ(B.AreaBottom(), -1.0);
}

TEST(JointLayers, JoinsOneLevelDeepAndRefusesTheRest) {
  TJointLayers J;
  Counter C;
  J.OnChange = C.Handler();
  J.SetL03xControlledBy(1);
  EXPECT_EQ(J.L03xControlledBy(), 1);
  EXPECT_EQ(C.Calls, 1);
  auto ExpectError = [](auto Action, const std::string& Message) {
    try {
      Action();
      ADD_FAILURE() << "no error for: " << Message;
    } catch (const EZKWVexaError& E) {
      EXPECT_EQ(E.Message(), Message);
    }
  };
  ExpectError([&] { J.SetL01xControlledBy(5); }, "Layer 1 is joined by other layers (3)");
  ExpectError([&] { J.SetL04xControlledBy(3); }, "Destination layer 3 is already joined");
  ExpectError([&] { J.SetL02xControlledBy(17); }, "Destination layer 17 is out of range");
  ExpectError([&] { J.SetL02xControlledBy(0); }, "Destination layer 0 is out of range");
  EXPECT_EQ(J.L01xControlledBy(), 1);
  EXPECT_EQ(J.L04xControlledBy(), 4);
  EXPECT_EQ(C.Calls, 1);
  J.SetL05xControlledBy(1);
  ExpectError([&] { J.SetL01xControlledBy(2); }, "Layer 1 is joined by other layers (3, 5)");
  // The y table is independent.
  J.SetL01yControlledBy(2);
  EXPECT_EQ(J.L01yControlledBy(), 2);
  // Freeing a layer reports nothing.
  const int Before = C.Calls;
  J.SetL03xControlledBy(3);
  EXPECT_EQ(J.L03xControlledBy(), 3);
  EXPECT_EQ(C.Calls, Before);
  TJointLayers Copy;
  Copy.Assign(J);
  EXPECT_EQ(Copy.L05xControlledBy(), 1);
  EXPECT_EQ(Copy.L01yControlledBy(), 2);
}

}  // namespace
}  // namespace zkw
