// Form unit frmmain: the demo's one window. A chart with 100 scattered data
// marks and a red cursor mark that snaps to the mark nearest to the pointer,
// two labels showing that mark's x and y, and an Exit button.
//
// The layout and every stored value come from the form description
// frmmain.json, compiled into the program as the resource ":/frmmain.json".
// All data live in the chart's item store; the form keeps no state of its own.
#pragma once

#include <string>

#include "chart/ZKW_vexa.h"
#include "platform/controls.h"
#include "platform/forms.h"

namespace zkw {

class TForm1 : public TForm {
 public:
  // Builds the form from the compiled-in description. Raises EReadError
  // when the description cannot be read.
  explicit TForm1(TComponent* AOwner);
  // Builds the form from the given description text instead (tests).
  TForm1(TComponent* AOwner, const std::string& Json);
  std::string ClassName() const override { return "TForm1"; }

  // Published components, in this order.
  TVexa* VX1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TLabel* LblX = nullptr;
  TLabel* LblY = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;

  // Published handlers.
  void BitBtn1Click(TObject* Sender);
  void VX1MouseMoveInChart(TObject* Sender, bool InChart, TShiftState Shift, double rMousePosX,
                           double rMousePosY);
  void FormActivate(TObject* Sender);

 private:
  void PublishHandlers();
};

// The stored form description as compiled into the program.
std::string StoredFormDescription();

// Makes the program's resources available: the compiled-in files and the
// four cursors. Safe to call more than once; TForm1 calls it itself.
void InitAppResources();

// Read-out text of a value: fixed point, two decimals ("1215.00", "-0.35").
std::string FormatReadout(double Value);

}  // namespace zkw
