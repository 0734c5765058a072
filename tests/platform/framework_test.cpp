// Components, controls, the message entry points and the screen services,
// all headless.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/screen.h"

using namespace zkw;

namespace {

// Counts destructions so ownership can be checked without leaks or double frees.
struct TTracked : TComponent {
  TTracked(TComponent* Owner, std::vector<std::string>& Log, std::string Id)
      : TComponent(Owner), FLog(Log), FId(std::move(Id)) {}
  ~TTracked() override { FLog.push_back(FId); }
  void Notification(TComponent* C, TOperation Op) override {
    if (Op == opRemove) Removed.push_back(C);
    TComponent::Notification(C, Op);
  }
  std::vector<TComponent*> Removed;

 private:
  std::vector<std::string>& FLog;
  std::string FId;
};

// A custom control that records every second-level call and paint.
struct TProbe : TCustomControl {
  explicit TProbe(TComponent* Owner) : TCustomControl(Owner) {}
  std::vector<std::string> Log;
  int Paints = 0;
  void Paint() override {
    ++Paints;
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(TRect{0, 0, 2, 2});
  }
  using TCustomControl::CreateWnd;
};

TEST(Components, OwnerFreesWhatItOwnsLastFirstAndDeletedChildrenLeaveTheList) {
  std::vector<std::string> Log;
  {
    TTracked Root(nullptr, Log, "root");
    auto* A = new TTracked(&Root, Log, "a");
    new TTracked(A, Log, "a1");  // grandchild, owned by A
    auto* B = new TTracked(&Root, Log, "b");
    new TTracked(&Root, Log, "c");
    ASSERT_EQ(Root.ComponentCount(), 3);
    EXPECT_EQ(B->ComponentIndex(), 1);
    delete B;  // leaves the owner's list at once
    EXPECT_EQ(Root.ComponentCount(), 2);
    EXPECT_EQ(Root.Components(1)->ComponentIndex(), 1);
    EXPECT_EQ(Root.Components(5), nullptr);
    EXPECT_EQ(Log, std::vector<std::string>{"b"});
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"b", "root", "c", "a", "a1"}));
}

TEST(Components, MemberComponentWithAnOwnerIsNotFreedTwice) {
  std::vector<std::string> Log;
  struct THolder : TTracked {
    explicit THolder(std::vector<std::string>& L) : TTracked(nullptr, L, "holder"), Part(this, L, "part") {}
    TTracked Part;
  };
  { THolder H(Log); EXPECT_EQ(H.ComponentCount(), 1); }
  EXPECT_EQ(Log, (std::vector<std::string>{"part", "holder"}));
}

TEST(Components, NamesAreIdentifiersUniqueInTheOwnerAndFoundCaseInsensitively) {
  TComponent Root(nullptr);
  auto* A = new TComponent(&Root);
  auto* B = new TComponent(&Root);
  A->SetName("VX1");
  EXPECT_EQ(Root.FindComponent("vx1"), A);
  EXPECT_EQ(Root.FindComponent("nothing"), nullptr);
  EXPECT_EQ(Root.FindComponent(""), nullptr);
  EXPECT_THROW(B->SetName("Vx1"), EComponentError);
  EXPECT_THROW(B->SetName("1abc"), EComponentError);
  EXPECT_THROW(B->SetName("a b"), EComponentError);
  EXPECT_EQ(B->Name(), "");
  B->SetName("_ok2");
  EXPECT_EQ(B->Name(), "_ok2");
  A->SetName("VX1");  // its own name again is fine
  B->SetName("");
  EXPECT_EQ(Root.FindComponent("_ok2"), nullptr);
}

TEST(Components, FreeNotificationTellsTheHolderOfAReferenceAndIsUndoneBothWays) {
  std::vector<std::string> Log;
  TTracked User(nullptr, Log, "user");
  auto* Source = new TTracked(nullptr, Log, "source");
  User.FreeNotification(Source);
  delete Source;
  ASSERT_EQ(User.Removed.size(), 1u);
  EXPECT_EQ(User.Removed[0], Source);

  // After RemoveFreeNotification neither side hears about the other.
  auto* Other = new TTracked(nullptr, Log, "other");
  User.FreeNotification(Other);
  User.RemoveFreeNotification(Other);
  delete Other;
  EXPECT_EQ(User.Removed.size(), 1u);
}

TEST(Components, StateLoadingDesigningAndLoaded) {
  TComponent Root(nullptr);
  auto* Child = new TComponent(&Root);
  Root.SetDesigning(true);
  EXPECT_TRUE(Child->ComponentState().Contains(csDesigning));
  auto* Late = new TComponent(&Root);  // joins a designed owner
  EXPECT_TRUE(Late->ComponentState().Contains(csDesigning));
  Root.SetLoading(true);
  EXPECT_TRUE(Root.ComponentState().Contains(csLoading));
  Root.Loaded();
  EXPECT_FALSE(Root.ComponentState().Contains(csLoading));
  EXPECT_TRUE(Root.ComponentState().Contains(csDesigning));
}

TEST(Components, PublishedHandlersKeepTheirExactType) {
  struct TOwnerForm : TComponent {
    TOwnerForm() : TComponent(nullptr) { PublishHandler("Clicked", this, &TOwnerForm::Clicked); }
    void Clicked(TObject*) { ++Count; }
    int Count = 0;
  } F;
  const std::any* H = F.FindHandler("Clicked");
  ASSERT_NE(H, nullptr);
  auto* Fn = std::any_cast<TNotifyEvent>(H);
  ASSERT_NE(Fn, nullptr);
  (*Fn)(nullptr);
  EXPECT_EQ(F.Count, 1);
  EXPECT_EQ(F.FindHandler("clicked"), nullptr);  // handler names are exact
  F.SetEventBinding("OnClick", "Clicked");
  EXPECT_EQ(F.EventBinding("OnClick"), "Clicked");
  F.SetEventBinding("OnClick", "");
  EXPECT_EQ(F.EventBinding("OnClick"), "");
}

// ------------------------------------------------------------ entry points

struct EntryPoints : ::testing::Test {
  TProbe C{nullptr};
  std::vector<std::string> Events;
  void SetUp() override {
    C.SetBounds(0, 0, 100, 50);
    C.OnMouseMove = [&](TObject* S, TShiftState Sh, int X, int Y) {
      EXPECT_EQ(S, &C);
      Events.push_back("move " + std::to_string(X) + "," + std::to_string(Y) + " s" + std::to_string(Sh.Raw()));
    };
    C.OnMouseDown = [&](TObject*, TMouseButton B, TShiftState Sh, int X, int Y) {
      Events.push_back("down b" + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y) + " s" +
                       std::to_string(Sh.Raw()));
    };
    C.OnMouseUp = [&](TObject*, TMouseButton B, TShiftState Sh, int X, int Y) {
      Events.push_back("up b" + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y) + " s" +
                       std::to_string(Sh.Raw()));
    };
    C.OnClick = [&](TObject*) { Events.push_back("click"); };
    C.OnDblClick = [&](TObject*) { Events.push_back("dblclick"); };
    C.OnMouseEnter = [&](TObject*) { Events.push_back("enter"); };
    C.OnMouseLeave = [&](TObject*) { Events.push_back("leave"); };
    C.OnResize = [&](TObject*) { Events.push_back("resize " + std::to_string(C.Width())); };
  }
};

TEST_F(EntryPoints, MouseMoveCarriesSignedClientPixelsAndTheShiftState) {
  C.WMMouseMove(TShiftState{ssShift, ssLeft}, -5, 32767);
  C.WMMouseMove({}, 10, -32768);
  const auto S = TShiftState{ssShift, ssLeft}.Raw();
  EXPECT_EQ(Events, (std::vector<std::string>{"move -5,32767 s" + std::to_string(S), "move 10,-32768 s0"}));
}

TEST_F(EntryPoints, PressAndReleaseInsideClickOnlyForTheLeftButton) {
  const TShiftState L{ssLeft};
  C.WMButtonDown(mbLeft, L, 3, 4);
  C.WMButtonUp(mbLeft, {}, 5, 6);
  C.WMButtonDown(mbRight, TShiftState{ssRight, ssCtrl}, 7, 8);
  C.WMButtonUp(mbRight, TShiftState{ssCtrl}, 7, 8);
  EXPECT_EQ(Events, (std::vector<std::string>{"down b0 3,4 s" + std::to_string(L.Raw()), "click", "up b0 5,6 s0",
                                              "down b1 7,8 s" + std::to_string(TShiftState{ssRight, ssCtrl}.Raw()),
                                              "up b1 7,8 s" + std::to_string(TShiftState{ssCtrl}.Raw())}));
}

TEST_F(EntryPoints, ReleaseOutsideTheControlIsNoClick) {
  C.WMButtonDown(mbLeft, {ssLeft}, 3, 4);
  C.WMButtonUp(mbLeft, {}, 100, 4);  // right edge is outside
  C.WMButtonDown(mbLeft, {ssLeft}, 3, 4);
  C.WMButtonUp(mbLeft, {}, 3, -1);
  for (const auto& E : Events) EXPECT_NE(E, "click");
  // A release without a press before it clicks nothing either.
  Events.clear();
  C.WMButtonUp(mbLeft, {}, 3, 4);
  EXPECT_EQ(Events, std::vector<std::string>{"up b0 3,4 s0"});
}

TEST_F(EntryPoints, DoubleClickRaisesDblClickThenAPressWithDouble) {
  C.WMButtonDblClk(mbLeft, {ssLeft}, 9, 9);
  C.WMButtonDblClk(mbRight, {ssRight}, 1, 2);
  EXPECT_EQ(Events, (std::vector<std::string>{"dblclick", "down b0 9,9 s" + std::to_string(TShiftState{ssLeft, ssDouble}.Raw()),
                                              "down b1 1,2 s" + std::to_string(TShiftState{ssRight, ssDouble}.Raw())}));
}

TEST_F(EntryPoints, EnterLeaveAndResize) {
  C.CMMouseEnter();
  C.CMMouseLeave();
  C.WMSize(120, 50);
  C.WMSize(120, 50);  // no change, no event
  EXPECT_EQ(Events, (std::vector<std::string>{"enter", "leave", "resize 120"}));
  EXPECT_EQ(C.Height(), 50);
}

TEST_F(EntryPoints, WheelGoesToOnMouseWheelFirstAndToUpOrDownUnlessHandled) {
  std::vector<std::string> W;
  bool Take = false;
  C.OnMouseWheel = [&](TObject*, TShiftState, int Delta, TPoint P, bool& Handled) {
    W.push_back("wheel " + std::to_string(Delta) + " " + std::to_string(P.X) + "," + std::to_string(P.Y));
    Handled = Take;
  };
  C.OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    W.push_back("up");
    Handled = true;
  };
  C.OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { W.push_back("down"); };
  C.WMMouseWheel({}, 120, 4, 5);
  C.WMMouseWheel({}, -240, 4, 5);
  Take = true;
  C.WMMouseWheel({}, 120, 4, 5);
  EXPECT_EQ(W, (std::vector<std::string>{"wheel 120 4,5", "up", "wheel -240 4,5", "down", "wheel 120 4,5"}));
  EXPECT_TRUE(C.DoMouseWheel({}, 120, {0, 0}));
}

TEST_F(EntryPoints, KeyHandlersMayChangeTheKey) {
  std::vector<std::string> K;
  C.OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState Sh) {
    K.push_back("down " + std::to_string(Key) + (Sh.Contains(ssCtrl) ? " ctrl" : ""));
    Key = 0;
  };
  C.OnKeyUp = [&](TObject*, std::uint16_t& Key, TShiftState) { K.push_back("up " + std::to_string(Key)); };
  C.OnKeyPress = [&](TObject*, char& Key) {
    K.push_back(std::string("press ") + Key);
    Key = 'b';
  };
  C.WMKeyDown(VK_LEFT, {ssCtrl});
  C.WMKeyUp(VK_LEFT, {});
  C.WMChar('a');
  EXPECT_EQ(K, (std::vector<std::string>{"down 37 ctrl", "up 37", "press a"}));
}

TEST(EntryPointLevels, DerivedControlsMayOverrideEitherLevel) {
  // The message level: a guard that drops messages, as a chart does while busy.
  struct TGuarded : TCustomControl {
    using TCustomControl::TCustomControl;
    bool Busy = false;
    int Moves = 0;
    void WMMouseMove(TShiftState S, std::int16_t X, std::int16_t Y) override {
      if (Busy) return;
      TCustomControl::WMMouseMove(S, X, Y);
    }
    void MouseMove(TShiftState S, int X, int Y) override {
      ++Moves;
      TCustomControl::MouseMove(S, X, Y);
    }
    void DblClick() override { Moves += 100; }
  } G(nullptr);
  int Raised = 0;
  G.OnMouseMove = [&](TObject*, TShiftState, int, int) { ++Raised; };
  G.OnDblClick = [&](TObject*) { Raised += 1000; };
  G.WMMouseMove({}, 1, 1);
  G.Busy = true;
  G.WMMouseMove({}, 2, 2);
  G.Busy = false;
  G.WMButtonDblClk(mbLeft, {}, 0, 0);  // the override replaces the event
  EXPECT_EQ(G.Moves, 101);
  EXPECT_EQ(Raised, 1);
}

// ------------------------------------------------------------ surface and painting

TEST(WindowSurface, ExistsFromCreateWndAtTheControlSizeAndFollowsResizes) {
  TProbe C(nullptr);
  C.SetBounds(0, 0, 30, 20);
  C.SetColor(clWhite);
  EXPECT_FALSE(C.HandleAllocated());
  C.WMPaint();  // no window yet: nothing is painted
  EXPECT_EQ(C.Paints, 0);
  C.HandleNeeded();
  ASSERT_TRUE(C.HandleAllocated());
  EXPECT_EQ(C.WindowSurface().Width(), 30);
  EXPECT_EQ(C.WindowSurface().Height(), 20);
  EXPECT_EQ(C.Canvas().Pixels(29, 19), clWhite);
  C.SetBounds(5, 5, 40, 10);
  EXPECT_EQ(C.WindowSurface().Width(), 40);
  EXPECT_EQ(C.WindowSurface().Height(), 10);
  C.SetWidth(-3);
  EXPECT_EQ(C.Width(), 0);
}

TEST(WindowSurface, InvalidateDefersThePaintUpdateAndRepaintRunItOnce) {
  TProbe C(nullptr);
  C.SetBounds(0, 0, 10, 10);
  C.HandleNeeded();
  C.Update();  // the first paint is pending since the window exists
  EXPECT_EQ(C.Paints, 1);
  C.Update();
  EXPECT_EQ(C.Paints, 1);
  C.Invalidate();
  C.Invalidate();
  EXPECT_TRUE(C.NeedsPaint());
  EXPECT_EQ(C.Paints, 1);
  C.Update();
  EXPECT_EQ(C.Paints, 2);
  C.Repaint();
  EXPECT_EQ(C.Paints, 3);
  EXPECT_EQ(C.Canvas().Pixels(1, 1), clRed);
  EXPECT_FALSE(C.NeedsPaint());
}

// ------------------------------------------------------------ parents and fonts

TEST(Parents, ChildrenAreListedAndDetachedNotFreedByTheirParent) {
  auto Owner = std::make_unique<TComponent>(nullptr);
  auto* Child = new TProbe(Owner.get());
  {
    TWinControl Panel(nullptr);
    Child->SetParent(&Panel);
    EXPECT_EQ(Panel.ControlCount(), 1);
    EXPECT_EQ(Panel.Controls(0), Child);
    EXPECT_TRUE(Panel.ContainsControl(Child));
    EXPECT_THROW(Panel.SetParent(Child), EComponentError);  // no cycles
  }
  EXPECT_EQ(Child->Parent(), nullptr);
  EXPECT_EQ(Owner->ComponentCount(), 1);
  Owner.reset();  // frees the child without touching the gone panel
}

TEST(Parents, ChildOfAShownParentGetsItsWindowAtOnce) {
  TWinControl Panel(nullptr);
  Panel.HandleNeeded();
  TProbe C(nullptr);
  C.SetBounds(0, 0, 4, 4);
  C.SetParent(&Panel);
  EXPECT_TRUE(C.HandleAllocated());
}

TEST(Parents, ParentFontFollowsTheParentUntilTheChildChangesItsOwn) {
  TWinControl Panel(nullptr);
  TLabel L(nullptr);
  L.SetAutoSize(false);
  Panel.Font().SetHeight(-20);
  L.SetParent(&Panel);
  EXPECT_EQ(L.Font().Height(), -20);
  EXPECT_TRUE(L.ParentFont());
  Panel.Font().SetName("Courier");
  EXPECT_EQ(L.Font().Name(), "Courier");
  L.Font().SetColor(clRed);
  EXPECT_FALSE(L.ParentFont());
  Panel.Font().SetHeight(-30);
  EXPECT_EQ(L.Font().Height(), -20);
  L.SetParentFont(true);
  EXPECT_EQ(L.Font().Height(), -30);
}

TEST(Labels, AutoSizeFollowsTheCaptionAndKeepsTheRightEdgeWhenRightJustified) {
  TLabel L(nullptr);
  L.SetBounds(100, 10, 50, 30);
  L.SetCaption("X = ");
  const int W1 = L.Width();
  EXPECT_GT(W1, 0);
  EXPECT_GT(L.Height(), 0);
  L.SetCaption("X = X = X = ");
  EXPECT_GT(L.Width(), W1);
  L.SetAlignment(taRightJustify);
  const int Right = L.Left() + L.Width();
  L.SetCaption("X");
  EXPECT_EQ(L.Left() + L.Width(), Right);
  L.SetAutoSize(false);
  L.SetBounds(0, 0, 137, 20);
  L.SetCaption("a much longer caption than before");
  EXPECT_EQ(L.Width(), 137);
  EXPECT_EQ(L.Height(), 20);
}

// ------------------------------------------------------------ forms and application

TEST(Forms, ShowingCreatesTheWindowsOfAllControlsAndActivatesHeadless) {
  TForm F(nullptr);
  auto* C = new TProbe(&F);
  C->SetParent(&F);
  int Activations = 0;
  F.OnActivate = [&](TObject* S) {
    EXPECT_EQ(S, &F);
    ++Activations;
  };
  EXPECT_FALSE(F.Visible());
  F.Show();
  EXPECT_TRUE(F.HandleAllocated());
  EXPECT_TRUE(C->HandleAllocated());
  EXPECT_EQ(Activations, 1);
  EXPECT_TRUE(F.Active());
  F.Hide();
  EXPECT_FALSE(F.Active());
  F.Show();
  EXPECT_EQ(Activations, 2);
  TBitmap Shot;
  EXPECT_FALSE(F.GrabImage(Shot));  // no window system
  F.SetClientWidth(525);
  F.SetClientHeight(403);
  EXPECT_EQ(F.ClientWidth(), 525);
  EXPECT_EQ(F.Height(), 403);
}

TEST(Forms, ClosingTheMainFormTerminatesTheApplication) {
  TApplication App(nullptr);
  // A form created through the global application object is the main form;
  // this one belongs to a local application and only hides on Close.
  TForm* F = nullptr;
  App.CreateForm(F);
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(App.MainForm(), F);
  App.Run();  // headless: shows the main form and returns
  EXPECT_TRUE(F->Visible());
  int Closes = 0;
  F->OnClose = [&](TObject*) { ++Closes; };
  F->Close();
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(Closes, 1);
  delete F;
  EXPECT_EQ(App.MainForm(), nullptr);

  TForm* G = nullptr;
  Application().CreateForm(G);
  ASSERT_NE(Application().MainForm(), nullptr);
  Application().Initialize();
  Application().MainForm()->Close();
  EXPECT_TRUE(Application().Terminated());
  delete Application().MainForm();
  EXPECT_EQ(Application().MainForm(), nullptr);
}

// ------------------------------------------------------------ screen services

TEST(ScreenServices, CursorsLoadFromNamedResourcesWithHotSpots) {
  TCursorImage Hand;
  Hand.Image[3] = 0x80000001u;
  Hand.Mask[3] = 0xFFFFFFFFu;
  Hand.HotX = 12;
  Hand.HotY = 40;  // clamped into the 32 by 32 image
  RegisterCursorResource("CURHAND", Hand);
  ASSERT_NE(FindCursorResource("curhand"), nullptr);
  EXPECT_TRUE(FindCursorResource("CURHAND")->Pixel(0, 3));
  EXPECT_TRUE(FindCursorResource("CURHAND")->Pixel(31, 3));
  EXPECT_FALSE(FindCursorResource("CURHAND")->Pixel(1, 3));
  EXPECT_EQ(FindCursorResource("CURHAND")->HotY, 31);

  TScreen S;
  EXPECT_TRUE(S.LoadCursor(1, "CURHAND"));
  ASSERT_NE(S.Cursors(1), nullptr);
  EXPECT_EQ(S.Cursors(1)->HotX, 12);
  EXPECT_FALSE(S.LoadCursor(1, "NOSUCHCURSOR"));
  EXPECT_EQ(S.Cursors(1), nullptr);  // falls back to the default shape
  S.SetCursors(crCross, Hand);       // the window system's numbers are not replaced
  EXPECT_EQ(S.Cursors(crCross), nullptr);
}

TEST(ScreenServices, ApplicationCursorAndMessageBoxGoThroughTheirHooks) {
  std::vector<TCursor> Cursors;
  std::vector<std::string> Messages;
  SetCursorHook([&](TCursor C) { Cursors.push_back(C); });
  SetMessageBoxHook([&](const std::string& T) { Messages.push_back(T); });
  TScreen S;
  S.SetCursor(crCross);
  S.SetCursor(crDefault);
  ShowMessage("Chart is already in use");
  SetCursorHook(nullptr);
  SetMessageBoxHook(nullptr);
  S.SetCursor(crHourGlass);  // no hook: only the state changes
  EXPECT_EQ(S.Cursor(), crHourGlass);
  EXPECT_EQ(Cursors, (std::vector<TCursor>{crCross, crDefault}));
  EXPECT_EQ(Messages, std::vector<std::string>{"Chart is already in use"});
}

}  // namespace
