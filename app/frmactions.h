// Form unit frmactions: the window of actiondemo, which shows the chart's
// mouse actions. A chart with two layers (2000 marks on layer 1 with a
// linear y axis, a 1500-point line on layer 2 with its own logarithmic y
// axis on the right, x moved with layer 1's), two crosshairs and two text
// labels; a drop-down that chooses the chart's MouseAction, check boxes for
// the axes' own drag action and for wheel zoom, a Back button that steps
// through the range history, and a read-only log of every chart event with
// its arguments.
//
// The layout comes from the form description frmactions.json, compiled in
// as ":/frmactions.json". The log lines go to the memo and, when an echo
// stream is set, to that stream too (the program's --trace).
#pragma once

#include <ostream>
#include <string>

#include "chart/ZKW_vexa.h"
#include "platform/controls.h"
#include "platform/forms.h"

namespace zkw {

class TFormActions : public TForm {
 public:
  // Builds the form from the compiled-in description (EReadError when it
  // cannot be read) and fills the chart.
  explicit TFormActions(TComponent* AOwner);
  // Builds the form from the given description text instead (tests).
  TFormActions(TComponent* AOwner, const std::string& Json);
  std::string ClassName() const override { return "TFormActions"; }

  // Published components, in this order.
  TVexa* VX1 = nullptr;
  TLabel* LblRanges = nullptr;
  TLabel* LblPointer = nullptr;
  TLabel* LblAction = nullptr;
  TComboBox* CbAction = nullptr;
  TCheckBox* ChkScaleX = nullptr;
  TCheckBox* ChkScaleY = nullptr;
  TCheckBox* ChkWheelZoom = nullptr;
  TCheckBox* ChkLogMoves = nullptr;
  TBitBtn* BtnBack = nullptr;
  TBitBtn* BtnClearLog = nullptr;
  TBitBtn* BtnExit = nullptr;
  TLabel* LblLog = nullptr;
  TMemo* MemoLog = nullptr;

  // Published handlers.
  void FormActivate(TObject* Sender);
  void CbActionChange(TObject* Sender);
  void ChkScaleXClick(TObject* Sender);
  void ChkScaleYClick(TObject* Sender);
  void ChkWheelZoomClick(TObject* Sender);
  void BtnBackClick(TObject* Sender);
  void BtnClearLogClick(TObject* Sender);
  void BtnExitClick(TObject* Sender);
  void VX1MouseMoveInChart(TObject* Sender, bool InChart, TShiftState Shift, double rMousePosX, double rMousePosY);
  void VX1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void VX1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void VX1DblClick(TObject* Sender);
  void VX1ZoomPan(TObject* Sender);
  void VX1RubberBand(TObject* Sender, int Layer, double LoX, double LoY, double HiX, double HiY);
  void VX1SelectRect(TObject* Sender, int Layer, double LoX, double LoY, double HiX, double HiY);
  void VX1BeforeCrossHairMove(TObject* Sender, TCrossHair& WhichCrossHair, int dx, int dy, bool& AllowMove);
  void VX1CrossHairMove(TObject* Sender, TCrossHair& WhichCrossHair);
  void VX1TextLabelMove(TObject* Sender, TTextLabel& WhichTextLabel);

  // Appends a line to the log (and to the echo stream).
  void Log(const std::string& Line);
  // Every log line is written to Out as well; nullptr stops that.
  void SetLogEcho(std::ostream* Out) { FEcho = Out; }
  // "x1=[lo, hi] y1=[lo, hi] y2=[lo, hi]": the ranges the user can change,
  // each number in its shortest exact form.
  std::string RangesText() const;

 private:
  void PublishHandlers();
  void FillChart();
  void ShowRanges();
  int CrossHairIndex(const TCrossHair& C) const;
  int TextLabelIndex(const TTextLabel& L) const;
  std::ostream* FEcho = nullptr;
  bool FActivated = false;
};

// The description as compiled into the program.
std::string StoredActionsFormDescription();

// The shortest text that reads back as exactly Value ("0.1", "1e+20", "nan").
std::string ExactNumber(double Value);

}  // namespace zkw
