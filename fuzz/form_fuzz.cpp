// Arbitrary bytes as a form description. Every input either loads or raises
// the reading error; a failed read leaves nothing half-built (no children,
// loading ended); a description that loads is written, read into a fresh form
// and written again, and both texts must be identical.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/frmmain.h"
#include "chart/ZKW_vexa.h"
#include "fuzz/fuzz_support.h"
#include "platform/formstream.h"
#include "platform/forms.h"
#include "platform/gui_app.h"
#include "platform/properties.h"

namespace zkw::fuzz {
namespace {

// The root the descriptions are read into: a form with the plain click and
// activation handlers the demo forms name, so that their descriptions load.
class TFuzzForm : public TForm {
 public:
  explicit TFuzzForm(TComponent* AOwner) : TForm(AOwner) {
    for (const char* Name : {"FormActivate", "BitBtn1Click", "BtnBackClick", "BtnExitClick", "ChkScaleXClick"})
      PublishHandler(Name, this, &TFuzzForm::Notify);
  }
  std::string ClassName() const override { return "TFuzzForm"; }
  void Notify(TObject*) {}
};

const bool Registered = [] {
  RegisterClass<TFuzzForm>("TFuzzForm", "TForm", [](TComponent* Owner) { return new TFuzzForm(Owner); });
  return true;
}();

// Reads Text into a fresh form; nullptr when it raised the reading error,
// after checking that the failed read left nothing behind.
std::unique_ptr<TFuzzForm> ReadForm(const std::string& Text) {
  auto Form = std::make_unique<TFuzzForm>(nullptr);
  try {
    ReadComponentFromJson(*Form, Text);
  } catch (const EReadError& E) {
    if (Verbose()) std::fprintf(stderr, "  refused: %s\n", E.what());
    ZKW_FUZZ_CHECK(Form->ComponentCount() == 0);
    ZKW_FUZZ_CHECK(!Form->ComponentState().Contains(csLoading));
    return nullptr;
  }
  ZKW_FUZZ_CHECK(!Form->ComponentState().Contains(csLoading));
  if (Verbose()) std::fprintf(stderr, "  loaded: %d components\n", Form->ComponentCount());
  return Form;
}

// The written text, or empty when the form holds a value the writer refuses
// (text that is not UTF-8), which it says with Exception.
std::string WriteForm(const TFuzzForm& Form) {
  try {
    return WriteComponentToJson(Form);
  } catch (const EReadError&) {
    throw;
  } catch (const Exception&) {
    return {};
  }
}

}  // namespace
}  // namespace zkw::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zkw::InitHeadless();
  zkw::InitAppResources();
  (void)zkw::fuzz::Registered;
  // Brings the chart's classes into the registry.
  zkw::TVexa Chart(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace zkw::fuzz;
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  const auto Form = ReadForm(Text);
  if (!Form) return 0;
  const std::string First = WriteForm(*Form);
  if (First.empty()) return 0;
  const auto Again = ReadForm(First);
  ZKW_FUZZ_CHECK(Again != nullptr);  // what the writer wrote must read back
  ZKW_FUZZ_CHECK(WriteForm(*Again) == First);
  return 0;
}
