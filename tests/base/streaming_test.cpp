// The value objects in form descriptions: published order, enumerations by
// name, colours by name, faults reported with their path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ZKW_zkwbase.h"
#include "base/ZKW_zkwcolors.h"
#include "platform/formstream.h"
#include "platform/properties.h"

using namespace zkw;

namespace {

// A component that publishes one of each value object, as the chart and the
// scale controls do.
class THolder : public TComponent {
 public:
  explicit THolder(TComponent* Owner) : TComponent(Owner) {}
  std::string ClassName() const override { return "THolder"; }
  TDTLabel& DTLabel() { return FDTLabel; }
  TCrossHair& CrossHair() { return FCrossHair; }
  TTextLabel& TextLabel() { return FTextLabel; }

 private:
  TDTLabel FDTLabel;
  TCrossHair FCrossHair;
  TTextLabel FTextLabel;
};

const bool HolderRegistered = [] {
  RegisterClass<THolder>("THolder", "TComponent", [](TComponent* Owner) { return new THolder(Owner); })
      .Object("DTLabel", &THolder::DTLabel)
      .Object("CrossHair", &THolder::CrossHair)
      .Object("TextLabel", &THolder::TextLabel);
  return true;
}();

std::vector<std::string> PropertyNames(const char* ClassName) {
  std::vector<std::string> Names;
  const TClassInfo* Info = FindClassInfo(ClassName);
  if (!Info) return Names;
  for (const TPropInfo* P : Info->Properties()) Names.push_back(P->Name);
  return Names;
}

std::string Describe(const std::string& Properties) {
  return R"({ "object": "H", "class": "THolder", "properties": )" + Properties + " }";
}

}  // namespace

TEST(Registry, ValueObjectsPublishTheirPropertiesInOrder) {
  ASSERT_TRUE(HolderRegistered);
  EXPECT_EQ(PropertyNames("TDTLabel"),
            (std::vector<std::string>{"TimeFormat", "DateSeparator", "TimeSeparator", "YearLength", "MonthName",
                                      "DateOrder", "DateForTime", "OnChange"}));
  EXPECT_EQ(PropertyNames("TCrossHair"), (std::vector<std::string>{"PosX", "PosY", "Color", "Layer", "Mode",
                                                                   "LineType", "LineWid", "OnChange"}));
  EXPECT_EQ(PropertyNames("TTextLabel"),
            (std::vector<std::string>{"PosX", "PosY", "Layer", "AttachToData", "ColorBkg", "ColorBorder",
                                      "ColorShadow", "ShadowDx", "ShadowDy", "Transparent", "Alignment",
                                      "VerticalAlignment", "Font", "Mode", "Caption", "Visible", "OnChange"}));
  const TClassInfo* Label = FindClassInfo("TTextLabel");
  ASSERT_NE(Label, nullptr);
  EXPECT_TRUE(Label->InheritsFrom("TCustomTextLabel"));
}

TEST(Registry, EnumerationsAreWrittenByNameAndReadBack) {
  THolder Src(nullptr);
  Src.SetName("H");
  Src.TextLabel().SetMode(tlsimple);
  Src.TextLabel().SetAlignment(taRightJustify);
  Src.CrossHair().SetMode(chCrossBox);
  Src.CrossHair().SetLineType(psDashDotDot);
  Src.CrossHair().SetLayer(2);  // a new crosshair's layer 0 would come back clamped to 1
  Src.DTLabel().SetDateForTime(dtOnePerDay);
  Src.DTLabel().SetDateSeparator('.');
  const std::string Json = WriteComponentToJson(Src);
  for (const char* Name : {"\"tlsimple\"", "\"taRightJustify\"", "\"chCrossBox\"", "\"psDashDotDot\"",
                           "\"dtOnePerDay\"", "\"vaBottom\"", "\"tlamNone\""})
    EXPECT_NE(Json.find(Name), std::string::npos) << Name << " missing in " << Json;

  THolder Dst(nullptr);
  Dst.TextLabel().SetMode(tlShadow);
  ReadComponentFromJson(Dst, Json);
  EXPECT_EQ(Dst.TextLabel().Mode(), tlsimple);
  EXPECT_EQ(static_cast<int>(Dst.TextLabel().Mode()), 1);
  EXPECT_EQ(Dst.TextLabel().Alignment(), taRightJustify);
  EXPECT_EQ(Dst.CrossHair().Mode(), chCrossBox);
  EXPECT_EQ(Dst.CrossHair().LineType(), psDashDotDot);
  EXPECT_EQ(Dst.DTLabel().DateForTime(), dtOnePerDay);
  EXPECT_EQ(Dst.DTLabel().DateSeparator(), '.');
  EXPECT_EQ(WriteComponentToJson(Dst), Json) << "writing the read form gives the same text";
}

TEST(Registry, ColoursAreReadByTableNameInAnyCase) {
  THolder H(nullptr);
  ReadComponentFromJson(H, Describe(R"({ "TextLabel": { "ColorBkg": "AliceBlue", "ColorBorder": "clTomato",
                                                       "ColorShadow": "clBtnFace" },
                                         "CrossHair": { "Color": "darkgoldenrod4" } })"));
  EXPECT_EQ(H.TextLabel().ColorBkg(), 0xFFF8F0);
  EXPECT_EQ(H.TextLabel().ColorBorder(), 0x4763FF);
  EXPECT_EQ(H.TextLabel().ColorShadow(), clBtnFace);
  EXPECT_EQ(H.CrossHair().Color(), 0x08658B);
}

TEST(Registry, BadValuesAreRefusedWithTheirPath) {
  auto ReadError = [](const std::string& Properties) -> std::string {
    THolder H(nullptr);
    try {
      ReadComponentFromJson(H, Describe(Properties));
    } catch (const EReadError& E) {
      return E.what();
    }
    return "";
  };
  EXPECT_NE(ReadError(R"({ "TextLabel": { "Mode": "tlFancy" } })").find("TextLabel.Mode"), std::string::npos);
  EXPECT_NE(ReadError(R"({ "CrossHair": { "Color": "NoSuchColour" } })").find("CrossHair.Color"),
            std::string::npos);
  EXPECT_NE(ReadError(R"({ "DTLabel": { "DateSeparator": "ab" } })").find("DTLabel.DateSeparator"),
            std::string::npos);
  EXPECT_NE(ReadError(R"({ "CrossHair": { "Mode": 3 } })"), "");
}

TEST(Registry, ReadValuesGoThroughTheSetters) {
  THolder H(nullptr);
  H.TextLabel().SetLayer(5);
  ReadComponentFromJson(H, Describe(R"({ "TextLabel": { "Layer": 40, "Caption": "a\tb\nc" },
                                         "CrossHair": { "Layer": 40 } })"));
  EXPECT_EQ(H.TextLabel().Layer(), 5) << "a text label ignores a layer outside 1..16";
  EXPECT_EQ(H.TextLabel().Caption(), "a b\nc");
  EXPECT_EQ(H.CrossHair().Layer(), 16) << "a crosshair clamps it";
}
