#include "framework_example.h"

#include "platform/formstream.h"
#include "platform/properties.h"

namespace zkw::testing {

namespace {
const bool Registered = [] {
  RegisterClass<TSwatch>("TSwatch", "TCustomControl", [](TComponent* Owner) { return new TSwatch(Owner); })
      .Color("SwatchColor", &TSwatch::SwatchColor, &TSwatch::SetSwatchColor, clRed);
  RegisterClass<TExampleForm>("TExampleForm", "TForm")
      .Field("Swatch1", &TExampleForm::Swatch1)
      .Field("Label1", &TExampleForm::Label1)
      .Field("BitBtn1", &TExampleForm::BitBtn1);
  return true;
}();
}  // namespace

TSwatch::TSwatch(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 100, 100); }

void TSwatch::SetSwatchColor(TColor Value) {
  if (Value == FSwatchColor) return;
  FSwatchColor = Value;
  Invalidate();
}

void TSwatch::Paint() {
  ++PaintCount;
  TCanvas& C = Canvas();
  C.Brush().SetStyle(bsSolid);
  C.Brush().SetColor(Color());
  C.FillRect(ClientRect());
  C.Pen().SetColor(FSwatchColor);
  C.Brush().SetColor(FSwatchColor);
  C.Ellipse(2, 2, Width() - 2, Height() - 2);
}

std::string ExampleFormPath() { return std::string(ZKW_SOURCE_DIR) + "/tests/platform/data/example_form.json"; }

TExampleForm::TExampleForm(TComponent* AOwner) : TForm(AOwner) {
  PublishHandlers();
  ReadComponentFromFile(*this, ExampleFormPath());
}

TExampleForm::TExampleForm(TComponent* AOwner, const std::string& Json) : TForm(AOwner) {
  PublishHandlers();
  ReadComponentFromJson(*this, Json);
}

void TExampleForm::PublishHandlers() {
  PublishHandler("Swatch1MouseMove", this, &TExampleForm::Swatch1MouseMove);
  PublishHandler("Swatch1MouseDown", this, &TExampleForm::Swatch1MouseDown);
  PublishHandler("BitBtn1Click", this, &TExampleForm::BitBtn1Click);
  PublishHandler("FormActivate", this, &TExampleForm::FormActivate);
}

void TExampleForm::Swatch1MouseMove(TObject*, TShiftState Shift, int X, int Y) {
  Moves.push_back({Shift, X, Y});
  Label1->SetCaption(std::to_string(X) + ", " + std::to_string(Y));
}

void TExampleForm::Swatch1MouseDown(TObject*, TMouseButton, TShiftState Shift, int X, int Y) {
  Downs.push_back({Shift, X, Y});
}

void TExampleForm::BitBtn1Click(TObject*) {
  ++ButtonClicks;
  Close();
}

void TExampleForm::FormActivate(TObject*) { ++Activations; }

}  // namespace zkw::testing
