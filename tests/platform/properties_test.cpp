// The property registry: inheritance and order, overrides, typed ranges,
// stored defaults and predicates, component references, colour names.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/properties.h"

using namespace zkw;

namespace {

std::vector<std::string> Names(const TClassInfo& Info) {
  std::vector<std::string> R;
  for (const TPropInfo* P : Info.Properties()) R.push_back(P->Name);
  return R;
}

TEST(Registry, PropertiesAreInheritedParentFirstInPublishedOrder) {
  const TClassInfo* Label = FindClassInfo("TLabel");
  ASSERT_NE(Label, nullptr);
  const auto L = Names(*Label);
  ASSERT_GE(L.size(), 7u);
  EXPECT_EQ(L[0], "Tag");  // from TComponent
  EXPECT_EQ((std::vector<std::string>(L.begin() + 1, L.begin() + 5)),
            (std::vector<std::string>{"Left", "Top", "Width", "Height"}));
  EXPECT_EQ((std::vector<std::string>(L.end() - 3, L.end())),
            (std::vector<std::string>{"Alignment", "AutoSize", "Caption"}));
  EXPECT_TRUE(Label->InheritsFrom("TControl"));
  EXPECT_FALSE(Label->InheritsFrom("TWinControl"));
  EXPECT_EQ(Label->FindProperty("autosize"), Label->FindProperty("AutoSize"));
  EXPECT_EQ(Label->FindProperty("NoSuch"), nullptr);
}

TEST(Registry, ADescendantReplacesAnInheritedPropertyInItsPlace) {
  const TClassInfo* Form = FindClassInfo("TForm");
  const TClassInfo* Control = FindClassInfo("TControl");
  ASSERT_NE(Form, nullptr);
  ASSERT_NE(Control, nullptr);
  const auto F = Names(*Form);
  EXPECT_EQ(F[3], "Width");
  EXPECT_EQ(std::count(F.begin(), F.end(), "Width"), 1);
  EXPECT_NE(Form->FindProperty("Width"), Control->FindProperty("Width"));

  // The form's Width is never stored, the control's always is.
  TForm Frm(nullptr);
  ASSERT_TRUE(Form->FindProperty("Width")->IsStored);
  EXPECT_FALSE(Form->FindProperty("Width")->IsStored(Frm));
  EXPECT_FALSE(Control->FindProperty("Width")->IsStored);
  // Visible: default False for forms, True for other controls.
  EXPECT_TRUE(Form->FindProperty("Visible")->IsDefault(Frm));
  TLabel Lbl(nullptr);
  EXPECT_TRUE(Control->FindProperty("Visible")->IsDefault(Lbl));
}

TEST(Registry, ParentsResolveByNameWhateverTheRegistrationOrder) {
  // The registry is process-wide and keeps what a test registers: each round
  // (--gtest_repeat) uses class names no earlier round has seen.
  static int Round = 0;
  const std::string Suffix = std::to_string(++Round);
  const std::string Child = "TLateChild" + Suffix, Base = "TLateBase" + Suffix;
  struct TLate : TPersistent {
    std::string ClassName() const override { return "TLateChild"; }
    int A() const { return 1; }
    void SetA(int) {}
  };
  struct TLateBase : TPersistent {
    std::string ClassName() const override { return "TLateBase"; }
    int B() const { return 2; }
    void SetB(int) {}
  };
  ASSERT_EQ(FindClassInfo(Child), nullptr);
  RegisterClass<TLate>(Child, Base).Int("A", &TLate::A, &TLate::SetA);
  EXPECT_EQ(Names(*FindClassInfo(Child)), std::vector<std::string>{"A"});
  RegisterClass<TLateBase>(Base, "TPersistent").Int("B", &TLateBase::B, &TLateBase::SetB);
  EXPECT_EQ(Names(*FindClassInfo(Child)), (std::vector<std::string>{"B", "A"}));
}

struct TRanged : TPersistent {
  std::string ClassName() const override { return "TRanged"; }
  std::uint8_t Byte() const { return FByte; }
  void SetByte(std::uint8_t V) { FByte = V; }
  std::int16_t Short() const { return FShort; }
  void SetShort(std::int16_t V) { FShort = V; }
  int Pct() const { return FPct; }
  void SetPct(int V) { FPct = V; }
  bool Shown() const { return FShown; }
  void SetShown(bool V) { FShown = V; }
  TComponent* Link() const { return FLink; }
  void SetLink(TControl* V) { FLink = V; }
  std::uint8_t FByte = 0;
  std::int16_t FShort = 0;
  int FPct = 50;
  bool FShown = true;
  TComponent* FLink = nullptr;
};

const bool RangedRegistered = [] {
  RegisterClass<TRanged>("TRanged", "TPersistent")
      .Int("Byte", &TRanged::Byte, &TRanged::SetByte)
      .Int("Short", &TRanged::Short, &TRanged::SetShort)
      .Int("Pct", &TRanged::Pct, &TRanged::SetPct, 50)
      .Range(0, 100)
      .Stored([](const TRanged& R) { return R.Shown(); })
      .Bool("Shown", &TRanged::Shown, &TRanged::SetShown, true)
      .Component<TControl>("Link", [](const TRanged& R) { return dynamic_cast<TControl*>(R.Link()); },
                           &TRanged::SetLink, "TControl");
  return true;
}();

TEST(Registry, IntegerRangesComeFromTheTypeOrAnExplicitRange) {
  const TClassInfo* I = FindClassInfo("TRanged");
  ASSERT_NE(I, nullptr);
  EXPECT_EQ(I->FindProperty("Byte")->MinValue, 0);
  EXPECT_EQ(I->FindProperty("Byte")->MaxValue, 255);
  EXPECT_EQ(I->FindProperty("Short")->MinValue, -32768);
  EXPECT_EQ(I->FindProperty("Short")->MaxValue, 32767);
  EXPECT_EQ(I->FindProperty("Pct")->MaxValue, 100);

  TRanged R;
  const TPropInfo& Pct = *I->FindProperty("Pct");
  EXPECT_TRUE(Pct.IsDefault(R));
  Pct.SetOrd(R, 70);
  EXPECT_EQ(R.Pct(), 70);
  EXPECT_FALSE(Pct.IsDefault(R));
  EXPECT_TRUE(Pct.IsStored(R));
  R.SetShown(false);
  EXPECT_FALSE(Pct.IsStored(R));
}

TEST(Registry, ComponentReferencesRefuseOtherClasses) {
  const TPropInfo* Link = FindClassInfo("TRanged")->FindProperty("Link");
  ASSERT_NE(Link, nullptr);
  TRanged R;
  TLabel Label(nullptr);
  TComponent Plain(nullptr);
  EXPECT_TRUE(Link->SetComponent(R, &Label));
  EXPECT_EQ(R.Link(), &Label);
  EXPECT_FALSE(Link->SetComponent(R, &Plain));
  EXPECT_EQ(R.Link(), &Label);  // unchanged
  EXPECT_FALSE(Link->IsDefault(R));
  EXPECT_TRUE(Link->SetComponent(R, nullptr));
  EXPECT_TRUE(Link->IsDefault(R));
}

TEST(ColourNames, PlatformIdentifiersBothWaysThenTheHook) {
  TColor C = 0;
  EXPECT_TRUE(IdentToColor("clBtnFace", C));
  EXPECT_EQ(C, clBtnFace);
  EXPECT_TRUE(IdentToColor("CLNAVY", C));
  EXPECT_EQ(C, clNavy);
  std::string Name;
  EXPECT_TRUE(ColorToIdent(clGrayText, Name));
  EXPECT_EQ(Name, "clGrayText");
  EXPECT_FALSE(ColorToIdent(14540253, Name));
  EXPECT_FALSE(IdentToColor("clSalmon", C));

  std::vector<std::string> Asked;
  SetColorNameLookup([&](const std::string& N, TColor& Out) {
    Asked.push_back(N);
    if (!SameText(N, "clSalmon")) return false;
    Out = 0x7280FA;
    return true;
  });
  EXPECT_TRUE(IdentToColor("clsalmon", C));
  EXPECT_EQ(C, 0x7280FA);
  EXPECT_TRUE(IdentToColor("clRed", C));  // cl* identifiers come first
  EXPECT_EQ(C, clRed);
  SetColorNameLookup(nullptr);
  EXPECT_EQ(Asked, std::vector<std::string>{"clsalmon"});
  EXPECT_FALSE(IdentToColor("clSalmon", C));
}

}  // namespace
