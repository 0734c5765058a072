// Drawing commands: each appends one item record that captures the chart's
// drawing attributes; nothing is drawn until the host calls Redraw.
#include <cmath>
#include <string>

#include "chart/item_views.h"
#include "chart/vexa.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

// Angles are stored in units of 1e-8 radian in a 32-bit field.
std::int32_t AngleToField(double Radians) {
  return ClampInt(Round(static_cast<Extended>(Radians) * 1e8L), -2147483647, 2147483647);
}

}  // namespace

void TCustomVexa::CaptureAttributes(TvxChartItem& Item, std::uint8_t Kind) const {
  Item.Kind = Kind;
  Item.Layer = FPlot.CurrentLayer;
  Item.ItemClass = FConduct.ClassDefault;
  Item.Color = FConduct.DataColor;
  Item.PenStyle = FConduct.PenStyle;
  Item.Reserved = 0;
  Item.LineWidth = FPlot.LineWidth;
  Item.CoordMode = cmWorld;
}

TvxChartItem& TCustomVexa::NewItem(std::uint8_t Kind) {
  TvxItemStore& Store = FConduct.AnnotationMode ? FAnnotations : FShare.Store();
  TvxChartItem& Item = Store.NextSlot(FConduct.AllocSize);
  CaptureAttributes(Item, Kind);
  return Item;
}

void TCustomVexa::CommitItem() {
  if (FConduct.AnnotationMode) {
    FAnnotations.Commit(false);
    return;
  }
  FShare.Store().Commit(true);
  SyncShares();
}

int TCustomVexa::StoreLongText(const std::string& Text) {
  if (static_cast<int>(Text.size()) <= TShortText::MaxLength) return 0;
  TLongTextArray& Texts = FConduct.AnnotationMode ? FAnnotations.Texts() : FShare.Store().Texts();
  const int Index = Texts.Add(Text);
  if (Index == 0)
    throw EZKWVexaError("Vexa: no room for another long text (all " + std::to_string(TLongTextArray::Size) +
                        " are in use)");
  return Index;
}

void TCustomVexa::SetItemText(TvxChartItem& Item, const std::string& Text, int LongTextIndex) {
  // Index 0: the text fits the record; below 1 tells the renderer so.
  Item.ShortText.Set(LongTextIndex > 0 ? std::string() : Text);
  AsText(Item).LongText = LongTextIndex;
}

void TCustomVexa::AddMark(double X, double Y, std::uint8_t MarkType) {
  TvxChartItem& Item = NewItem(ckMark);
  Item.X = X;
  Item.Y = Y;
  Item.MarkType = MarkType;
  CommitItem();
}

void TCustomVexa::AddMarkInt(int X, int Y, std::uint8_t MarkType) {
  TvxChartItem& Item = NewItem(ckMark);
  Item.X = X;
  Item.Y = Y;
  Item.MarkType = MarkType;
  if (FConduct.AnnotationMode) Item.CoordMode = cmPixel;
  CommitItem();
}

void TCustomVexa::AddLine(double X1, double Y1, double X2, double Y2) {
  TvxChartItem& Item = NewItem(ckLine);
  Item.X = X1;
  Item.Y = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.FillColor = FConduct.FillColor;
  CommitItem();
}

void TCustomVexa::AddMoveTo(double X, double Y) {
  TvxChartItem& Item = NewItem(ckMoveTo);
  Item.X = X;
  Item.Y = Y;
  CommitItem();
}

void TCustomVexa::AddDrawTo(double X, double Y) {
  TvxChartItem& Item = NewItem(ckDrawTo);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  CommitItem();
}

void TCustomVexa::AddMoveRel(double DX, double DY) {
  TvxChartItem& Item = NewItem(ckMoveRel);
  Item.X = DX;
  Item.Y = DY;
  CommitItem();
}

void TCustomVexa::AddDrawRel(double DX, double DY) {
  TvxChartItem& Item = NewItem(ckDrawRel);
  Item.X = DX;
  Item.Y = DY;
  Item.FillColor = FConduct.FillColor;
  CommitItem();
}

void TCustomVexa::AddRect(double X1, double Y1, double X2, double Y2, bool Transparent) {
  TvxChartItem& Item = NewItem(ckRect);
  Item.X = X1;
  Item.Y = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.FillColor = FConduct.FillColor;
  AsRect(Item).Transparent = Transparent;
  CommitItem();
}

void TCustomVexa::AddRect3D(double X1, double Y1, double X2, double Y2, TFrameStyle FrameStyle, TColor Color2,
                            TColor Color3) {
  TvxChartItem& Item = NewItem(ckRect3D);
  Item.X = X1;
  Item.Y = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.FillColor = FConduct.FillColor;
  Item.FrameStyle = FrameStyle;
  Item.Color2 = Color2;
  Item.Color3 = Color3;
  CommitItem();
}

void TCustomVexa::AddBar3D(double X1, double Y1, double X2, double Y2, int Angle, int Depth) {
  TvxChartItem& Item = NewItem(ckBar3D);
  Item.X = X1;
  Item.Y = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.FillColor = FConduct.FillColor;
  TBar3DView Bar = AsBar3D(Item);
  Bar.Angle = Angle;
  Bar.Depth = Depth;
  CommitItem();
}

void TCustomVexa::AddText(double X, double Y, const std::string& Text, int FontSize) {
  const int TextIndex = StoreLongText(Text);  // may refuse before anything changes
  TvxChartItem& Item = NewItem(ckText);
  SetItemText(Item, Text, TextIndex);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TTextView T = AsText(Item);
  T.FontSize = FontSize;
  T.Background = FConduct.TextBkStyle == tbSolid ? 1 : 0;
  T.Alignment = FConduct.TextAlignment;
  CommitItem();
}

void TCustomVexa::AddTextOffs(double X, double Y, double DX, double DY, const std::string& Text, int FontSize) {
  const int TextIndex = StoreLongText(Text);  // may refuse before anything changes
  TvxChartItem& Item = NewItem(ckTextOffs);
  SetItemText(Item, Text, TextIndex);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TTextView T = AsText(Item);
  T.OffsetX = DX;
  T.OffsetY = DY;
  T.FontSize = FontSize;
  T.Background = FConduct.TextBkStyle == tbSolid ? 1 : 0;
  T.Alignment = FConduct.TextAlignment;
  CommitItem();
}

void TCustomVexa::AddEllipse(double X, double Y, double RX, double RY, bool Transparent) {
  TvxChartItem& Item = NewItem(ckEllipse);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TEllipseView Ellipse = AsEllipse(Item);
  Ellipse.RadiusX = RX;
  Ellipse.RadiusY = RY;
  Ellipse.Transparent = Transparent;
  CommitItem();
}

void TCustomVexa::AddArrowOfKind(std::uint8_t Kind, double X1, double Y1, double X2, double Y2, int HeadSize,
                                  bool OpenHeads) {
  TvxChartItem& Item = NewItem(Kind);
  Item.X = X1;
  Item.Y = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.FillColor = FConduct.FillColor;
  TArrowView Arrow = AsArrow(Item);
  Arrow.HeadSize = HeadSize;
  Arrow.OpenHeads = OpenHeads;
  CommitItem();
}

void TCustomVexa::AddArrow(double X1, double Y1, double X2, double Y2, int HeadSize, bool OpenHeads) {
  AddArrowOfKind(ckArrow, X1, Y1, X2, Y2, HeadSize, OpenHeads);
}

void TCustomVexa::AddArrow2(double X1, double Y1, double X2, double Y2, int HeadSize, bool OpenHeads) {
  AddArrowOfKind(ckArrow2, X1, Y1, X2, Y2, HeadSize, OpenHeads);
}

void TCustomVexa::AddBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent) {
  TvxChartItem& Item = NewItem(ckBox);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TBoxView Box = AsBox(Item);
  Box.HalfWidth = HalfWidth;
  Box.HalfHeight = HalfHeight;
  Box.Transparent = Transparent;
  CommitItem();
}

void TCustomVexa::AddErrorBar(double X, double Y, double ErrLow, double ErrHigh, std::uint8_t MarkType,
                              bool Horizontal) {
  TvxChartItem& Item = NewItem(ckErrorBar);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  Item.MarkType = MarkType;
  TErrorBarView Bar = AsErrorBar(Item);
  Bar.ErrLow = std::fabs(ErrLow);
  Bar.ErrHigh = std::fabs(ErrHigh);
  Bar.Direction = Horizontal ? 1 : 0;
  CommitItem();
}

void TCustomVexa::AddLineOffs(double X1, double Y1, double X2, double Y2, int DX, int DY) {
  TvxChartItem& Item = NewItem(ckLineOffs);
  Item.X = X1;
  Item.Y = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.FillColor = FConduct.FillColor;
  TLineOffsView Offs = AsLineOffs(Item);
  Offs.OffsetX = DX;
  Offs.OffsetY = DY;
  CommitItem();
}

void TCustomVexa::AddArc(double X, double Y, double RX, double RY, double StartAngle, double EndAngle) {
  TvxChartItem& Item = NewItem(ckArc);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TArcView Arc = AsArc(Item);
  Arc.RadiusX = RX;
  Arc.RadiusY = RY;
  Arc.StartAngle = AngleToField(StartAngle);
  Arc.EndAngle = AngleToField(EndAngle);
  CommitItem();
}

void TCustomVexa::AddLineRel(double X, double Y, double DX, double DY) {
  TvxChartItem& Item = NewItem(ckLineRel);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TLineRelView Step = AsLineRel(Item);
  Step.DX = DX;
  Step.DY = DY;
  CommitItem();
}

void TCustomVexa::AddVLine(double X) {
  TvxChartItem& Item = NewItem(ckVLine);
  Item.X = X;
  Item.FillColor = FConduct.FillColor;
  CommitItem();
}

void TCustomVexa::AddHLine(double Y) {
  TvxChartItem& Item = NewItem(ckHLine);
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  CommitItem();
}

void TCustomVexa::AddCross(double X, double Y, double HalfWidth, double HalfHeight) {
  TvxChartItem& Item = NewItem(ckCross);
  Item.X = X;
  Item.Y = Y;
  Item.FillColor = FConduct.FillColor;
  TCrossView Cross = AsCross(Item);
  Cross.HalfWidth = HalfWidth;
  Cross.HalfHeight = HalfHeight;
  CommitItem();
}

// ---- bulk data ----

namespace {

void CheckPairs(std::span<const double> Xs, std::span<const double> Ys, const char* Command) {
  if (Xs.size() != Ys.size())
    throw EZKWVexaError(std::string("Vexa: ") + Command + " needs as many y values as x values (got " +
                        std::to_string(Xs.size()) + " x and " + std::to_string(Ys.size()) + " y)");
}

}  // namespace

TvxItemStore& TCustomVexa::BulkStore(std::size_t Count, const char* Command) {
  if (Count > static_cast<std::size_t>(MaxBulkItems))
    throw EZKWVexaError(std::string("Vexa: ") + Command + " cannot add " + std::to_string(Count) +
                        " items at once");
  return FConduct.AnnotationMode ? FAnnotations : FShare.Store();
}

void TCustomVexa::AddMarks(std::span<const double> Xs, std::span<const double> Ys, std::uint8_t MarkType) {
  CheckPairs(Xs, Ys, "AddMarks");
  if (Xs.empty()) return;
  TvxItemStore& Store = BulkStore(Xs.size(), "AddMarks");
  const int N = static_cast<int>(Xs.size());
  const double* X = Xs.data();
  const double* Y = Ys.data();
  Store.Append(N, FConduct.AllocSize, [&](TvxChartItem& Item, int I) {
    CaptureAttributes(Item, ckMark);
    Item.X = X[I];
    Item.Y = Y[I];
    Item.MarkType = MarkType;
  });
  // As AddMark: the data store counts kinds and shares its items.
  if (FConduct.AnnotationMode) return;
  Store.AddKindCount(ckMark, N);
  SyncShares();
}

void TCustomVexa::AddPolyline(std::span<const double> Xs, std::span<const double> Ys) {
  CheckPairs(Xs, Ys, "AddPolyline");
  if (Xs.empty()) return;
  TvxItemStore& Store = BulkStore(Xs.size(), "AddPolyline");
  const int N = static_cast<int>(Xs.size());
  const double* X = Xs.data();
  const double* Y = Ys.data();
  Store.Append(N, FConduct.AllocSize, [&](TvxChartItem& Item, int I) {
    if (I == 0) {
      CaptureAttributes(Item, ckMoveTo);  // AddMoveTo leaves FillColor alone
    } else {
      CaptureAttributes(Item, ckDrawTo);
      Item.FillColor = FConduct.FillColor;
    }
    Item.X = X[I];
    Item.Y = Y[I];
  });
  if (FConduct.AnnotationMode) return;
  Store.AddKindCount(ckMoveTo, 1);
  Store.AddKindCount(ckDrawTo, N - 1);
  SyncShares();
}

TvxChartItem TCustomVexa::GetItem(int Index) const {
  const TvxItemStore& Store = FShare.Store();
  if (Index < 0 || Index >= Store.Count()) RaiseIndexError("GetItem", Index, Store.Count(), "items in the data store");
  return Store.Item(Index);
}

void TCustomVexa::ClearItems() {
  ResizeDataImage();
  DrawPlotBackground(FDataImage.Canvas(), 0, 0, FDataImage.Width(), FDataImage.Height());
  FShare.Store().Clear();
  FNearestIndex.Reset();  // an emptied store gives the index's memory back at once
  FMouseTraceCount = 0;
  SyncShares();
}

void TCustomVexa::RemoveLastItem() {
  FShare.Store().RemoveLast();
  if (FShare.Store().Count() == 0) FNearestIndex.Reset();
  SyncShares();
}

}  // namespace zkw
