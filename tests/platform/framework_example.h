// The small example form the framework tests load from
// tests/platform/data/example_form.json: a custom control that draws a
// coloured disc, a label and a button.
#pragma once

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/forms.h"

namespace zkw::testing {

// Paints its background colour and a disc in SwatchColor.
class TSwatch : public TCustomControl {
 public:
  explicit TSwatch(TComponent* AOwner);
  std::string ClassName() const override { return "TSwatch"; }
  TColor SwatchColor() const { return FSwatchColor; }
  void SetSwatchColor(TColor Value);
  int PaintCount = 0;
  bool WantsTab = false;
  TDialogCodes WMGetDlgCode() const override { return WantsTab ? TDialogCodes{dcWantTab} : TDialogCodes{}; }

 protected:
  void Paint() override;

 private:
  TColor FSwatchColor = clRed;
};

struct TMouseRecord {
  TShiftState Shift;
  int X = 0;
  int Y = 0;
};

class TExampleForm : public TForm {
 public:
  // Loads the example description; throws EReadError when it is bad.
  explicit TExampleForm(TComponent* AOwner);
  // Loads the given description text instead.
  TExampleForm(TComponent* AOwner, const std::string& Json);
  std::string ClassName() const override { return "TExampleForm"; }

  TSwatch* Swatch1 = nullptr;
  TLabel* Label1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  void Swatch1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void Swatch1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void BitBtn1Click(TObject* Sender);
  void FormActivate(TObject* Sender);

  std::vector<TMouseRecord> Moves;
  std::vector<TMouseRecord> Downs;
  int Activations = 0;
  int ButtonClicks = 0;

 private:
  void PublishHandlers();
};

std::string ExampleFormPath();

}  // namespace zkw::testing
