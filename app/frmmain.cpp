#include "app/frmmain.h"

#include <QFile>
#include <cmath>

#include "app/cursors.h"
#include "platform/formstream.h"
#include "platform/properties.h"
#include "platform/rtl.h"

// The resource file lives in a static library, so its registration code is
// only linked in when something refers to it; this function does, and it
// must sit outside every namespace.
static void InitSnapdemoQtResources() { Q_INIT_RESOURCE(snapdemo); }

namespace zkw {

namespace {

// Demo data: 100 marks of symbol 10, x from 1215 in steps of 15.
constexpr int DataMarkCount = 100;
constexpr std::uint8_t DataMarkType = 10;
constexpr std::uint8_t CursorMarkType = 25;
constexpr TColor DataMarkColor = 0x800000;  // navy
constexpr TColor CursorMarkColor = 255;     // red
// FindNearestItem filters: marks of any class.
constexpr std::uint8_t MarksOnly = ckMark;
constexpr std::uint8_t AnyClass = ClassFilterAll;

const bool Registered = [] {
  RegisterClass<TForm1>("TForm1", "TForm")
      .Field("VX1", &TForm1::VX1)
      .Field("BitBtn1", &TForm1::BitBtn1)
      .Field("LblX", &TForm1::LblX)
      .Field("LblY", &TForm1::LblY)
      .Field("Label1", &TForm1::Label1)
      .Field("Label2", &TForm1::Label2);
  return true;
}();

}  // namespace

void InitAppResources() {
  static const bool Done = [] {
    InitSnapdemoQtResources();
    RegisterAppCursors();
    return true;
  }();
  (void)Done;
  (void)Registered;
}

std::string StoredFormDescription() {
  InitAppResources();
  QFile File(QStringLiteral(":/frmmain.json"));
  if (!File.open(QIODevice::ReadOnly)) throw EReadError("frmmain.json: the compiled-in form description is missing");
  const QByteArray Data = File.readAll();
  return std::string(Data.constData(), static_cast<std::size_t>(Data.size()));
}

std::string FormatReadout(double Value) { return FormatFixed(Value, 2); }

TForm1::TForm1(TComponent* AOwner) : TForm1(AOwner, StoredFormDescription()) {}

TForm1::TForm1(TComponent* AOwner, const std::string& Json) : TForm(AOwner) {
  // The chart loads the cursors while it is built from the description.
  InitAppResources();
  PublishHandlers();
  ReadComponentFromJson(*this, Json);
}

void TForm1::PublishHandlers() {
  PublishHandler("BitBtn1Click", this, &TForm1::BitBtn1Click);
  PublishHandler("VX1MouseMoveInChart", this, &TForm1::VX1MouseMoveInChart);
  PublishHandler("FormActivate", this, &TForm1::FormActivate);
}

void TForm1::BitBtn1Click(TObject*) { Close(); }

void TForm1::FormActivate(TObject*) {
  if (!VX1) return;
  VX1->ClearItems();
  VX1->SetDataColor(DataMarkColor);
  for (int I = 1; I <= DataMarkCount; ++I) {
    const int X = I * 15 + 1200;
    // The sine is taken in extended precision; the random part continues the
    // program's one generator, so every activation gives new marks.
    const Extended Y = std::sin(static_cast<Extended>(I) * 0.05L) + static_cast<Extended>(Random());
    VX1->AddMark(static_cast<double>(X), static_cast<double>(Y), DataMarkType);
  }
  VX1->SetDataColor(CursorMarkColor);
  // The cursor mark: always the last item of the store.
  VX1->AddMarkInt(0, 0, CursorMarkType);
  VX1->Redraw();
}

void TForm1::VX1MouseMoveInChart(TObject*, bool, TShiftState, double rMousePosX, double rMousePosY) {
  if (!VX1) return;
  double Distance = 0.0;
  const int Index = VX1->FindNearestItem(MarksOnly, AnyClass, rMousePosX, rMousePosY, Distance);
  // Before the first activation the store may hold no mark at all.
  if (Index < 0 || Index >= VX1->ItemCount()) return;
  const TvxChartItem Found = VX1->GetItem(Index);
  VX1->RemoveLastItem();
  VX1->AddMark(Found.X, Found.Y, CursorMarkType);
  VX1->Redraw();
  if (LblX) LblX->SetCaption(FormatReadout(Found.X));
  if (LblY) LblY->SetCaption(FormatReadout(Found.Y));
}

}  // namespace zkw
