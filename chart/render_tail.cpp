#include "chart/render_tail.h"

#include <cstring>
#include <limits>
#include <type_traits>

#include "chart/render.h"
#include "chart/vexa.h"

namespace zkw {

namespace {

// Appends values byte for byte; two keys are equal exactly when every value
// appended to them was. Extended values take only their significant bytes (the
// rest of their storage is padding of unspecified content).
class TKeyWriter {
 public:
  explicit TKeyWriter(std::string& Out) : FOut(Out) { FOut.clear(); }
  template <typename T>
  void Add(const T& Value) {
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>);
    if constexpr (std::is_same_v<T, long double>) {
      // x87 extended: 10 significant bytes; elsewhere the whole value.
      constexpr std::size_t Bytes = std::numeric_limits<long double>::digits == 64 ? 10 : sizeof(long double);
      char Raw[sizeof(long double)] = {};
      std::memcpy(Raw, &Value, Bytes);
      FOut.append(Raw, Bytes);
    } else {
      char Raw[sizeof(T)];
      std::memcpy(Raw, &Value, sizeof(T));
      FOut.append(Raw, sizeof(T));
    }
  }
  void Add(bool Value) { FOut.push_back(Value ? '\1' : '\0'); }
  void Add(const std::string& Text) {
    Add(static_cast<std::uint64_t>(Text.size()));
    FOut.append(Text);
  }
  void Add(const TLayerTransform& T) {
    Add(T.XFactor), Add(T.XOffset), Add(T.YFactor), Add(T.YOffset), Add(T.XLog), Add(T.YLog);
    Add(T.XLogFloor), Add(T.YLogFloor), Add(T.XFactorD), Add(T.XOffsetD), Add(T.YFactorD), Add(T.YOffsetD);
    Add(T.XQuick), Add(T.YQuick);
  }
  void Add(const TAxisRange& R) { Add(R.Low), Add(R.High), Add(R.Logarithmic); }
  void Add(const TGridAxis& A) {
    Add(A.RangeLow), Add(A.RangeHigh), Add(A.Logarithmic), Add(A.Step), Add(A.ScaleLow), Add(A.ScaleHigh);
    Add(static_cast<std::uint64_t>(A.Ticks.size()));
    for (double T : A.Ticks) Add(T);
  }
  void Add(const TFont& F) {
    Add(F.Name()), Add(F.Height()), Add(F.Color()), Add(F.Style().Raw()), Add(F.PixelsPerInch()), Add(F.Charset());
  }

 private:
  std::string& FOut;
};

}  // namespace

void TKeptDataImage::Invalidate() {
  Valid = false;
  Key.clear();
  Store.reset();
  Image.SetSize(0, 0);
  Renderer = TItemRendererState{};
}

bool KeptImageKey(TCustomVexa& Chart, const TItemRenderFrame& Frame, std::string& Key) {
  Key.clear();
  // Host handlers may draw anything or change anything while the data is
  // drawn, and a background picture is read from its file every time.
  if (Chart.OnBeforeRenderData || Chart.OnDataRendered || Chart.OnBeforeRenderChartItem ||
      Chart.OnBeforeRenderText || !Chart.BackGroundImg().Name().empty()) {
    return false;
  }
  TBitmap& Data = Chart.DataImage();
  if (Data.Width() <= 0 || Data.Height() <= 0) return false;
  TKeyWriter K(Key);
  K.Add(Data.Width()), K.Add(Data.Height());
  // The canvas font the pass starts with: character marks draw in it.
  K.Add(Data.Canvas().Font());
  // Plot background.
  const TBakGndImg& Img = Chart.BackGroundImg();
  K.Add(Chart.ChartColor()), K.Add(Chart.ChartFrameColor()), K.Add(Img.AreaMode()), K.Add(Img.AreaColor());
  K.Add(Img.AreaLeft()), K.Add(Img.AreaTop()), K.Add(Img.AreaRight()), K.Add(Img.AreaBottom());
  K.Add(Chart.CurrentLayer());
  // Grid.
  K.Add(Chart.GridStyle());
  if (Chart.GridStyle() != gsNone) {
    const TGridSettings G = TChartRenderer(Chart).GridSettings();
    K.Add(G.Color), K.Add(G.ChartColor), K.Add(G.Transform), K.Add(G.MarginLeft), K.Add(G.MarginTop);
    K.Add(G.X), K.Add(G.Y);
  }
  // Items: the frame, the pass's initial state and the visibility switches.
  K.Add(Frame.Width), K.Add(Frame.Height), K.Add(Frame.MarginLeft), K.Add(Frame.MarginRight);
  K.Add(Frame.MarginTop), K.Add(Frame.MarginBottom), K.Add(Frame.Left), K.Add(Frame.Top);
  K.Add(Frame.Monochrome), K.Add(Frame.OnPrinter);
  for (std::size_t L = 0; L < Frame.Transforms.size(); ++L) {
    K.Add(Frame.Transforms[L]), K.Add(Frame.XRanges[L]), K.Add(Frame.YRanges[L]);
    K.Add(Chart.LayerVisible(static_cast<int>(L) + 1));
  }
  K.Add(Frame.TextFont != nullptr);
  if (Frame.TextFont) K.Add(Frame.TextFont->Name()), K.Add(Frame.TextFont->Style().Raw());
  K.Add(Frame.AvoidDuplicateMarks), K.Add(Frame.MinDupMarkDist);
  K.Add(Chart.LineWidth());
  for (int C = 0; C < 256; ++C) K.Add(Chart.ClassVisible(static_cast<std::uint8_t>(C), false));
  // The store itself (its changes are checked through its versions) and its
  // long texts, which only grow while the items stay.
  const std::shared_ptr<const TvxItemStore> Store = Chart.DataStoreHandle();
  if (!Store) return false;
  K.Add(reinterpret_cast<std::uintptr_t>(Store.get()));
  K.Add(Store->Texts().Count());
  return true;
}

}  // namespace zkw
