// The combo box, check box and memo: their state and events headless, the
// form description, and their Qt widgets (user input reaches the control,
// the program's changes reach the widget without raising events).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>

#include "platform/forms.h"
#include "platform/formstream.h"
#include "platform/properties.h"
#include "platform/qt/qt_backend.h"

using namespace zkw;

namespace {

class TListForm : public TForm {
 public:
  explicit TListForm(TComponent* AOwner, const std::string& Json) : TForm(AOwner) {
    PublishHandler("ComboChange", std::function<void(TObject*)>([this](TObject*) { ++Changes; }));
    PublishHandler("CheckClick", std::function<void(TObject*)>([this](TObject*) { ++Clicks; }));
    ReadComponentFromJson(*this, Json);
  }
  std::string ClassName() const override { return "TListForm"; }
  TComboBox* Combo = nullptr;
  TCheckBox* Check = nullptr;
  TMemo* Memo = nullptr;
  int Changes = 0;
  int Clicks = 0;
};

const bool Registered = [] {
  InstallQtApplicationFactory();
  RegisterClass<TListForm>("TListForm", "TForm")
      .Field("Combo", &TListForm::Combo)
      .Field("Check", &TListForm::Check)
      .Field("Memo", &TListForm::Memo);
  return true;
}();

const char* const ListFormJson = R"({
  "object": "ListForm", "class": "TListForm",
  "properties": { "Caption": "Lists", "ClientWidth": 300, "ClientHeight": 200 },
  "children": [
    { "object": "Combo", "class": "TComboBox",
      "properties": { "Left": 8, "Top": 8, "Width": 150, "OnChange": "ComboChange" } },
    { "object": "Check", "class": "TCheckBox",
      "properties": { "Left": 8, "Top": 40, "Caption": "Tick", "OnClick": "CheckClick", "Checked": true } },
    { "object": "Memo", "class": "TMemo",
      "properties": { "Left": 8, "Top": 70, "Width": 200, "Height": 100, "ReadOnly": true, "MaxLines": 8 } }
  ]
})";

std::unique_ptr<TListForm> MakeForm() { return std::make_unique<TListForm>(nullptr, ListFormJson); }

TEST(ListControls, DescriptionSetsTheValuesWithoutRaisingEvents) {
  auto F = MakeForm();
  (void)Registered;
  ASSERT_NE(F->Combo, nullptr);
  ASSERT_NE(F->Check, nullptr);
  ASSERT_NE(F->Memo, nullptr);
  EXPECT_TRUE(F->Check->Checked());
  EXPECT_EQ(F->Check->Caption(), "Tick");
  EXPECT_EQ(F->Clicks, 0);  // loading is not a click
  EXPECT_TRUE(F->Memo->ReadOnly());
  EXPECT_EQ(F->Memo->MaxLines(), 8);
  EXPECT_EQ(F->Combo->ItemIndex(), -1);
  // Written back: the values that differ from the defaults, by name.
  const std::string Out = WriteComponentToJson(*F);
  EXPECT_NE(Out.find("\"Checked\": true"), std::string::npos) << Out;
  EXPECT_NE(Out.find("\"MaxLines\": 8"), std::string::npos) << Out;
  // A wrong type is refused with the path named.
  const std::string Bad = std::string(ListFormJson).replace(std::string(ListFormJson).find("\"Checked\": true"), 15,
                                                            "\"Checked\": 3");
  try {
    TListForm G(nullptr, Bad);
    FAIL() << "a number for a Boolean was accepted";
  } catch (const EReadError& E) {
    EXPECT_NE(std::string(E.what()).find("Checked"), std::string::npos) << E.what();
  }
}

TEST(ListControls, ComboSelectionIsCheckedAndOnlyTheUsersChoiceRaisesOnChange) {
  auto F = MakeForm();
  TComboBox& C = *F->Combo;
  C.SetItems({"a", "b", "c"});
  C.SetItemIndex(1);
  EXPECT_EQ(C.SelectedText(), "b");
  EXPECT_EQ(F->Changes, 0);
  for (int Bad : {-2, 3, 1000}) {
    C.SetItemIndex(Bad);
    EXPECT_EQ(C.ItemIndex(), 1);
    C.WMSelectItem(Bad);
    EXPECT_EQ(C.ItemIndex(), 1);
  }
  EXPECT_EQ(F->Changes, 0);
  C.WMSelectItem(2);
  EXPECT_EQ(C.ItemIndex(), 2);
  EXPECT_EQ(F->Changes, 1);
  // A shorter list drops a selection that no longer exists.
  C.SetItems({"x"});
  EXPECT_EQ(C.ItemIndex(), -1);
  EXPECT_EQ(C.SelectedText(), "");
}

TEST(ListControls, CheckBoxRaisesOnClickOnEveryChangeAndAClickToggles) {
  auto F = MakeForm();
  TCheckBox& B = *F->Check;
  B.SetChecked(true);  // no change
  EXPECT_EQ(F->Clicks, 0);
  B.SetChecked(false);
  EXPECT_EQ(F->Clicks, 1);
  // A left press and release on the box is a click, which toggles it.
  B.WMButtonDown(mbLeft, TShiftState{ssLeft}, 3, 3);
  B.WMButtonUp(mbLeft, TShiftState{}, 3, 3);
  EXPECT_TRUE(B.Checked());
  EXPECT_EQ(F->Clicks, 2);
}

TEST(ListControls, MemoSplitsLinesAndKeepsTheNewestWithinMaxLines) {
  auto F = MakeForm();
  TMemo& M = *F->Memo;
  M.AddLine("one\ntwo");
  EXPECT_EQ(M.Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(M.JoinedText(), "one\ntwo");
  for (int I = 0; I < 30; ++I) M.AddLine("line " + std::to_string(I));
  EXPECT_LE(M.Lines().size(), 8u);
  EXPECT_GE(M.Lines().size(), 6u);
  EXPECT_EQ(M.Lines().back(), "line 29");
  M.ClearLines();
  EXPECT_TRUE(M.Lines().empty());
  M.SetMaxLines(-5);
  EXPECT_EQ(M.MaxLines(), 0);  // unlimited
}

class ListWidgets : public ::testing::Test {
 protected:
  void SetUp() override { InstallQtBackend(); }
  void TearDown() override {
    for (int I = 0; I < 5; ++I) Application().ProcessMessages();
    UninstallQtBackend();
  }
};

TEST_F(ListWidgets, UserInputReachesTheControlsAndProgramChangesReachTheWidgets) {
  auto F = MakeForm();
  F->Combo->SetItems({"maNone", "maPan"});
  F->Memo->AddLine("before");
  F->Show();
  Application().ProcessMessages();
  auto* Combo = qobject_cast<QComboBox*>(PeerWidget(*F->Combo));
  auto* Check = qobject_cast<QCheckBox*>(PeerWidget(*F->Check));
  auto* Memo = qobject_cast<QPlainTextEdit*>(PeerWidget(*F->Memo));
  ASSERT_NE(Combo, nullptr);
  ASSERT_NE(Check, nullptr);
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Combo->count(), 2);
  EXPECT_EQ(Combo->currentIndex(), -1);
  EXPECT_TRUE(Check->isChecked());
  EXPECT_EQ(Check->text(), "Tick");
  EXPECT_TRUE(Memo->isReadOnly());
  EXPECT_EQ(Memo->toPlainText(), "before");

  // The program's changes: shown, no events.
  F->Combo->SetItemIndex(0);
  F->Memo->AddLine("after");
  EXPECT_EQ(Combo->currentIndex(), 0);
  EXPECT_EQ(F->Changes, 0);
  EXPECT_EQ(Memo->toPlainText(), "before\nafter");

  // The user's choices: reach the controls and raise their events.
  Combo->setCurrentIndex(1);
  EXPECT_EQ(F->Combo->ItemIndex(), 1);
  EXPECT_EQ(F->Changes, 1);
  Check->click();
  EXPECT_FALSE(F->Check->Checked());
  EXPECT_EQ(F->Clicks, 1);
  F->Check->SetChecked(true);
  EXPECT_TRUE(Check->isChecked());
  EXPECT_EQ(F->Clicks, 2);  // the program's change is one click, not two

  // Trimming rebuilds the widget's text from the kept lines.
  for (int I = 0; I < 20; ++I) F->Memo->AddLine("l" + std::to_string(I));
  EXPECT_EQ(Memo->toPlainText().toStdString(), F->Memo->JoinedText());
  F->Memo->ClearLines();
  EXPECT_TRUE(Memo->toPlainText().isEmpty());
}

}  // namespace
