// Form descriptions: the example form loaded headless, round trips of every
// property kind, the loading order, and every kind of bad input.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/formstream.h"
#include "platform/properties.h"
#include "framework_example.h"

using namespace zkw;
using namespace zkw::testing;

namespace {

std::string ReadText(const std::string& Path) {
  std::ifstream In(Path);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

// ------------------------------------------------------------ a class with every kind

enum TGadgetMode : std::uint8_t { gmAlpha, gmBeta, gmGamma };
const char* const GadgetModeNames[3] = {"gmAlpha", "gmBeta", "gmGamma"};
enum TGadgetOption : std::uint8_t { goShow, goHide, goBlink };
using TGadgetOptions = TSet<TGadgetOption>;
constexpr std::array<const char*, 3> GadgetOptionNames = {"goShow", "goHide", "goBlink"};
using TPingEvent = std::function<void(TObject* Sender, int& Count)>;

// Everything a gadget does while loading is logged here.
std::vector<std::string>* GLog = nullptr;
void Note(const TComponent& C, const std::string& What) {
  if (GLog) GLog->push_back(C.Name() + "." + What + (C.ComponentState().Contains(csLoading) ? " (loading)" : ""));
}

class TGadgetStyle : public TPersistent {
 public:
  std::string ClassName() const override { return "TGadgetStyle"; }
  double Low() const { return FLow; }
  void SetLow(double V) { FLow = V; }
  int Steps() const { return FSteps; }
  void SetSteps(int V) { FSteps = V; }
  TNotifyEvent OnChange;

 private:
  double FLow = 0;
  int FSteps = 3;
};

class TGadget : public TCustomControl {
 public:
  explicit TGadget(TComponent* AOwner) : TCustomControl(AOwner) {}
  ~TGadget() override { SetBuddy(nullptr); }
  std::string ClassName() const override { return "TGadget"; }
  std::uint8_t Level() const { return FLevel; }
  void SetLevel(std::uint8_t V) { FLevel = V, Note(*this, "Level"); }
  int Count() const { return FCount; }
  void SetCount(int V) { FCount = V, Note(*this, "Count"); }
  double Ratio() const { return FRatio; }
  void SetRatio(double V) {
    if (V < 0) throw EConvertError("Ratio must not be negative");
    FRatio = V, Note(*this, "Ratio");
  }
  bool Flag() const { return FFlag; }
  void SetFlag(bool V) { FFlag = V, Note(*this, "Flag"); }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& V) { FTitle = V, Note(*this, "Title"); }
  char Sep() const { return FSep; }
  void SetSep(char V) { FSep = V; }
  TGadgetMode Mode() const { return FMode; }
  void SetMode(TGadgetMode V) { FMode = V; }
  TGadgetOptions Options() const { return FOptions; }
  void SetOptions(TGadgetOptions V) { FOptions = V; }
  TColor Tint() const { return FTint; }
  void SetTint(TColor V) { FTint = V; }
  TGadgetStyle& Style() { return FStyle; }
  TGadget* Buddy() const { return FBuddy; }
  void SetBuddy(TGadget* V) {
    if (FBuddy) RemoveFreeNotification(FBuddy);
    FBuddy = V;
    if (FBuddy) FreeNotification(FBuddy);
    Note(*this, "Buddy=" + (V ? V->Name() : std::string("nil")));
  }
  void Loaded() override {
    TCustomControl::Loaded();
    Note(*this, "Loaded");
  }
  TPingEvent OnPing;

 protected:
  void Notification(TComponent* C, TOperation Op) override {
    TCustomControl::Notification(C, Op);
    if (Op == opRemove && C == FBuddy) FBuddy = nullptr;
  }

 private:
  std::uint8_t FLevel = 7;
  int FCount = 0;
  double FRatio = 0.5;
  bool FFlag = false;
  std::string FTitle;
  char FSep = '-';
  TGadgetMode FMode = gmAlpha;
  TGadgetOptions FOptions;
  TColor FTint = clBlack;
  TGadgetStyle FStyle;
  TGadget* FBuddy = nullptr;
};

class TGadgetForm : public TForm {
 public:
  explicit TGadgetForm(TComponent* AOwner) : TForm(AOwner) {
    PublishHandler("GadgetPing", this, &TGadgetForm::GadgetPing);
    PublishHandler("StyleChanged", this, &TGadgetForm::StyleChanged);
    PublishHandler("FormActivate", this, &TGadgetForm::FormActivate);
  }
  std::string ClassName() const override { return "TGadgetForm"; }
  void GadgetPing(TObject*, int& Count) { Count += 10; }
  void StyleChanged(TObject*) { ++StyleChanges; }
  void FormActivate(TObject*) {}
  void Loaded() override {
    TForm::Loaded();
    Note(*this, "Loaded");
  }
  TGadget* G1 = nullptr;
  TGadget* G2 = nullptr;
  int StyleChanges = 0;
};

const bool Registered = [] {
  RegisterClass<TGadgetStyle>("TGadgetStyle", "TPersistent")
      .Double("Low", &TGadgetStyle::Low, &TGadgetStyle::SetLow, 0.0)
      .Int("Steps", &TGadgetStyle::Steps, &TGadgetStyle::SetSteps)
      .Event("OnChange", &TGadgetStyle::OnChange);
  RegisterClass<TGadget>("TGadget", "TCustomControl", [](TComponent* Owner) { return new TGadget(Owner); })
      .Int("Level", &TGadget::Level, &TGadget::SetLevel, 7)
      .Int("Count", &TGadget::Count, &TGadget::SetCount)
      .Double("Ratio", &TGadget::Ratio, &TGadget::SetRatio, 0.5)
      .Bool("Flag", &TGadget::Flag, &TGadget::SetFlag, false)
      .String("Title", &TGadget::Title, &TGadget::SetTitle, "")
      .Char("Sep", &TGadget::Sep, &TGadget::SetSep, '-')
      .Enum("Mode", &TGadget::Mode, &TGadget::SetMode, GadgetModeNames, gmAlpha)
      .Set("Options", &TGadget::Options, &TGadget::SetOptions, GadgetOptionNames, TGadgetOptions{})
      .Color("Tint", &TGadget::Tint, &TGadget::SetTint, clBlack)
      .Object("Style", &TGadget::Style)
      .Event("OnPing", &TGadget::OnPing)
      .Component<TGadget>("Buddy", &TGadget::Buddy, &TGadget::SetBuddy, "TGadget");
  RegisterClass<TGadgetForm>("TGadgetForm", "TForm")
      .Field("G1", &TGadgetForm::G1)
      .Field("G2", &TGadgetForm::G2);
  return true;
}();

// A control whose constructor sets values other than its stored defaults,
// with a setter that changes another property, and an internal part.
class TDrifter : public TCustomControl {
 public:
  explicit TDrifter(TComponent* AOwner) : TCustomControl(AOwner), FPart(new TGadget(this)) {
    FPart->SetName("Part");
    FPart->SetSubComponent(true);
    FStyle.SetLow(2.5);
  }
  std::string ClassName() const override { return "TDrifter"; }
  int Mode() const { return FMode; }
  // Mode 2 starts at level 9.
  void SetMode(int V) {
    FMode = V;
    if (V == 2) FLevel = 9;
  }
  int Level() const { return FLevel; }
  void SetLevel(int V) { FLevel = V; }
  int Gap() const { return FGap; }
  void SetGap(int V) { FGap = V; }
  bool Shown() const { return FShown; }
  void SetShown(bool V) { FShown = V; }
  TGadgetStyle& Style() { return FStyle; }
  TGadget& Part() { return *FPart; }

 private:
  TGadget* FPart;  // owned as a component
  int FMode = 0;
  int FLevel = 5;
  int FGap = 20;       // stored default 10
  bool FShown = true;  // stored default false
  TGadgetStyle FStyle;
};

const bool DrifterRegistered = [] {
  RegisterClass<TDrifter>("TDrifter", "TCustomControl", [](TComponent* Owner) { return new TDrifter(Owner); })
      .Int("Mode", &TDrifter::Mode, &TDrifter::SetMode, 0)
      .Int("Level", &TDrifter::Level, &TDrifter::SetLevel, 5)
      .Int("Gap", &TDrifter::Gap, &TDrifter::SetGap, 10)
      .Bool("Shown", &TDrifter::Shown, &TDrifter::SetShown, false)
      .Object("Style", &TDrifter::Style);
  return true;
}();

// ------------------------------------------------------------ the example form

TEST(ExampleForm, LoadsHeadlessWithFieldsValuesAndHandlers) {
  TExampleForm F(nullptr);
  ASSERT_NE(F.Swatch1, nullptr);
  ASSERT_NE(F.Label1, nullptr);
  ASSERT_NE(F.BitBtn1, nullptr);
  EXPECT_EQ(F.Name(), "ExampleForm");
  EXPECT_EQ(F.ComponentCount(), 3);
  EXPECT_EQ(F.Swatch1->Parent(), &F);
  EXPECT_EQ(F.Swatch1->Owner(), &F);
  EXPECT_EQ(F.BorderStyle(), bsDialog);
  EXPECT_EQ(F.ClientWidth(), 240);
  EXPECT_EQ(F.ClientHeight(), 160);
  EXPECT_EQ(F.PixelsPerInch(), 120);
  EXPECT_FALSE(F.Scaled());
  EXPECT_EQ(F.Font().Height(), -13);
  EXPECT_EQ(F.Label1->Font().Height(), -13);  // taken from the form
  EXPECT_EQ(F.Label1->Width(), 90);            // AutoSize off: kept
  EXPECT_EQ(F.Swatch1->SwatchColor(), clNavy);
  EXPECT_EQ(F.BitBtn1->Caption(), "Exit");
  EXPECT_EQ(F.BitBtn1->TabOrder(), 0);
  for (int I = 0; I < F.ComponentCount(); ++I)
    EXPECT_FALSE(F.Components(I)->ComponentState().Contains(csLoading));

  // Shown headless: the windows exist, the form is activated, the control paints.
  F.Show();
  EXPECT_EQ(F.Activations, 1);
  ASSERT_TRUE(F.Swatch1->HandleAllocated());
  F.Swatch1->Update();
  EXPECT_EQ(F.Swatch1->Canvas().Pixels(60, 50), clNavy);
  EXPECT_EQ(F.Swatch1->Canvas().Pixels(0, 0), clWhite);

  // Mouse messages reach the form's handlers.
  F.Swatch1->WMMouseMove(TShiftState{ssShift}, 30, 40);
  ASSERT_EQ(F.Moves.size(), 1u);
  EXPECT_EQ(F.Moves[0].X, 30);
  EXPECT_EQ(F.Moves[0].Shift, TShiftState{ssShift});
  EXPECT_EQ(F.Label1->Caption(), "30, 40");
  F.BitBtn1->Click();
  EXPECT_EQ(F.ButtonClicks, 1);
  EXPECT_FALSE(F.Visible());
}

TEST(ExampleForm, WriteReadWriteGivesIdenticalTextWithoutDefaults) {
  TExampleForm F(nullptr);
  const std::string First = WriteComponentToJson(F);
  TExampleForm Again(nullptr, First);
  EXPECT_EQ(WriteComponentToJson(Again), First);

  // What the writer leaves out and how it names things.
  const auto Doc = nlohmann::ordered_json::parse(First);
  const auto& Props = Doc["properties"];
  EXPECT_FALSE(Props.contains("Color"));  // the stored default of a form
  EXPECT_EQ(Props["Font"]["Charset"], "DEFAULT_CHARSET");
  EXPECT_EQ(Props["Font"]["Color"], "clWindowText");
  EXPECT_FALSE(Props.contains("Width"));  // a form stores its client size
  EXPECT_FALSE(Props.contains("Visible"));
  EXPECT_EQ(Props["OnActivate"], "FormActivate");
  const auto& Swatch = Doc["children"][0];
  EXPECT_EQ(Swatch["object"], "Swatch1");
  EXPECT_FALSE(Swatch["properties"].contains("SwatchColor") && Swatch["properties"]["SwatchColor"] == "clRed");
  EXPECT_EQ(Swatch["properties"]["SwatchColor"], "clNavy");
  EXPECT_FALSE(Swatch["properties"].contains("Cursor"));
  EXPECT_FALSE(Swatch["properties"].contains("Font"));  // parent font
  EXPECT_FALSE(Swatch["properties"].contains("Visible"));
  EXPECT_EQ(Doc["children"][2]["properties"]["TabOrder"], 0);
}

// ------------------------------------------------------------ every kind

TEST(FormStream, EveryPropertyKindSurvivesARoundTrip) {
  TGadgetForm F(nullptr);
  F.SetName("GForm");
  auto* G1 = new TGadget(&F);
  G1->SetName("G1");
  G1->SetParent(&F);
  auto* G2 = new TGadget(&F);
  G2->SetName("G2");
  G2->SetParent(G1);  // nested control
  G1->SetLevel(255);
  G1->SetCount(-2147483647 - 1);
  G1->SetRatio(1e-10);
  G1->SetFlag(true);
  G1->SetTitle("Axis \"one\" \xC3\xA4");
  G1->SetSep(':');
  G1->SetMode(gmGamma);
  G1->SetOptions({goShow, goBlink});
  G1->SetTint(14540253);
  G1->Style().SetLow(-2.5);
  G1->SetBuddy(G2);
  G2->SetTint(clBtnFace);
  G2->SetRatio(std::numeric_limits<double>::infinity());
  G2->Style().SetLow(std::nan(""));

  // Events are written back only when bound by name through the reader.
  const std::string First = WriteComponentToJson(F);
  const auto Doc = nlohmann::ordered_json::parse(First);
  const auto& P1 = Doc["children"][0]["properties"];
  EXPECT_EQ(P1["Level"], 255);
  EXPECT_EQ(P1["Sep"], ":");
  EXPECT_EQ(P1["Mode"], "gmGamma");
  EXPECT_EQ(P1["Options"], nlohmann::ordered_json::array({"goShow", "goBlink"}));
  EXPECT_EQ(P1["Tint"], 14540253);
  EXPECT_EQ(P1["Buddy"], "G2");
  EXPECT_EQ(P1["Style"]["Steps"], 3);  // no stored default: always written
  EXPECT_EQ(Doc["children"][0]["children"][0]["object"], "G2");

  TGadgetForm R(nullptr);
  ReadComponentFromJson(R, First);
  ASSERT_NE(R.G1, nullptr);
  ASSERT_NE(R.G2, nullptr);
  EXPECT_EQ(R.G2->Parent(), R.G1);
  EXPECT_EQ(R.G1->Level(), 255);
  EXPECT_EQ(R.G1->Count(), -2147483647 - 1);
  EXPECT_EQ(R.G1->Ratio(), 1e-10);
  EXPECT_TRUE(R.G1->Flag());
  EXPECT_EQ(R.G1->Title(), G1->Title());
  EXPECT_EQ(R.G1->Sep(), ':');
  EXPECT_EQ(R.G1->Mode(), gmGamma);
  EXPECT_EQ(R.G1->Options(), (TGadgetOptions{goShow, goBlink}));
  EXPECT_EQ(R.G1->Tint(), 14540253);
  EXPECT_EQ(R.G1->Style().Low(), -2.5);
  EXPECT_EQ(R.G1->Buddy(), R.G2);
  EXPECT_EQ(R.G2->Tint(), clBtnFace);
  EXPECT_TRUE(std::isinf(R.G2->Ratio()));
  EXPECT_TRUE(std::isnan(R.G2->Style().Low()));
  EXPECT_EQ(WriteComponentToJson(R), First);
}

TEST(FormStream, EventsConnectToPublishedHandlersAndAreWrittenBack) {
  TGadgetForm F(nullptr);
  ReadComponentFromJson(F, R"({"object": "F", "class": "TGadgetForm",
    "properties": {"OnActivate": "FormActivate"},
    "children": [{"object": "G1", "class": "TGadget", "properties":
      {"OnPing": "GadgetPing", "Style": {"OnChange": "StyleChanged"}}}]})");
  ASSERT_TRUE(F.G1->OnPing);
  int Count = 1;
  F.G1->OnPing(F.G1, Count);
  EXPECT_EQ(Count, 11);
  ASSERT_TRUE(F.G1->Style().OnChange);
  F.G1->Style().OnChange(nullptr);
  EXPECT_EQ(F.StyleChanges, 1);
  const auto Doc = nlohmann::ordered_json::parse(WriteComponentToJson(F));
  EXPECT_EQ(Doc["properties"]["OnActivate"], "FormActivate");
  EXPECT_EQ(Doc["children"][0]["properties"]["OnPing"], "GadgetPing");
  EXPECT_EQ(Doc["children"][0]["properties"]["Style"]["OnChange"], "StyleChanged");
  // A handler cleared in code is not written any more.
  F.G1->OnPing = nullptr;
  EXPECT_FALSE(nlohmann::ordered_json::parse(WriteComponentToJson(F))["children"][0]["properties"].contains("OnPing"));
}

TEST(FormStream, LenientSpellingsThatStillMeanOneThing) {
  TGadgetForm F(nullptr);
  ReadComponentFromJson(F, R"({"object": "F", "class": "TGadgetForm", "children": [
      {"object": "G1", "class": "TGadget", "properties":
        {"mode": "GMBETA", "Tint": "$FF00000F", "Level": 0, "Ratio": 3}},
      {"object": "G2", "class": "TGadget", "properties": {"Tint": 4278190095, "Buddy": null, "Cursor": "crCross"}}]})");
  EXPECT_EQ(F.G1->Mode(), gmBeta);
  EXPECT_EQ(F.G1->Tint(), clBtnFace);
  EXPECT_EQ(F.G1->Ratio(), 3.0);
  EXPECT_EQ(F.G2->Tint(), clBtnFace);
  EXPECT_EQ(F.G2->Cursor(), crCross);
}

// ------------------------------------------------------------ loading order

TEST(FormStream, SettersRunInFileOrderWhileLoadingThenLoadedChildrenFirst) {
  std::vector<std::string> Log;
  GLog = &Log;
  TGadgetForm F(nullptr);
  ReadComponentFromJson(F, R"({"object": "F", "class": "TGadgetForm", "children": [
      {"object": "G1", "class": "TGadget", "properties":
        {"Title": "t", "Buddy": "G2", "Count": 4, "Level": 9, "Flag": true}},
      {"object": "G2", "class": "TGadget", "properties": {"Ratio": 2.0}}]})");
  GLog = nullptr;
  // Component references resolve once every child exists (G2 comes later).
  EXPECT_EQ(Log, (std::vector<std::string>{"G1.Title (loading)", "G1.Count (loading)", "G1.Level (loading)",
                                           "G1.Flag (loading)", "G2.Ratio (loading)", "G1.Buddy=G2 (loading)",
                                           "G1.Loaded", "G2.Loaded", "F.Loaded"}));
  EXPECT_EQ(F.G1->Buddy(), F.G2);
  delete F.G2;  // the reference and the form's field are dropped with it
  EXPECT_EQ(F.G1->Buddy(), nullptr);
  EXPECT_EQ(F.G2, nullptr);
}

// ------------------------------------------------------------ bad input

struct BadCase {
  const char* Json;
  const char* Message;  // the error message starts with this
};

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, RaisesANamedErrorAndLeavesNoHalfBuiltForm) {
  TGadgetForm F(nullptr);
  try {
    ReadComponentFromJson(F, GetParam().Json);
    FAIL() << "no error for " << GetParam().Json;
  } catch (const EReadError& E) {
    EXPECT_EQ(std::string(E.what()).rfind(GetParam().Message, 0), 0u)
        << "message: " << E.what() << "\nexpected start: " << GetParam().Message;
  }
  EXPECT_EQ(F.ComponentCount(), 0);
  EXPECT_EQ(F.G1, nullptr);
  EXPECT_EQ(F.G2, nullptr);
  EXPECT_FALSE(F.OnActivate);
  EXPECT_FALSE(F.ComponentState().Contains(csLoading));
  EXPECT_EQ(F.ControlCount(), 0);
}

#define FORM(children) R"({"object": "F", "class": "TGadgetForm", "properties": {"OnActivate": "FormActivate"}, "children": [)" children "]}"
#define G1(props) R"({"object": "G1", "class": "TGadget", "properties": {)" props "}}"

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        BadCase{"{\"object\": ", "invalid JSON"}, BadCase{"[1, 2]", "expected a component description"},
        BadCase{R"({"object": "F", "class": "TOtherForm"})", "unknown class TOtherForm"},
        BadCase{R"({"object": "F", "class": "TForm"})", "the description holds a TForm, the form is a TGadgetForm"},
        BadCase{R"({"object": "F", "class": "TGadgetForm", "extra": 1})", "unknown key \"extra\""},
        BadCase{FORM(R"({"object": "G1", "class": "TNoSuchClass"})"), "G1: unknown class TNoSuchClass"},
        BadCase{FORM(R"({"object": "G1", "class": "TGadgetStyle"})"), "G1: TGadgetStyle is not a component class"},
        BadCase{FORM(G1(R"("Nope": 1)")), "G1.Nope: unknown property of TGadget"},
        BadCase{FORM(G1(R"("Count": "many")")), "G1.Count: expected an integer"},
        BadCase{FORM(G1(R"("Count": 1.5)")), "G1.Count: expected an integer"},
        BadCase{FORM(G1(R"("Count": 2147483648)")), "G1.Count: 2147483648 is out of range -2147483648..2147483647"},
        BadCase{FORM(G1(R"("Level": 256)")), "G1.Level: 256 is out of range 0..255"},
        BadCase{FORM(G1(R"("Level": -1)")), "G1.Level: -1 is out of range 0..255"},
        BadCase{FORM(G1(R"("Level": 18446744073709551615)")), "G1.Level: 18446744073709551615 is out of range"},
        BadCase{FORM(G1(R"("Style": {"Low": "low"})")), "G1.Style.Low: expected a number"},
        BadCase{FORM(G1(R"("Style": 5)")), "G1.Style: expected an object"},
        BadCase{FORM(G1(R"("Style": {"High": 1})")), "G1.Style.High: unknown property of TGadgetStyle"},
        BadCase{FORM(G1(R"("Flag": 1)")), "G1.Flag: expected true or false"},
        BadCase{FORM(G1(R"("Title": 7)")), "G1.Title: expected a string"},
        BadCase{FORM(G1(R"("Sep": "ab")")), "G1.Sep: expected a single character"},
        BadCase{FORM(G1(R"("Mode": "gmDelta")")), "G1.Mode: unknown enumerator gmDelta"},
        BadCase{FORM(G1(R"("Mode": 1)")), "G1.Mode: expected an enumerator name"},
        BadCase{FORM(G1(R"("Options": ["goShow", "goSing"])")), "G1.Options: unknown enumerator goSing"},
        BadCase{FORM(G1(R"("Options": "goShow")")), "G1.Options: expected a list of names"},
        BadCase{FORM(G1(R"("Tint": "clRedish")")), "G1.Tint: unknown colour clRedish"},
        BadCase{FORM(G1(R"("Tint": 4294967296)")), "G1.Tint: 4294967296 is out of range for a colour"},
        BadCase{FORM(G1(R"("Cursor": "crPointy")")), "G1.Cursor: unknown identifier crPointy"},
        BadCase{FORM(G1(R"("OnPing": "Missing")")), "G1.OnPing: TGadgetForm has no handler named Missing"},
        BadCase{FORM(G1(R"("OnPing": "FormActivate")")), "G1.OnPing: handler FormActivate does not fit the event"},
        BadCase{FORM(G1(R"("Buddy": "Nobody")")), "G1.Buddy: unknown component Nobody"},
        BadCase{FORM(G1(R"("Buddy": "F")")), "G1.Buddy: F is not a TGadget"},
        BadCase{FORM(G1(R"("Ratio": -1)")), "G1.Ratio: Ratio must not be negative"},
        BadCase{FORM(G1("") "," G1("")), "G1: a component of this name exists already"},
        BadCase{FORM(R"({"object": "9x", "class": "TGadget"})"), "9x: \"9x\" is not a valid component name"},
        BadCase{FORM(R"({"object": "G1", "class": "TGadget", "children": [{"object": "G2", "class": "TGadget",
                   "properties": {"Level": true}}]})"),
                "G2.Level: expected an integer"},
        BadCase{FORM(R"({"object": "G2", "class": "TLabel"})"), "G2: the form's field G2 cannot hold a TLabel"}));

TEST(FormStream, DeepNestingIsRefusedNotRecursedInto) {
  std::string Deep = R"({"object": "F", "class": "TGadgetForm", "children": [)";
  for (int I = 0; I < 200; ++I) Deep += R"({"object": "C)" + std::to_string(I) + R"(", "class": "TGadget", "children": [)";
  for (int I = 0; I <= 200; ++I) Deep += "]}";
  TGadgetForm F(nullptr);
  EXPECT_THROW(ReadComponentFromJson(F, Deep), EReadError);
  EXPECT_EQ(F.ComponentCount(), 0);
}

TEST(FormStream, TextThatIsNotUtf8CannotBeWrittenAndSaysSo) {
  TGadgetForm F(nullptr);
  auto* G = new TGadget(&F);
  G->SetName("G1");
  G->SetTitle("\xFF");
  EXPECT_THROW(WriteComponentToJson(F), Exception);
}

TEST(FormStream, MissingFileIsAReadingError) {
  TGadgetForm F(nullptr);
  EXPECT_THROW(ReadComponentFromFile(F, "/nonexistent/form.json"), EReadError);
}

TEST(FormStream, ExampleFileOnDiskReadsLikeItsText) {
  TExampleForm F(nullptr, ReadText(ExampleFormPath()));
  EXPECT_EQ(F.Caption(), "Example");
}

TEST(FormStream, WrittenAloneAComponentReadsBackAsItWas) {
  TDrifter D(nullptr);
  D.SetName("D1");
  D.SetGap(10);         // the stored default, not what the constructor sets
  D.SetShown(false);    // likewise
  D.Style().SetLow(0);  // a nested object's stored default
  D.SetMode(2);         // sets Level 9 ...
  D.SetLevel(5);        // ... which is then put back to the stored default
  const std::string Text = WriteComponentToJson(D);
  const auto Doc = nlohmann::ordered_json::parse(Text);
  // The internal part is not written: its owner makes it.
  EXPECT_FALSE(Doc.contains("children")) << Text;

  TDrifter Back(nullptr);
  ReadComponentFromJson(Back, Text);
  EXPECT_EQ(Back.Gap(), 10);
  EXPECT_FALSE(Back.Shown());
  EXPECT_EQ(Back.Style().Low(), 0.0);
  EXPECT_EQ(Back.Mode(), 2);
  EXPECT_EQ(Back.Level(), 5);
  EXPECT_EQ(Back.ComponentCount(), 1);
  EXPECT_EQ(WriteComponentToJson(Back), Text);

  // Values that equal both the stored default and the fresh value stay out.
  TDrifter Plain(nullptr);
  Plain.SetName("D1");
  const auto Props = nlohmann::ordered_json::parse(WriteComponentToJson(Plain))["properties"];
  EXPECT_FALSE(Props.contains("Mode"));
  EXPECT_FALSE(Props.contains("Level"));
}

}  // namespace
