// Registration of the chart's classes for form descriptions: the published
// properties in published order with their stored defaults.
#include "chart/vexa.h"
#include "platform/properties.h"

namespace zkw {

namespace {

template <typename C>
void RegisterScalePropsCommon(TClassRegistrar<C>&& R) {
  R.String("Caption", &C::Caption, &C::SetCaption, "")
      .Int("CaptionPosX", &C::CaptionPosX, &C::SetCaptionPosX, 0)
      .Int("CaptionPosY", &C::CaptionPosY, &C::SetCaptionPosY, 0)
      .Enum("CaptionAlignment", &C::CaptionAlignment, &C::SetCaptionAlignment, AlignmentNames, taCenter)
      .Enum("CaptionAnchor", &C::CaptionAnchor, &C::SetCaptionAnchor, ScaleUnitAnchorNames, uaSclTopLft)
      .Color("ColorScale", &C::ColorScale, &C::SetColorScale, clBlack)
      .Object("DateFormat", [](C& P) -> TDTLabel& { return P.DateFormat(); })
      .Int("DecPlaces", &C::DecPlaces, &C::SetDecPlaces, -2)
      .Object("Font", [](C& P) -> TFont& { return P.Font(); })
      .Bool("Logarithmic", &C::Logarithmic, &C::SetLogarithmic, false)
      .Enum("LabelType", &C::LabelType, &C::SetLabelType, FigTypeNames, ftNum)
      .Int("MinTicks", &C::MinTicks, &C::SetMinTicks, 3)
      .Double("MinRange", &C::MinRange, &C::SetMinRange, 1e-10)
      .Enum("MouseAction", &C::MouseAction, &C::SetMouseAction, MouseActModeNames, maNone)
      .Double("RangeLow", &C::RangeLow, &C::SetRangeLow, 0.0)
      .Double("RangeHigh", &C::RangeHigh, &C::SetRangeHigh, 1.0)
      .Bool("ShortTicks", &C::ShortTicks, &C::SetShortTicks, true)
      .String("ScaleInscript", &C::ScaleInscript, &C::SetScaleInscript, "")
      .Int("ScalePos", &C::ScalePos, &C::SetScalePos, 0)
      .String("UserTickText", &C::UserTickText, &C::SetUserTickText, "")
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
      .Int("AllocSize", &V::AllocSize, &V::SetAllocSize)
      .Bool("AutoRedraw", &V::AutoRedraw, &V::SetAutoRedraw)
      .Bool("AvoidDuplicateMarks", &V::AvoidDuplicateMarks, &V::SetAvoidDuplicateMarks)
      .Int("MinDupMarkDist", &V::MinDupMarkDist, &V::SetMinDupMarkDist)
      .Int("MarginLeft", &V::MarginLeft, &V::SetMarginLeft, 50)
      .Int("LRim", &V::LRim, &V::SetLRim, 50)
      .Int("MarginRight", &V::MarginRight, &V::SetMarginRight, 10)
      .Int("RRim", &V::RRim, &V::SetRRim, 10)
      .Int("MarginTop", &V::MarginTop, &V::SetMarginTop, 16)
      .Int("TRim", &V::TRim, &V::SetTRim, 16)
      .Int("MarginBottom", &V::MarginBottom, &V::SetMarginBottom, 32)
      .Int("BRim", &V::BRim, &V::SetBRim, 32)
      .Int("ShadowWidth", &V::ShadowWidth, &V::SetShadowWidth, 0)
      .Enum("ShadowStyle", &V::ShadowStyle, &V::SetShadowStyle, ShadowStyleNames)
      .Color("ShadowColor", &V::ShadowColor, &V::SetShadowColor)
      .Color("ShadowBakColor", &V::ShadowBakColor, &V::SetShadowBakColor)
      .Object("BackGroundImg", [](V& C) -> TBakGndImg& { return C.BackGroundImg(); })
      .Int("ClassDefault", &V::ClassDefault, &V::SetClassDefault)
      .Enum("GridStyle", &V::GridStyle, &V::SetGridStyle, GridStyleTypeNames)
      .Double("GridDx", &V::GridDx, &V::SetGridDx)
      .Double("GridDy", &V::GridDy, &V::SetGridDy)
      .Color("GridColor", &V::GridColor, &V::SetGridColor, 0)
      .Bool("Isometric", &V::Isometric, &V::SetIsometric)
      .Color("DataColor", &V::DataColor, &V::SetDataColor, 0)
      .Enum("PenStyle", &V::PenStyle, &V::SetPenStyle, PenStyleNames, psSolid)
      .Int("LineWidth", &V::LineWidth, &V::SetLineWidth, 1)
      .Color("FillColor", &V::FillColor, &V::SetFillColor, 12632256)
      .Color("TextBkColor", &V::TextBkColor, &V::SetTextBkColor, 12632256)
      .Color("ChartFrameColor", &V::ChartFrameColor, &V::SetChartFrameColor, 0)
      .Color("ChartColor", &V::ChartColor, &V::SetChartColor, 16777215)
      .Color("WindColor", &V::WindColor, &V::SetWindColor, clBtnFace)
      .Object("JointLayers", [](V& C) -> TJointLayers& { return C.JointLayers(); })
      .String("Caption", &V::Caption, &V::SetCaption)
      .Int("CaptionPosX", &V::CaptionPosX, &V::SetCaptionPosX)
      .Int("CaptionPosY", &V::CaptionPosY, &V::SetCaptionPosY)
      .Enum("CaptionAlignment", &V::CaptionAlignment, &V::SetCaptionAlignment, AlignmentNames)
      .Enum("CaptionAnchorHoriz", &V::CaptionAnchorHoriz, &V::SetCaptionAnchorHoriz, CaptionAnchorHorizNames)
      .Enum("CaptionAnchorVert", &V::CaptionAnchorVert, &V::SetCaptionAnchorVert, CaptionAnchorVertNames)
      .Int("CaptionTrim", &V::CaptionTrim, &V::SetCaptionTrim)
      .Color("MouseTraceColor", &V::MouseTraceColor, &V::SetMouseTraceColor)
      .Bool("MouseTraceInvert", &V::MouseTraceInvert, &V::SetMouseTraceInvert)
      .Object("CrossHair1", [](V& C) -> TCrossHair& { return C.CrossHair1(); })
      .Object("CrossHair2", [](V& C) -> TCrossHair& { return C.CrossHair2(); })
      .Object("CrossHair3", [](V& C) -> TCrossHair& { return C.CrossHair3(); })
      .Object("CrossHair4", [](V& C) -> TCrossHair& { return C.CrossHair4(); })
      .Enum("MouseAction", &V::MouseAction, &V::SetMouseAction, MouseActModeNames)
      .Bool("MouseCursorFixed", &V::MouseCursorFixed, &V::SetMouseCursorFixed)
      .Bool("WheelZoom", &V::WheelZoom, &V::SetWheelZoom, false)
      .Double("PanGridDx", &V::PanGridDx, &V::SetPanGridDx)
      .Double("PanGridDy", &V::PanGridDy, &V::SetPanGridDy)
      .Double("PanGridOffsX", &V::PanGridOffsX, &V::SetPanGridOffsX)
      .Double("PanGridOffsY", &V::PanGridOffsY, &V::SetPanGridOffsY)
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
      .Set("TextFontStyle", &V::TextFontStyle, &V::SetTextFontStyle, FontStyleNames)
      .Enum("TextBkStyle", &V::TextBkStyle, &V::SetTextBkStyle, TextBkgNames)
      .Enum("TextAlignment", &V::TextAlignment, &V::SetTextAlignment, AlignmentNames)
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
