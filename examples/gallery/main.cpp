// The picture gallery: one PNG per topic of what the chart draws, made by the
// library itself without a display. docs/GALLERY.md shows every picture next
// to the code between its markers below (`[gallery:NAME] Title` ...
// `[/gallery:NAME]`); scripts/gallery.sh rebuilds both, so the pictures and
// the code shown cannot drift apart.
//   zkw_gallery OUTPUT_DIR                  writes the pictures
//   zkw_gallery OUTPUT_DIR --check REF_DIR  writes them, reads each back and
//                                           checks its size and that it is not
//                                           blank; reports pictures that differ
//                                           from those in REF_DIR when REF_DIR's
//                                           fonts.txt names this system
// Picture names start with their topic's name: NAME.png or NAME-*.png.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "platform/gui_app.h"

using namespace zkw;

namespace {

std::string OutDir;

struct TWritten {
  std::string Name;
  int Width;
  int Height;
};
std::vector<TWritten> Written;

// Saves what the chart shows as OutDir/Name.png and notes the size it must have.
void Save(TVexa& Chart, const std::string& Name) {
  Chart.SavePng(OutDir + "/" + Name + ".png");
  Written.push_back({Name, Chart.Width(), Chart.Height()});
}
// Saves the chart's window as it stands, with what the mouse drew on it.
void SaveWindow(TVexa& Chart, const std::string& Name) {
  Chart.WindowSurface().SaveToFile(OutDir + "/" + Name + ".png");
  Written.push_back({Name, Chart.Width(), Chart.Height()});
}

// A chart of Width by Height pixels with both axes of layer 1 shown over the
// given ranges.
void Prepare(TVexa& Chart, int Width, int Height, double XLow, double XHigh, double YLow, double YHigh) {
  Chart.SetBounds(0, 0, Width, Height);
  Chart.Scale1X().SetVisible(true);
  Chart.Scale1Y().SetVisible(true);
  Chart.SetRange(1, {XLow, XHigh}, {YLow, YHigh});
}

void Marks() {
  // [gallery:marks] Mark symbols and character marks
  TVexa Chart(nullptr);
  Chart.SetBounds(0, 0, 560, 330);
  Chart.SetMarginLeft(10);
  Chart.SetMarginRight(10);
  Chart.SetMarginTop(26);
  Chart.SetMarginBottom(10);
  Chart.SetRange(1, {0, 13}, {0, 5});
  Chart.Scale1X().SetVisible(false);
  Chart.Scale1Y().SetVisible(false);
  Chart.SetCaption("Mark symbols 0..51 and character marks");
  Chart.SetCaptionAnchorHoriz(cahChartCenter);
  Chart.SetCaptionAlignment(taCenter);
  Chart.HandleNeeded();
  for (int Kind = 0; Kind <= 51; ++Kind) {
    const double X = Kind % 13 + 0.5, Y = 4.6 - Kind / 13;
    Chart.SetDataColor(clNavy);
    Chart.AddMark(X, Y, static_cast<std::uint8_t>(Kind));
    Chart.SetDataColor(clGray);
    Chart.AddText(X, Y - 0.45, std::to_string(Kind), 8);
  }
  // Kinds 52..255 draw a character of the text font: 200..209 are the
  // digits 0..9, the others their own character code.
  const std::uint8_t Characters[] = {'A', 'Z', 'a', 'x', '?', '@', '~', 200, 203, 209};
  for (int I = 0; I < 10; ++I) {
    Chart.SetDataColor(clMaroon);
    Chart.AddMark(I + 1.5, 0.6, Characters[I]);
    Chart.SetDataColor(clGray);
    Chart.AddText(I + 1.5, 0.15, std::to_string(Characters[I]), 8);
  }
  Save(Chart, "marks");
  // [/gallery:marks]
}

void Lines() {
  // [gallery:lines] Lines, arrows, crosses and many points at once
  TVexa Chart(nullptr);
  Prepare(Chart, 560, 360, 0, 10, 0, 10);
  Chart.SetCaption("Lines, arrows, crosses");
  Chart.HandleNeeded();
  Chart.SetDataColor(clNavy);
  Chart.AddLine(0.5, 9.5, 3, 7);                 // AddLine
  Chart.AddText(1.8, 9.6, "AddLine", 8);
  Chart.SetDataColor(clGreen);
  Chart.SetLineWidth(2);
  Chart.AddMoveTo(4, 7);                         // AddMoveTo / AddDrawTo
  for (int I = 1; I <= 10; ++I) Chart.AddDrawTo(4 + I * 0.25, 8 + std::sin(I * 0.9));
  Chart.SetLineWidth(1);
  Chart.AddText(5.2, 9.6, "AddMoveTo/DrawTo", 8);
  Chart.SetDataColor(clPurple);
  Chart.AddMoveTo(7.5, 7);                       // relative moves in pixels
  Chart.AddDrawRel(40, -60);
  Chart.AddDrawRel(40, 60);
  Chart.AddMoveRel(-60, -30);
  Chart.AddDrawRel(40, 0);
  Chart.AddText(8.5, 9.6, "AddMoveRel/DrawRel", 8);
  Chart.SetDataColor(clRed);
  Chart.AddArrow(0.5, 5, 3, 6, 10);              // one head, at the end
  Chart.AddArrow2(0.5, 4, 3, 5, 10, true);       // two open heads
  Chart.AddText(1.8, 6.5, "AddArrow/AddArrow2", 8);
  Chart.SetDataColor(clTeal);
  Chart.AddLineRel(5, 5, 40, -30);               // 40 px right, 30 px up from (5, 5)
  Chart.AddLineOffs(4, 4, 6, 4, 0, 12);          // both ends 12 px lower
  Chart.AddLine(4, 4, 6, 4);
  Chart.AddText(5, 6.5, "AddLineRel, AddLineOffs", 8);
  Chart.SetDataColor(clMaroon);
  Chart.AddCross(8.5, 5, 1, 0.8);                // half width 1, half height 0.8
  Chart.AddText(8.5, 6.3, "AddCross", 8);
  Chart.SetDataColor(clGray);
  Chart.SetPenStyle(psDash);
  Chart.AddVLine(0.25);                          // across the whole plot
  Chart.AddHLine(3);
  Chart.SetPenStyle(psSolid);
  Chart.AddText(8, 3.6, "AddVLine / AddHLine", 8);
  // Many points in one call each.
  std::vector<double> Xs, Ys, Zs;
  for (int I = 0; I <= 60; ++I) {
    Xs.push_back(0.5 + I * 0.15);
    Ys.push_back(1.5 + std::sin(I * 0.2));
    Zs.push_back(1.5 + 0.5 * std::cos(I * 0.2));
  }
  Chart.SetDataColor(clBlue);
  Chart.AddPolyline(Xs, Ys);                     // AddPolyline
  Chart.SetDataColor(clFuchsia);
  Chart.AddMarks(Xs, Zs, 1);                     // AddMarks
  Save(Chart, "lines");
  // [/gallery:lines]
}

void Shapes() {
  // [gallery:shapes] Rectangles, 3D shapes, ellipses, arcs, boxes and error bars
  TVexa Chart(nullptr);
  Prepare(Chart, 560, 360, 0, 10, 0, 10);
  Chart.SetCaption("Rectangles, boxes, ellipses, arcs, error bars");
  Chart.HandleNeeded();
  Chart.SetDataColor(clNavy);
  Chart.SetFillColor(clAqua);
  Chart.AddRect(1.2, 8.4, 2.7, 6.9, true);       // outline only
  Chart.AddRect(0.5, 9, 2, 7.5);                 // filled in FillColor
  // The 3D shapes fill with the brush the item before them left (here the
  // filled rectangle's), so they come before the texts.
  Chart.SetFillColor(clSilver);
  const TFrameStyle Styles[] = {fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved};
  for (int I = 0; I < 5; ++I)                    // AddRect3D in each frame style
    Chart.AddRect3D(3.5 + I * 1.2, 9, 4.4 + I * 1.2, 7.8, Styles[I], clWhite, clGray);
  Chart.SetFillColor(clYellow);
  Chart.SetDataColor(clOlive);
  for (int I = 0; I < 4; ++I)                    // AddBar3D: depth 10 px at 45 degrees
    Chart.AddBar3D(0.5 + I * 0.8, 3.5, 1.0 + I * 0.8, 3.5 + (I + 1) * 0.6, 45, 10);
  Chart.SetDataColor(clMaroon);
  Chart.SetFillColor(clMoneyGreen);
  Chart.AddEllipse(5, 5, 1.2, 0.8);              // filled
  Chart.AddEllipse(5, 5, 0.5, 1.4, true);        // outline only
  Chart.SetDataColor(clRed);
  Chart.SetLineWidth(2);
  Chart.AddArc(8, 5, 1.2, 1.2, 0, 4.7);          // counter-clockwise, radians
  Chart.SetLineWidth(1);
  Chart.SetDataColor(clBlue);
  Chart.SetFillColor(clCream);
  Chart.AddBox(1.5, 1.5, 20, 12);                // 20 by 12 pixels to each side
  Chart.AddBox(3, 1.5, 8, 8, true);
  Chart.SetDataColor(clGreen);
  for (int I = 0; I < 5; ++I)                    // vertical error bars
    Chart.AddErrorBar(5 + I * 0.5, 1.5 + 0.2 * I, 0.3 + 0.1 * I, 0.5, 2, false);
  Chart.AddErrorBar(8.5, 1.5, 0.6, 0.9, 9, true);  // horizontal
  Chart.SetDataColor(clBlack);
  Chart.AddText(1.6, 9.4, "AddRect", 8);
  Chart.AddText(6.3, 9.4, "AddRect3D: simple, lowered, raised, embossed, engraved", 8);
  Chart.AddText(1.8, 6.3, "AddBar3D", 8);
  Chart.AddText(5, 6.8, "AddEllipse", 8);
  Chart.AddText(8, 6.8, "AddArc", 8);
  Chart.AddText(2.2, 2.6, "AddBox", 8);
  Chart.AddText(6, 3.4, "AddErrorBar", 8);
  Save(Chart, "shapes");
  // [/gallery:shapes]
}

void Texts() {
  // [gallery:texts] Texts
  TVexa Chart(nullptr);
  Prepare(Chart, 480, 300, 0, 10, 0, 10);
  Chart.SetCaption("Texts");
  Chart.SetGridStyle(gsDotLines);
  Chart.SetGridColor(clSilver);
  Chart.HandleNeeded();
  Chart.SetDataColor(clBlack);
  Chart.SetTextAlignment(taLeftJustify);
  Chart.AddText(5, 8.5, "left aligned at x = 5", 9);
  Chart.SetTextAlignment(taRightJustify);
  Chart.AddText(5, 7, "right aligned at x = 5", 9);
  Chart.SetTextAlignment(taCenter);
  Chart.AddText(5, 5.5, "centred at x = 5", 9);
  Chart.AddVLine(5);
  Chart.SetTextBkStyle(tbSolid);                 // on a FillColor background
  Chart.SetFillColor(clYellow);
  Chart.SetDataColor(clNavy);
  Chart.AddText(2.5, 3.5, "solid background", 12);
  Chart.SetTextBkStyle(tbClear);
  Chart.SetDataColor(clMaroon);
  Chart.AddText(7.5, 3.5, "14 points", 14);
  Chart.SetDataColor(clRed);
  Chart.AddMark(5, 1.5, 9);
  Chart.SetDataColor(clBlue);
  Chart.AddTextOffs(5, 1.5, 0, -18, "AddTextOffs: 18 px above the mark", 8);
  Save(Chart, "texts");
  // [/gallery:texts]
}

void Annotations() {
  // [gallery:annotation] Annotations and pixel coordinates
  TVexa Chart(nullptr);
  Prepare(Chart, 480, 300, 0, 100, -1.2, 1.2);
  Chart.SetCaption("Data and annotations");
  Chart.HandleNeeded();
  // Annotations go to a store of their own, drawn over the data (their
  // texts last of all) and kept when the data are cleared.
  Chart.SetAnnotationMode(true);
  Chart.SetDataColor(clRed);
  Chart.SetFillColor(clCream);
  Chart.AddRect(60, 1.1, 98, 0.7);
  Chart.SetDataColor(clMaroon);
  Chart.AddText(79, 0.9, "annotation (world)", 8);
  // The integer form of AddMark takes pixels from the plot's top-left
  // corner in annotation mode, world coordinates otherwise.
  for (int I = 0; I < 5; ++I) Chart.AddMarkInt(20 + I * 16, 20, 9);
  Chart.AddText(12, 0.85, "AddMarkInt: pixels", 8);
  Chart.SetAnnotationMode(false);
  std::vector<double> Xs, Ys;
  for (int I = 0; I <= 200; ++I) {
    Xs.push_back(I * 0.5);
    Ys.push_back(std::sin(I * 0.05));
  }
  Chart.SetDataColor(clGray);
  Chart.AddPolyline(Xs, Ys);
  Chart.ClearItems();                            // the data go, the annotations stay
  for (double& Y : Ys) Y = 0.5 * Y - 0.3;
  Chart.SetDataColor(clNavy);
  Chart.SetLineWidth(2);
  Chart.AddPolyline(Xs, Ys);
  Chart.AddMarkInt(50, 0, 9);                    // world coordinates in the data store
  Chart.AddText(50, 0.12, "AddMarkInt(50, 0)", 8);
  Save(Chart, "annotation");
  // [/gallery:annotation]
}

void Scales() {
  // [gallery:scale] Axes: linear, logarithmic, reversed, time and date scales
  // Linear numbers with the decimals chosen from the tick step.
  TVexa Lin(nullptr);
  Prepare(Lin, 360, 220, -0.5, 2.5, 0, 1e4);
  Lin.Scale1X().SetCaption("linear, decimals from the step");
  Lin.Scale1Y().SetDecPlaces(0);
  Lin.SetGridStyle(gsLines);
  Lin.SetGridColor(clSilver);
  Lin.SetMarginLeft(60);
  Lin.HandleNeeded();
  Save(Lin, "scale-linear");

  // Logarithmic y: a decade per tick.
  TVexa Log(nullptr);
  Prepare(Log, 360, 220, 0, 5, 1, 1e5);
  Log.Scale1Y().SetLogarithmic(true);
  Log.Scale1Y().SetCaption("log");
  Log.SetGridStyle(gsHorizLines);
  Log.SetGridColor(clSilver);
  Log.SetMarginLeft(60);
  Log.HandleNeeded();
  Log.SetDataColor(clBlue);
  Log.AddMoveTo(0, 1);
  for (int I = 1; I <= 50; ++I) Log.AddDrawTo(I * 0.1, std::pow(10.0, I * 0.1));
  Save(Log, "scale-log");

  // Reversed: a range from high to low turns the axis round.
  TVexa Rev(nullptr);
  Prepare(Rev, 360, 220, 10, 0, 100, 0);
  Rev.Scale1X().SetCaption("x from 10 down to 0");
  Rev.HandleNeeded();
  Rev.SetDataColor(clRed);
  Rev.AddLine(0, 0, 10, 100);
  Rev.AddMark(0, 0, 9);
  Rev.SetTextAlignment(taRightJustify);
  Rev.AddText(0.3, 8, "(0, 0)", 8);
  Save(Rev, "scale-reversed");

  // Times: values are seconds, labels hours and minutes.
  TVexa Time(nullptr);
  Prepare(Time, 360, 220, 8 * 3600, 17 * 3600, 0, 1);
  Time.Scale1X().SetLabelType(ftTime);
  Time.Scale1X().SetCaption("ftTime, 8 to 17 hours in seconds");
  Time.Scale1Y().SetLabelType(ftNoFigs);         // ticks without figures
  Time.HandleNeeded();
  Save(Time, "scale-time");

  // Dates: day numbers since 30 Dec 1899, 45000 is 15 Mar 2023.
  TVexa Date(nullptr);
  Prepare(Date, 360, 220, 45000, 45090, 0, 1);
  Date.Scale1X().SetLabelType(ftDateTime);
  Date.Scale1X().DateFormat().SetDateOrder(doDDMMYY);
  Date.Scale1X().DateFormat().SetDateSeparator('.');
  Date.Scale1X().DateFormat().SetYearLength(ylNone);
  Date.Scale1X().SetCaption("ftDateTime, day.month");
  Date.Scale1Y().SetLabelType(ftUserText);       // labels from a list
  Date.Scale1Y().SetUserTickText("none|low|some|half|most|all");  // one per tick
  Date.HandleNeeded();
  Save(Date, "scale-date");
  // [/gallery:scale]
}

void Layers() {
  // [gallery:layers] Several layers with their own axes, one joined
  TVexa Chart(nullptr);
  Chart.SetBounds(0, 0, 560, 340);
  // Layer 1: x at the bottom, y on the left; layer 2: its own y on the
  // right; layer 3 shares layer 1's x range and has a y axis further left.
  Chart.SetStandardLayout(vxl_X1Bottom_Y3Left);
  Chart.SetMarginRight(50);
  Chart.SetCaption("Three layers, x joined");
  Chart.SetRange(1, {0, 10}, {-1.5, 1.5});
  Chart.SetRange(2, {0, 10}, {0, 1000});
  Chart.SetRange(3, {0, 1}, {0, 50});
  Chart.Scale2Y().SetVisible(true);
  Chart.Scale2Y().SetScaleLocation(slRight);
  Chart.Scale2Y().SetScalePos(0);                // next to the plot
  Chart.Scale2Y().SetColorScale(clRed);
  Chart.Scale3Y().SetColorScale(clGreen);
  Chart.Scale3Y().SetScalePos(50);               // 50 px left of layer 1's axis
  Chart.SetMarginLeft(100);
  Chart.Scale1Y().SetColorScale(clNavy);
  Chart.JointLayers().SetXControlledBy(3, 1);    // layer 3 takes layer 1's x range
  Chart.HandleNeeded();
  std::vector<double> Xs, Y1, Y2, Y3;
  for (int I = 0; I <= 100; ++I) {
    Xs.push_back(I * 0.1);
    Y1.push_back(std::sin(I * 0.1));
    Y2.push_back(I * I * 0.1);
    Y3.push_back(25 + 20 * std::cos(I * 0.05));
  }
  Chart.SetCurrentLayer(1);
  Chart.SetDataColor(clNavy);
  Chart.AddPolyline(Xs, Y1);
  Chart.SetCurrentLayer(2);
  Chart.SetDataColor(clRed);
  Chart.AddPolyline(Xs, Y2);
  Chart.SetCurrentLayer(3);
  Chart.SetDataColor(clGreen);
  Chart.AddMarks(Xs, Y3, 1);
  Chart.SetCurrentLayer(1);
  Save(Chart, "layers");
  // [/gallery:layers]
}

void Grids() {
  // [gallery:grid] Grid styles
  const GridStyleType Styles[] = {gsNone,  gsPoints,        gsVertLines,    gsHorizLines,
                                  gsLines, gsHorizDotLines, gsVertDotLines, gsDotLines};
  for (GridStyleType Style : Styles) {
    TVexa Chart(nullptr);
    Prepare(Chart, 240, 170, 0, 10, 0, 10);
    Chart.SetMarginLeft(35);
    Chart.SetMarginRight(20);
    Chart.SetCaption(std::string(EnumName(GridStyleTypeNames, Style)));
    Chart.SetGridStyle(Style);
    Chart.SetGridColor(clGray);
    Chart.HandleNeeded();
    Save(Chart, "grid-" + std::string(EnumName(GridStyleTypeNames, Style)));
  }
  // [/gallery:grid]
}

void Frames() {
  // [gallery:frame] Caption, shadow and frames
  // A flying shadow, coloured window and plot, caption centred above.
  TVexa Flying(nullptr);
  Prepare(Flying, 360, 240, 0, 1, 0, 1);
  Flying.SetShadowWidth(8);
  Flying.SetShadowStyle(ssFlying);
  Flying.SetShadowColor(clGray);
  Flying.SetWindColor(clCream);
  Flying.SetChartColor(clMoneyGreen);
  Flying.SetChartFrameColor(clNavy);
  Flying.SetCaption("ssFlying shadow, caption centred");
  Flying.SetCaptionAnchorHoriz(cahChartCenter);
  Flying.SetCaptionAlignment(taCenter);
  Flying.SetMarginTop(30);
  Flying.HandleNeeded();
  Save(Flying, "frame-flying");

  // A box shadow and the caption at the window's bottom left.
  TVexa Box(nullptr);
  Prepare(Box, 360, 240, 0, 1, 0, 1);
  Box.SetShadowWidth(6);
  Box.SetShadowStyle(ssBox);
  Box.SetShadowColor(clMaroon);
  Box.SetShadowBakColor(clSilver);
  Box.SetChartFrameColor(clRed);
  Box.SetCaption("ssBox shadow, caption bottom left");
  Box.SetCaptionAnchorHoriz(cahControlLeft);
  Box.SetCaptionAnchorVert(cavControlBottom);
  Box.SetCaptionAlignment(taLeftJustify);
  Box.SetCaptionPosX(6);
  Box.SetCaptionPosY(-26);
  Box.SetMarginBottom(50);
  Box.HandleNeeded();
  Save(Box, "frame-box");
  // [/gallery:frame]
}

void CrossHairsAndLabels() {
  // [gallery:crosshairs] Crosshairs and text labels
  TVexa Chart(nullptr);
  Prepare(Chart, 520, 340, 0, 10, 0, 10);
  Chart.SetCaption("Crosshairs and text labels");
  Chart.HandleNeeded();
  const TCrossHMode Modes[] = {chBoth, chCrossBox, chBox, chVert};
  const TColor Colors[] = {clBlue, clRed, clGreen, clPurple};
  for (int I = 1; I <= 4; ++I) {
    TCrossHair& C = Chart.CrossHair(I);
    C.SetLayer(1);
    C.SetColor(Colors[I - 1]);
    C.SetPosX(I * 2.0);
    C.SetPosY(10 - I * 2.0);
    C.SetMode(Modes[I - 1]);
    C.SetLineType(I == 4 ? psDot : psSolid);
  }
  const TTxtLblMode LabelModes[] = {tlsimple, tlBox, tlUnderline, tlShadow};
  for (int I = 1; I <= 4; ++I) {
    TTextLabel& L = Chart.TextLabel(I);
    L.SetCaption(std::string(EnumName(TxtLblModeNames, LabelModes[I - 1])) + " at (" +
                 std::to_string(I * 2) + ", " + std::to_string(10 - I * 2) + ")");
    L.SetLayer(1);
    L.SetAttachToData(tlamBoth);                 // world coordinates of layer 1
    L.SetPosX(I == 4 ? I * 2.0 - 0.2 : I * 2.0 + 0.2);
    L.SetPosY(10 - I * 2.0 + 0.3);
    L.SetAlignment(I == 4 ? taRightJustify : taLeftJustify);
    L.SetMode(LabelModes[I - 1]);
    L.SetShadowDx(3);
    L.SetShadowDy(3);
    L.SetVisible(true);
  }
  TTextLabel& Fixed = Chart.TextLabel(5);        // window pixels: stays put
  Fixed.SetCaption("pixel label at (60, 290)\nsecond line");
  Fixed.SetAttachToData(tlamNone);
  Fixed.SetPosX(60);
  Fixed.SetPosY(290);
  Fixed.SetAlignment(taLeftJustify);
  Fixed.SetMode(tlBox);
  Fixed.SetColorBkg(clYellow);
  Fixed.SetVisible(true);
  Save(Chart, "crosshairs");
  // [/gallery:crosshairs]
}

void BackgroundAreas() {
  // [gallery:background] Background areas
  const TBGAreaMode Modes[] = {bamLeft, bamTop, bamVStripe, bamHStripe, bamRect, bamRectInv};
  for (TBGAreaMode Mode : Modes) {
    TVexa Chart(nullptr);
    Prepare(Chart, 240, 170, 0, 10, 0, 10);
    Chart.SetMarginLeft(35);
    Chart.SetMarginRight(20);
    Chart.SetCaption(std::string(EnumName(BGAreaModeNames, Mode)));
    // The area's bounds are world coordinates of the current layer.
    TBakGndImg& Area = Chart.BackGroundImg();
    Area.SetAreaColor(clMoneyGreen);
    Area.SetAreaLeft(3);
    Area.SetAreaRight(7);
    Area.SetAreaTop(8);
    Area.SetAreaBottom(4);
    Area.SetAreaMode(Mode);
    Chart.HandleNeeded();
    Chart.SetDataColor(clNavy);
    Chart.AddLine(0, 0, 10, 10);
    Save(Chart, "background-" + std::string(EnumName(BGAreaModeNames, Mode)));
  }
  // [/gallery:background]
}

void MousePan() {
  // [gallery:mouse-pan] Mouse: a pan
  // The mouse reaches the chart through MouseDown, MouseMove and MouseUp, as
  // the window system's messages do. A pan moves the data with the pointer.
  TVexa Chart(nullptr);
  Prepare(Chart, 400, 260, 0, 10, 0, 10);
  Chart.SetGridStyle(gsLines);
  Chart.SetGridColor(clSilver);
  Chart.SetMouseAction(maPan);
  Chart.HandleNeeded();
  Chart.SetDataColor(clNavy);
  Chart.SetFillColor(clAqua);
  Chart.AddRect(2, 8, 5, 5);
  Chart.AddEllipse(7, 3, 1.5, 1.5);
  Chart.SetCaption("before the pan");
  Chart.Repaint();
  SaveWindow(Chart, "mouse-pan-1-before");
  Chart.MouseDown(mbLeft, TShiftState{ssLeft}, 150, 120);
  Chart.MouseMove(TShiftState{ssLeft}, 150, 120);
  Chart.SetCaption("during: 80 px right, 40 px down");
  Chart.MouseMove(TShiftState{ssLeft}, 230, 160);
  Chart.Repaint();
  SaveWindow(Chart, "mouse-pan-2-during");
  Chart.MouseUp(mbLeft, TShiftState{}, 230, 160);
  Chart.SetCaption("after the release");
  Chart.Repaint();
  SaveWindow(Chart, "mouse-pan-3-after");
  // [/gallery:mouse-pan]
}

void MouseZoom() {
  // [gallery:mouse-zoom] Mouse: a zoom window
  // A zoom window: press at one corner, drag (the chart draws the window on
  // its surface), release at the other; the window becomes the new range.
  TVexa Chart(nullptr);
  Prepare(Chart, 400, 260, 0, 10, 0, 10);
  Chart.SetGridStyle(gsLines);
  Chart.SetGridColor(clSilver);
  Chart.SetMouseAction(maZoomWindPos);
  Chart.HandleNeeded();
  Chart.SetDataColor(clNavy);
  Chart.SetFillColor(clAqua);
  Chart.AddRect(2, 8, 5, 5);
  Chart.AddEllipse(7, 3, 1.5, 1.5);
  Chart.SetCaption("before the zoom");
  Chart.Repaint();
  SaveWindow(Chart, "mouse-zoom-1-before");
  Chart.SetCaption("during the drag");
  Chart.Repaint();
  Chart.MouseDown(mbLeft, TShiftState{ssLeft}, 90, 40);
  Chart.MouseMove(TShiftState{ssLeft}, 90, 40);
  Chart.MouseMove(TShiftState{ssLeft}, 250, 150);
  SaveWindow(Chart, "mouse-zoom-2-during");      // the window as the drag left it
  Chart.MouseUp(mbLeft, TShiftState{}, 250, 150);
  Chart.SetCaption("after the release");
  Chart.Repaint();
  SaveWindow(Chart, "mouse-zoom-3-after");
  // [/gallery:mouse-zoom]
}

void Resolution() {
  // [gallery:resolution] Resolution: the exact raster, native ratio 2, anti-aliased, SVG
  // The same chart four ways, each 2 x 260 by 2 x 180 pixels: the exact
  // raster at ratio 1 as a ratio-2 screen would enlarge it, drawn natively at
  // device scale 2, anti-aliased at 2, and the SVG file drawn back at 2.
  TVexa Chart(nullptr);
  Prepare(Chart, 260, 180, 0, 10, 0, 10);
  Chart.SetCaption("y = 8 sin x");
  Chart.SetMarginBottom(30);
  Chart.SetDataColor(clNavy);
  for (int I = 0; I <= 20; ++I) Chart.AddMark(0.5 * I, 5 + 4 * std::sin(0.5 * I), 26);
  Chart.SetDataColor(clRed);
  Chart.AddMoveTo(0, 5);
  for (int I = 1; I <= 100; ++I) Chart.AddDrawTo(0.1 * I, 5 + 4 * std::sin(0.1 * I));
  Chart.SetFillColor(clAqua);
  Chart.AddEllipse(3.3, 8.3, 1.0, 1.0);
  Chart.SetDataColor(clBlack);
  Chart.AddText(6.2, 9.2, "peak at 7.85", 9);
  Chart.Repaint();
  TBitmap Exact;
  PaintChartPicture(Chart, Exact, 1);
  Exact.Image()
      .scaled(520, 360, Qt::IgnoreAspectRatio, Qt::FastTransformation)
      .save(QString::fromStdString(OutDir + "/resolution-1-raster.png"));
  Chart.SavePng(OutDir + "/resolution-2-native.png", 2);
  Chart.SetAntialiased(true);
  Chart.SavePng(OutDir + "/resolution-3-antialiased.png", 2);
  Chart.SetAntialiased(false);
  Chart.SaveSvg(OutDir + "/resolution.svg");
  QSvgRenderer Svg(QString::fromStdString(OutDir + "/resolution.svg"));
  QImage Back(520, 360, QImage::Format_RGB32);
  Back.fill(Qt::white);
  QPainter Painter(&Back);
  Painter.setRenderHint(QPainter::Antialiasing);
  Svg.render(&Painter);
  Painter.end();
  Back.save(QString::fromStdString(OutDir + "/resolution-4-svg.png"));
  std::filesystem::remove(OutDir + "/resolution.svg");
  // [/gallery:resolution]
  for (const char* Name : {"resolution-1-raster", "resolution-2-native", "resolution-3-antialiased", "resolution-4-svg"})
    Written.push_back({Name, 520, 360});
}

// ---- the check ----------------------------------------------------------------------------

// Trimmed first line of a file, or "" when it cannot be read.
std::string FirstLine(const std::string& Path) {
  std::ifstream In(Path);
  std::string Line;
  std::getline(In, Line);
  while (!Line.empty() && std::isspace(static_cast<unsigned char>(Line.back()))) Line.pop_back();
  return Line;
}

// Reads every written picture back: it must exist, have its chart's size and
// more than one colour. Differences from the reference pictures are reported
// but do not fail: text rendering may change with the font packages.
int Check(const std::string& RefDir) {
  int Failures = 0;
  const std::string System = FirstLine("/etc/debian_version");
  const std::string RefSystem = FirstLine(RefDir + "/fonts.txt");
  const bool Compare = !System.empty() && System == RefSystem;
  if (!Compare)
    std::cout << "note: reference pictures were made on '" << RefSystem << "', this system is '" << System
              << "'; not comparing\n";
  int Differing = 0;
  for (const TWritten& W : Written) {
    const std::string Path = OutDir + "/" + W.Name + ".png";
    QImage Image;
    if (!Image.load(QString::fromStdString(Path))) {
      std::cout << "FAIL " << W.Name << ": not written or not a PNG\n";
      ++Failures;
      continue;
    }
    if (Image.width() != W.Width || Image.height() != W.Height) {
      std::cout << "FAIL " << W.Name << ": " << Image.width() << "x" << Image.height() << ", the chart is "
                << W.Width << "x" << W.Height << "\n";
      ++Failures;
    }
    const QImage Rgb = Image.convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> Colours;
    for (int Y = 0; Y < Rgb.height() && Colours.size() < 2; ++Y)
      for (int X = 0; X < Rgb.width() && Colours.size() < 2; ++X) Colours.insert(Rgb.pixel(X, Y));
    if (Colours.size() < 2) {
      std::cout << "FAIL " << W.Name << ": blank (one colour)\n";
      ++Failures;
    }
    if (!Compare) continue;
    QImage Ref;
    if (!Ref.load(QString::fromStdString(RefDir + "/" + W.Name + ".png"))) {
      std::cout << "note: " << W.Name << " has no committed picture\n";
      continue;
    }
    const QImage RefRgb = Ref.convertToFormat(QImage::Format_RGB32);
    if (RefRgb.size() != Rgb.size()) {
      std::cout << "note: " << W.Name << " differs from the committed picture in size\n";
      ++Differing;
      continue;
    }
    long Pixels = 0;
    for (int Y = 0; Y < Rgb.height(); ++Y)
      for (int X = 0; X < Rgb.width(); ++X)
        if (Rgb.pixel(X, Y) != RefRgb.pixel(X, Y)) ++Pixels;
    if (Pixels > 0) {
      std::cout << "note: " << W.Name << " differs from the committed picture in " << Pixels
                << " pixels (run scripts/gallery.sh if the change is meant)\n";
      ++Differing;
    }
  }
  std::cout << Written.size() << " pictures checked, " << Failures << " failed";
  if (Compare) std::cout << ", " << Differing << " differ from the committed ones";
  std::cout << "\n";
  return Failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--check")) {
    std::cerr << "usage: zkw_gallery OUTPUT_DIR [--check REFERENCE_DIR]\n";
    return 2;
  }
  OutDir = argv[1];
  try {
    std::filesystem::create_directories(OutDir);
    InitHeadless();
    Marks();
    Lines();
    Shapes();
    Texts();
    Annotations();
    Scales();
    Layers();
    Grids();
    Frames();
    CrossHairsAndLabels();
    BackgroundAreas();
    MousePan();
    MouseZoom();
    Resolution();
    std::cout << "wrote " << Written.size() << " pictures to " << OutDir << "\n";
    if (argc == 4) return Check(argv[3]);
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "zkw_gallery: " << E.what() << "\n";
    return 1;
  }
}
