#include "app/frmactions.h"

#include <QFile>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <vector>

#include "app/frmmain.h"
#include "platform/formstream.h"
#include "platform/properties.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

constexpr int MarkCount = 2000;      // layer 1
constexpr int LinePointCount = 1500;  // layer 2
constexpr std::uint8_t MarkType = 10;
constexpr TColor MarkColor = 0x800000;  // navy
constexpr TColor LineColor = 0x000080;  // maroon

const bool Registered = [] {
  RegisterClass<TFormActions>("TFormActions", "TForm")
      .Field("VX1", &TFormActions::VX1)
      .Field("LblRanges", &TFormActions::LblRanges)
      .Field("LblPointer", &TFormActions::LblPointer)
      .Field("LblAction", &TFormActions::LblAction)
      .Field("CbAction", &TFormActions::CbAction)
      .Field("ChkScaleX", &TFormActions::ChkScaleX)
      .Field("ChkScaleY", &TFormActions::ChkScaleY)
      .Field("ChkWheelZoom", &TFormActions::ChkWheelZoom)
      .Field("ChkLogMoves", &TFormActions::ChkLogMoves)
      .Field("BtnBack", &TFormActions::BtnBack)
      .Field("BtnClearLog", &TFormActions::BtnClearLog)
      .Field("BtnExit", &TFormActions::BtnExit)
      .Field("LblLog", &TFormActions::LblLog)
      .Field("MemoLog", &TFormActions::MemoLog);
  return true;
}();

// The demo's own generator, so the data do not depend on what else in the
// program draws random numbers: the same picture on every start.
class TDemoRandom {
 public:
  double Next() {
    FSeed = FSeed * 134775813u + 1u;
    return static_cast<double>(FSeed) / 4294967296.0;
  }

 private:
  std::uint32_t FSeed = 0;
};

std::string ButtonName(TMouseButton B) {
  return B == mbLeft ? "mbLeft" : B == mbRight ? "mbRight" : "mbMiddle";
}

std::string ShiftText(TShiftState S) {
  static const char* const Names[] = {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"};
  std::string Result = "[";
  for (int I = 0; I < 7; ++I) {
    if (!S.Contains(static_cast<TShiftStateItem>(I))) continue;
    if (Result.size() > 1) Result += ",";
    Result += Names[I];
  }
  return Result + "]";
}

std::string ActionName(TMouseActMode A) { return std::string(MouseActModeNames[A]); }

std::string Pair(double A, double B) { return "(" + ExactNumber(A) + ", " + ExactNumber(B) + ")"; }

std::string RangeText(const TScaleProps& P) {
  return "[" + ExactNumber(P.RangeLow()) + ", " + ExactNumber(P.RangeHigh()) + "]";
}

}  // namespace

std::string ExactNumber(double Value) {
  char Buffer[64];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
  return std::string(Buffer, Result.ptr);
}

std::string StoredActionsFormDescription() {
  InitAppResources();
  QFile File(QStringLiteral(":/frmactions.json"));
  if (!File.open(QIODevice::ReadOnly))
    throw EReadError("frmactions.json: the compiled-in form description is missing");
  const QByteArray Data = File.readAll();
  return std::string(Data.constData(), static_cast<std::size_t>(Data.size()));
}

TFormActions::TFormActions(TComponent* AOwner) : TFormActions(AOwner, StoredActionsFormDescription()) {}

TFormActions::TFormActions(TComponent* AOwner, const std::string& Json) : TForm(AOwner) {
  (void)Registered;
  InitAppResources();
  PublishHandlers();
  ReadComponentFromJson(*this, Json);
  if (CbAction) {
    std::vector<std::string> Names;
    for (const std::string_view N : MouseActModeNames) Names.emplace_back(N);
    CbAction->SetItems(Names);
  }
  if (VX1) {
    // Layer 2 takes part in the plot-area drags too. Its x range is its own
    // (equal to layer 1's and moved alike by every drag) rather than joined
    // to layer 1: a joined layer records a range-history entry on every
    // range change, so each pan step would fill the history that Back
    // walks through.
    VX1->SetLayerMouseEnabled(2, true);
    FillChart();
    if (CbAction) CbAction->SetItemIndex(static_cast<int>(VX1->MouseAction()));
    // The check boxes decide what the axes do; the description's values
    // of the chart are only where they start.
    if (ChkScaleX) ChkScaleXClick(ChkScaleX);
    if (ChkScaleY) ChkScaleYClick(ChkScaleY);
    if (ChkWheelZoom) ChkWheelZoomClick(ChkWheelZoom);
    VX1->ResetRangeHistory();
  }
  if (MemoLog) MemoLog->ClearLines();
  ShowRanges();
}

void TFormActions::PublishHandlers() {
  PublishHandler("FormActivate", this, &TFormActions::FormActivate);
  PublishHandler("CbActionChange", this, &TFormActions::CbActionChange);
  PublishHandler("ChkScaleXClick", this, &TFormActions::ChkScaleXClick);
  PublishHandler("ChkScaleYClick", this, &TFormActions::ChkScaleYClick);
  PublishHandler("ChkWheelZoomClick", this, &TFormActions::ChkWheelZoomClick);
  PublishHandler("BtnBackClick", this, &TFormActions::BtnBackClick);
  PublishHandler("BtnClearLogClick", this, &TFormActions::BtnClearLogClick);
  PublishHandler("BtnExitClick", this, &TFormActions::BtnExitClick);
  PublishHandler("VX1MouseMoveInChart", this, &TFormActions::VX1MouseMoveInChart);
  PublishHandler("VX1MouseDown", this, &TFormActions::VX1MouseDown);
  PublishHandler("VX1MouseUp", this, &TFormActions::VX1MouseUp);
  PublishHandler("VX1DblClick", this, &TFormActions::VX1DblClick);
  PublishHandler("VX1ZoomPan", this, &TFormActions::VX1ZoomPan);
  PublishHandler("VX1RubberBand", this, &TFormActions::VX1RubberBand);
  PublishHandler("VX1SelectRect", this, &TFormActions::VX1SelectRect);
  PublishHandler("VX1BeforeCrossHairMove", this, &TFormActions::VX1BeforeCrossHairMove);
  PublishHandler("VX1CrossHairMove", this, &TFormActions::VX1CrossHairMove);
  PublishHandler("VX1TextLabelMove", this, &TFormActions::VX1TextLabelMove);
}

void TFormActions::FillChart() {
  TDemoRandom R;
  VX1->ClearItems();
  // Layer 1: a noisy sine in 2000 marks over x = 0..100.
  VX1->SetCurrentLayer(1);
  VX1->SetDataColor(MarkColor);
  for (int I = 0; I < MarkCount; ++I) {
    const double X = I * 0.05;
    const double Y = 1.2 * std::sin(X * 0.2) + 0.6 * (R.Next() - 0.5);
    VX1->AddMark(X, Y, MarkType);
  }
  // Layer 2: a line growing from 1 to 10^4, drawn against its own
  // logarithmic axis on the right.
  VX1->SetCurrentLayer(2);
  VX1->SetDataColor(LineColor);
  for (int I = 0; I < LinePointCount; ++I) {
    const double X = I * 100.0 / (LinePointCount - 1);
    const double Y = std::pow(10.0, X / 25.0) * (1.0 + 0.3 * std::sin(X * 0.7) * R.Next());
    if (I == 0)
      VX1->AddMoveTo(X, Y);
    else
      VX1->AddDrawTo(X, Y);
  }
  // Mouse positions are reported in layer 1.
  VX1->SetCurrentLayer(1);

  TCrossHair& C1 = VX1->CrossHair1();
  C1.SetLayer(1);
  C1.SetColor(clBlue);
  C1.SetPosX(50.0);
  C1.SetPosY(0.5);
  C1.SetMode(chBoth);
  TCrossHair& C2 = VX1->CrossHair2();
  C2.SetLayer(2);
  C2.SetColor(LineColor);
  C2.SetLineType(psDot);
  C2.SetPosX(0.0);
  C2.SetPosY(1000.0);
  C2.SetMode(chHoriz);

  TTextLabel& L1 = VX1->TextLabel(1);
  L1.SetCaption("first peak");
  L1.SetLayer(1);
  L1.SetAttachToData(tlamBoth);
  L1.SetPosX(7.85);
  L1.SetPosY(1.9);
  L1.SetMode(tlBox);
  L1.SetVisible(true);
  TTextLabel& L2 = VX1->TextLabel(2);
  L2.SetCaption("drag me (maDragLabel)");
  L2.SetLayer(1);
  L2.SetAttachToData(tlamNone);
  L2.SetPosX(330.0);
  L2.SetPosY(340.0);
  L2.SetMode(tlShadow);
  L2.SetVisible(true);
  VX1->Redraw();
}

std::string TFormActions::RangesText() const {
  if (!VX1) return {};
  const TCustomVexa& C = *VX1;
  return "x1=" + RangeText(C.ScalePropsX(1)) + " y1=" + RangeText(C.ScalePropsY(1)) +
         " y2=" + RangeText(C.ScalePropsY(2));
}

void TFormActions::ShowRanges() {
  if (!LblRanges || !VX1) return;
  // Six significant digits here; the log keeps the exact values.
  const auto Short = [](const TScaleProps& P) {
    char Buffer[80];
    std::snprintf(Buffer, sizeof Buffer, "%.6g .. %.6g", P.RangeLow(), P.RangeHigh());
    return std::string(Buffer);
  };
  const TCustomVexa& C = *VX1;
  LblRanges->SetCaption("x: " + Short(C.ScalePropsX(1)) + "    y: " + Short(C.ScalePropsY(1)) +
                        "    y2: " + Short(C.ScalePropsY(2)));
}

void TFormActions::Log(const std::string& Line) {
  if (MemoLog) MemoLog->AddLine(Line);
  if (FEcho) *FEcho << Line << std::endl;
}

int TFormActions::CrossHairIndex(const TCrossHair& C) const {
  for (int I = 1; I <= CrossHairCount; ++I)
    if (&VX1->CrossHair(I) == &C) return I;
  return 0;
}

int TFormActions::TextLabelIndex(const TTextLabel& L) const {
  for (int I = 1; I <= TextLabelCount; ++I)
    if (&VX1->TextLabel(I) == &L) return I;
  return 0;
}

// ---- controls ------------------------------------------------------------------------

void TFormActions::FormActivate(TObject*) {
  // Activation comes with every return to the window; the first one tells
  // a watching test that the window is up.
  if (FActivated) return;
  FActivated = true;
  Log("ready " + RangesText());
}

void TFormActions::CbActionChange(TObject*) {
  if (!VX1 || !CbAction || CbAction->ItemIndex() < 0) return;
  VX1->SetMouseAction(static_cast<TMouseActMode>(CbAction->ItemIndex()));
  Log("MouseAction := " + CbAction->SelectedText());
}

void TFormActions::ChkScaleXClick(TObject*) {
  if (!VX1 || !ChkScaleX) return;
  // Layer 2's hidden x scale lies in the same band, so an x axis drag
  // moves both layers' x ranges alike.
  const TMouseActMode A = ChkScaleX->Checked() ? maPan : maNone;
  VX1->Scale1X().SetMouseAction(A);
  VX1->Scale2X().SetMouseAction(A);
  Log("Scale1X, Scale2X.MouseAction := " + ActionName(A));
}

void TFormActions::ChkScaleYClick(TObject*) {
  if (!VX1 || !ChkScaleY) return;
  const TMouseActMode A = ChkScaleY->Checked() ? maPan : maNone;
  VX1->Scale1Y().SetMouseAction(A);
  VX1->Scale2Y().SetMouseAction(A);
  Log(std::string("Scale1Y, Scale2Y.MouseAction := ") + ActionName(A));
}

void TFormActions::ChkWheelZoomClick(TObject*) {
  if (!VX1 || !ChkWheelZoom) return;
  VX1->SetWheelZoom(ChkWheelZoom->Checked());
  Log(std::string("WheelZoom := ") + (VX1->WheelZoom() ? "True" : "False"));
}

void TFormActions::BtnBackClick(TObject*) {
  if (!VX1) return;
  if (VX1->RangeHistoryBack())
    Log("Back " + RangesText());
  else
    Log("Back: no earlier ranges");
  ShowRanges();
}

void TFormActions::BtnClearLogClick(TObject*) {
  if (MemoLog) MemoLog->ClearLines();
}

void TFormActions::BtnExitClick(TObject*) { Close(); }

// ---- chart events --------------------------------------------------------------------

void TFormActions::VX1MouseMoveInChart(TObject*, bool InChart, TShiftState Shift, double rMousePosX,
                                       double rMousePosY) {
  if (LblPointer)
    LblPointer->SetCaption("pointer x = " + FormatFixed(rMousePosX, 3) + ", y = " + FormatFixed(rMousePosY, 3) +
                           (InChart ? "" : " (outside the plot)"));
  if (ChkLogMoves && ChkLogMoves->Checked())
    Log("OnMouseMoveInChart InChart=" + std::string(InChart ? "1" : "0") + " Shift=" + ShiftText(Shift) +
        " X=" + ExactNumber(rMousePosX) + " Y=" + ExactNumber(rMousePosY));
}

void TFormActions::VX1MouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
  Log("OnMouseDown Button=" + ButtonName(Button) + " Shift=" + ShiftText(Shift) + " X=" + std::to_string(X) +
      " Y=" + std::to_string(Y));
}

void TFormActions::VX1MouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
  Log("OnMouseUp Button=" + ButtonName(Button) + " Shift=" + ShiftText(Shift) + " X=" + std::to_string(X) +
      " Y=" + std::to_string(Y) + " " + RangesText());
  ShowRanges();
}

void TFormActions::VX1DblClick(TObject*) {
  // A double click on an axis switches its action between maPan and maZoom.
  Log(std::string("OnDblClick Scale1X.MouseAction=") + ActionName(VX1->Scale1X().MouseAction()) +
      " Scale1Y.MouseAction=" + ActionName(VX1->Scale1Y().MouseAction()) +
      " Scale2Y.MouseAction=" + ActionName(VX1->Scale2Y().MouseAction()));
}

void TFormActions::VX1ZoomPan(TObject*) {
  Log("OnZoomPan " + RangesText());
  ShowRanges();
}

void TFormActions::VX1RubberBand(TObject*, int Layer, double LoX, double LoY, double HiX, double HiY) {
  Log("OnRubberBand Layer=" + std::to_string(Layer) + " Lo=" + Pair(LoX, LoY) + " Hi=" + Pair(HiX, HiY));
}

void TFormActions::VX1SelectRect(TObject*, int Layer, double LoX, double LoY, double HiX, double HiY) {
  Log("OnSelectRect Layer=" + std::to_string(Layer) + " Lo=" + Pair(LoX, LoY) + " Hi=" + Pair(HiX, HiY));
}

void TFormActions::VX1BeforeCrossHairMove(TObject*, TCrossHair& WhichCrossHair, int dx, int dy, bool& AllowMove) {
  Log("OnBeforeCrossHairMove CrossHair=" + std::to_string(CrossHairIndex(WhichCrossHair)) +
      " dx=" + std::to_string(dx) + " dy=" + std::to_string(dy) + " AllowMove=" + (AllowMove ? "True" : "False"));
}

void TFormActions::VX1CrossHairMove(TObject*, TCrossHair& WhichCrossHair) {
  Log("OnCrossHairMove CrossHair=" + std::to_string(CrossHairIndex(WhichCrossHair)) +
      " Pos=" + Pair(WhichCrossHair.PosX(), WhichCrossHair.PosY()));
}

void TFormActions::VX1TextLabelMove(TObject*, TTextLabel& WhichTextLabel) {
  Log("OnTextLabelMove Label=" + std::to_string(TextLabelIndex(WhichTextLabel)) + " \"" +
      WhichTextLabel.Caption() + "\" Pos=" + Pair(WhichTextLabel.PosX(), WhichTextLabel.PosY()));
}

}  // namespace zkw
