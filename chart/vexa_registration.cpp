// Registration of the chart's classes for form descriptions: the published
// properties in published order with their stored defaults.
#include "chart/chart_settings.h"
#include "chart/vexa.h"
#include "platform/properties.h"

namespace zkw {

namespace {

template <typename C>
void RegisterScalePropsCommon(TClassRegistrar<C>&& R) {
  const TScaleLook Defaults = TScaleProps::DefaultLook();
  R.String("Caption", &C::Caption, &C::SetCaption, Defaults.Caption)
      .Int("CaptionPosX", &C::CaptionPosX, &C::SetCaptionPosX, Defaults.CaptionPosX)
      .Int("CaptionPosY", &C::CaptionPosY, &C::SetCaptionPosY, Defaults.CaptionPosY)
      .Enum("CaptionAlignment", &C::CaptionAlignment, &C::SetCaptionAlignment, AlignmentNames, Defaults.CaptionAlignment)
      .Enum("CaptionAnchor", &C::CaptionAnchor, &C::SetCaptionAnchor, ScaleUnitAnchorNames, Defaults.CaptionAnchor)
      .Color("ColorScale", &C::ColorScale, &C::SetColorScale, Defaults.ColorScale)
      .Object("DateFormat", [](C& P) -> TDTLabel& { return P.DateFormat(); })
      .Int("DecPlaces", &C::DecPlaces, &C::SetDecPlaces, Defaults.DecPlaces)
      .Object("Font", [](C& P) -> TFont& { return P.Font(); })
      .Bool("Logarithmic", &C::Logarithmic, &C::SetLogarithmic, Defaults.Logarithmic)
      .Enum("LabelType", &C::LabelType, &C::SetLabelType, FigTypeNames, Defaults.LabelType)
      .Int("MinTicks", &C::MinTicks, &C::SetMinTicks, Defaults.MinTicks)
      .Double("MinRange", &C::MinRange, &C::SetMinRange, 1e-10)
      .Enum("MouseAction", &C::MouseAction, &C::SetMouseAction, MouseActModeNames, maNone)
      .Double("RangeLow", &C::RangeLow, &C::SetRangeLow, Defaults.RangeLow)
      .Double("RangeHigh", &C::RangeHigh, &C::SetRangeHigh, Defaults.RangeHigh)
      .Bool("ShortTicks", &C::ShortTicks, &C::SetShortTicks, Defaults.ShortTicks)
      .String("ScaleInscript", &C::ScaleInscript, &C::SetScaleInscript, Defaults.ScaleInscript)
      .Int("ScalePos", &C::ScalePos, &C::SetScalePos, 0)
      .String("UserTickText", &C::UserTickText, &C::SetUserTickText, Defaults.UserTickText)
      .Bool("Visible", &C::Visible, &C::SetVisible, false)
      .Event("OnChange", &C::OnChange);
}

bool RegisterVexaClasses() {
  RegisterScalePropsCommon(RegisterClass<TScaleProps>("TScaleProps", "TPersistent"));
  RegisterClass<TScalePropsHoriz>("TScalePropsHoriz", "TScaleProps")
      .Enum("ScaleLocation", &TScalePropsHoriz::ScaleLocation, &TScalePropsHoriz::SetScaleLocation,
            ScaleLocationHorizNames, slBottom);
  RegisterClass<TScalePropsVert>("TScalePropsVert", "TScaleProps")
      .Enum("ScaleLocation", &TScalePropsVert::ScaleLocation, &TScalePropsVert::SetScaleLocation,
            ScaleLocationVertNames, slLeft);

  RegisterClass<TBakGndImg>("TBakGndImg", "TPersistent")
      .String("Name", &TBakGndImg::Name, &TBakGndImg::SetName, "")
      .Bool("IncludePath", &TBakGndImg::IncludePath, &TBakGndImg::SetIncludePath, false)
      .Enum("FillMode", &TBakGndImg::FillMode, &TBakGndImg::SetFillMode, BkgFillNames, bfStretch)
      .Enum("AreaMode", &TBakGndImg::AreaMode, &TBakGndImg::SetAreaMode, BGAreaModeNames, bamNone)
      .Color("AreaColor", &TBakGndImg::AreaColor, &TBakGndImg::SetAreaColor, 14540253)
      .Double("AreaLeft", &TBakGndImg::AreaLeft, &TBakGndImg::SetAreaLeft, -1.0)
      .Double("AreaRight", &TBakGndImg::AreaRight, &TBakGndImg::SetAreaRight, 1.0)
      .Double("AreaTop", &TBakGndImg::AreaTop, &TBakGndImg::SetAreaTop, 1.0)
      .Double("AreaBottom", &TBakGndImg::AreaBottom, &TBakGndImg::SetAreaBottom, -1.0);

  {
    auto R = RegisterClass<TJointLayers>("TJointLayers", "TPersistent");
#define ZKW_JOINT(NN, N)                                                                             \
  R.Int("L" #NN "xControlledBy", &TJointLayers::L##NN##xControlledBy, &TJointLayers::SetL##NN##xControlledBy, \
        N)                                                                                           \
      .Int("L" #NN "yControlledBy", &TJointLayers::L##NN##yControlledBy,                             \
           &TJointLayers::SetL##NN##yControlledBy, N);
    ZKW_JOINT(01, 1)
    ZKW_JOINT(02, 2)
    ZKW_JOINT(03, 3)
    ZKW_JOINT(04, 4)
    ZKW_JOINT(05, 5)
    ZKW_JOINT(06, 6)
    ZKW_JOINT(07, 7)
    ZKW_JOINT(08, 8)
    ZKW_JOINT(09, 9)
    ZKW_JOINT(10, 10)
    ZKW_JOINT(11, 11)
    ZKW_JOINT(12, 12)
    ZKW_JOINT(13, 13)
    ZKW_JOINT(14, 14)
    ZKW_JOINT(15, 15)
    ZKW_JOINT(16, 16)
#undef ZKW_JOINT
  }

  RegisterClass<TCustomVexa>("TCustomVexa", "TCustomControl");
  using V = TVexa;
  RegisterClass<TVexa>("TVexa", "TCustomVexa", [](TComponent* Owner) { return new TVexa(Owner); })
      .Int("AllocSize", &V::AllocSize, &V::SetAllocSize, TChartConduct{}.AllocSize)
      .Bool("AutoRedraw", &V::AutoRedraw, &V::SetAutoRedraw, TChartConduct{}.AutoRedraw)
      .Bool("AvoidDuplicateMarks", &V::AvoidDuplicateMarks, &V::SetAvoidDuplicateMarks, TPlotLook{}.AvoidDuplicateMarks)
      .Int("MinDupMarkDist", &V::MinDupMarkDist, &V::SetMinDupMarkDist, TPlotLook{}.MinDupMarkDist)
      .Int("MarginLeft", &V::MarginLeft, &V::SetMarginLeft, TFrameLook{}.MarginLeft)
      .Int("LRim", &V::LRim, &V::SetLRim, TFrameLook{}.MarginLeft)
      .Int("MarginRight", &V::MarginRight, &V::SetMarginRight, TFrameLook{}.MarginRight)
      .Int("RRim", &V::RRim, &V::SetRRim, TFrameLook{}.MarginRight)
      .Int("MarginTop", &V::MarginTop, &V::SetMarginTop, TFrameLook{}.MarginTop)
      .Int("TRim", &V::TRim, &V::SetTRim, TFrameLook{}.MarginTop)
      .Int("MarginBottom", &V::MarginBottom, &V::SetMarginBottom, TFrameLook{}.MarginBottom)
      .Int("BRim", &V::BRim, &V::SetBRim, TFrameLook{}.MarginBottom)
      .Int("ShadowWidth", &V::ShadowWidth, &V::SetShadowWidth, TFrameLook{}.ShadowWidth)
      .Enum("ShadowStyle", &V::ShadowStyle, &V::SetShadowStyle, ShadowStyleNames, TFrameLook{}.ShadowStyle)
      .Color("ShadowColor", &V::ShadowColor, &V::SetShadowColor, TFrameLook{}.ShadowColor)
      .Color("ShadowBakColor", &V::ShadowBakColor, &V::SetShadowBakColor, TFrameLook{}.ShadowBakColor)
      .Object("BackGroundImg", [](V& C) -> TBakGndImg& { return C.BackGroundImg(); })
      .Int("ClassDefault", &V::ClassDefault, &V::SetClassDefault, TChartConduct{}.ClassDefault)
      .Enum("GridStyle", &V::GridStyle, &V::SetGridStyle, GridStyleTypeNames, TPlotLook{}.GridStyle)
      .Double("GridDx", &V::GridDx, &V::SetGridDx, TPlotLook{}.GridDx)
      .Double("GridDy", &V::GridDy, &V::SetGridDy, TPlotLook{}.GridDy)
      .Color("GridColor", &V::GridColor, &V::SetGridColor, TPlotLook{}.GridColor)
      .Bool("Isometric", &V::Isometric, &V::SetIsometric, TChartConduct{}.Isometric)
      .Color("DataColor", &V::DataColor, &V::SetDataColor, TChartConduct{}.DataColor)
      .Enum("PenStyle", &V::PenStyle, &V::SetPenStyle, PenStyleNames, TChartConduct{}.PenStyle)
      .Int("LineWidth", &V::LineWidth, &V::SetLineWidth, TPlotLook{}.LineWidth)
      .Color("FillColor", &V::FillColor, &V::SetFillColor, TChartConduct{}.FillColor)
      .Color("TextBkColor", &V::TextBkColor, &V::SetTextBkColor, TChartConduct{}.FillColor)
      .Color("ChartFrameColor", &V::ChartFrameColor, &V::SetChartFrameColor, TPlotLook{}.ChartFrameColor)
      .Color("ChartColor", &V::ChartColor, &V::SetChartColor, TPlotLook{}.ChartColor)
      .Color("WindColor", &V::WindColor, &V::SetWindColor, TFrameLook{}.WindColor)
      .Object("JointLayers", [](V& C) -> TJointLayers& { return C.JointLayers(); })
      .String("Caption", &V::Caption, &V::SetCaption, TFrameLook{}.Caption)
      .Int("CaptionPosX", &V::CaptionPosX, &V::SetCaptionPosX, TFrameLook{}.CaptionPosX)
      .Int("CaptionPosY", &V::CaptionPosY, &V::SetCaptionPosY, TFrameLook{}.CaptionPosY)
      .Enum("CaptionAlignment", &V::CaptionAlignment, &V::SetCaptionAlignment, AlignmentNames, TFrameLook{}.CaptionAlignment)
      .Enum("CaptionAnchorHoriz", &V::CaptionAnchorHoriz, &V::SetCaptionAnchorHoriz, CaptionAnchorHorizNames, TFrameLook{}.CaptionAnchorHoriz)
      .Enum("CaptionAnchorVert", &V::CaptionAnchorVert, &V::SetCaptionAnchorVert, CaptionAnchorVertNames, TFrameLook{}.CaptionAnchorVert)
      .Int("CaptionTrim", &V::CaptionTrim, &V::SetCaptionTrim, TFrameLook{}.CaptionTrim)
      .Color("MouseTraceColor", &V::MouseTraceColor, &V::SetMouseTraceColor, TChartConduct{}.MouseTraceColor)
      .Bool("MouseTraceInvert", &V::MouseTraceInvert, &V::SetMouseTraceInvert, TChartConduct{}.MouseTraceInvert)
      .Object("CrossHair1", [](V& C) -> TCrossHair& { return C.CrossHair1(); })
      .Object("CrossHair2", [](V& C) -> TCrossHair& { return C.CrossHair2(); })
      .Object("CrossHair3", [](V& C) -> TCrossHair& { return C.CrossHair3(); })
      .Object("CrossHair4", [](V& C) -> TCrossHair& { return C.CrossHair4(); })
      .Enum("MouseAction", &V::MouseAction, &V::SetMouseAction, MouseActModeNames, TChartConduct{}.MouseAction)
      .Bool("MouseCursorFixed", &V::MouseCursorFixed, &V::SetMouseCursorFixed, TChartConduct{}.MouseCursorFixed)
      .Bool("WheelZoom", &V::WheelZoom, &V::SetWheelZoom, TChartConduct{}.WheelZoom)
      .Bool("Antialiased", &V::Antialiased, &V::SetAntialiased, false)
      .Double("PanGridDx", &V::PanGridDx, &V::SetPanGridDx, TChartConduct{}.PanGridDx)
      .Double("PanGridDy", &V::PanGridDy, &V::SetPanGridDy, TChartConduct{}.PanGridDy)
      .Double("PanGridOffsX", &V::PanGridOffsX, &V::SetPanGridOffsX, TChartConduct{}.PanGridOffsX)
      .Double("PanGridOffsY", &V::PanGridOffsY, &V::SetPanGridOffsY, TChartConduct{}.PanGridOffsY)
      .Object("Scale1X", [](V& C) -> TScalePropsHoriz& { return C.Scale1X(); })
      .Object("Scale2X", [](V& C) -> TScalePropsHoriz& { return C.Scale2X(); })
      .Object("Scale3X", [](V& C) -> TScalePropsHoriz& { return C.Scale3X(); })
      .Object("Scale4X", [](V& C) -> TScalePropsHoriz& { return C.Scale4X(); })
      .Object("Scale1Y", [](V& C) -> TScalePropsVert& { return C.Scale1Y(); })
      .Object("Scale2Y", [](V& C) -> TScalePropsVert& { return C.Scale2Y(); })
      .Object("Scale3Y", [](V& C) -> TScalePropsVert& { return C.Scale3Y(); })
      .Object("Scale4Y", [](V& C) -> TScalePropsVert& { return C.Scale4Y(); })
      .Enum("StandardLayout", &V::StandardLayout, &V::SetStandardLayout, vxLayoutNames)
      .Stored(false)
      .Component<TCustomVexa>("UseDataOf", static_cast<TCustomVexa* (V::*)() const>(&V::UseDataOf),
                              &V::SetUseDataOf, "TCustomVexa")
      .Object("TextFont", [](V& C) -> TFont& { return C.TextFont(); })
      .Set("TextFontStyle", &V::TextFontStyle, &V::SetTextFontStyle, FontStyleNames, TFontStyles{})
      .Enum("TextBkStyle", &V::TextBkStyle, &V::SetTextBkStyle, TextBkgNames, TChartConduct{}.TextBkStyle)
      .Enum("TextAlignment", &V::TextAlignment, &V::SetTextAlignment, AlignmentNames, TChartConduct{}.TextAlignment)
      .Event("OnMouseMoveInChart", &V::OnMouseMoveInChart)
      .Event("OnZoomPan", &V::OnZoomPan)
      .Event("OnRubberBand", &V::OnRubberBand)
      .Event("OnSelectRect", &V::OnSelectRect)
      .Event("OnBeforeCrossHairMove", &V::OnBeforeCrossHairMove)
      .Event("OnCrossHairMove", &V::OnCrossHairMove)
      .Event("OnTextLabelMove", &V::OnTextLabelMove)
      .Event("OnScaleTickDrawn", &V::OnScaleTickDrawn)
      .Event("OnBeforeTickLabel", &V::OnBeforeTickLabel)
      .Event("OnBeforeRenderData", &V::OnBeforeRenderData)
      .Event("OnDataRendered", &V::OnDataRendered)
      .Event("OnScalesRendered", &V::OnScalesRendered)
      .Event("OnBeforeRenderChartItem", &V::OnBeforeRenderChartItem)
      .Event("OnBeforeRenderText", &V::OnBeforeRenderText);
  return true;
}

}  // namespace

// Other files' static objects call this while the program starts, in an
// order no one controls; the function-local flag registers on the first
// call, whichever file makes it.
bool VexaClassesRegistered() {
  static const bool Registered = RegisterVexaClasses();
  return Registered;
}

namespace {
// Registers at start-up even when no other file has asked yet.
[[maybe_unused]] const bool RegisteredAtStart = VexaClassesRegistered();
}  // namespace

}  // namespace zkw
