// The shared vocabulary of the chart suite: every enumeration that appears as a
// published property type of the chart, the scale control and their property
// objects, in ordinal order and stored in one byte, with a name table per type
// (indexed by the ordinal, holding the enumerator names exactly as spelled in
// code) so that settings can be shown and streamed by name.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/graphics.h"

namespace zkw {

/// Name table of an enumeration: one entry per enumerator, by ordinal.
template <std::size_t N>
using TEnumNames = std::array<std::string_view, N>;

// --- Enumerations of the base unit -------------------------------------------

enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };
inline constexpr TEnumNames<3> BkgFillNames = {"bfSimple", "bfStretch", "bfTile"};

enum TColorScheme : std::uint8_t { csBWG, csSystem };
inline constexpr TEnumNames<2> ColorSchemeNames = {"csBWG", "csSystem"};

enum TFigType : std::uint8_t { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
inline constexpr TEnumNames<5> FigTypeNames = {"ftNoFigs", "ftNum", "ftTime", "ftDateTime",
                                               "ftUserText"};

/// sctXB/sctXT are horizontal, sctYL/sctYR vertical.
enum TScaleType : std::uint8_t { sctXB, sctXT, sctYL, sctYR };
inline constexpr TEnumNames<4> ScaleTypeNames = {"sctXB", "sctXT", "sctYL", "sctYR"};

enum TVerticalAlignment : std::uint8_t { vaTop, vaCenter, vaBottom };
inline constexpr TEnumNames<3> VerticalAlignmentNames = {"vaTop", "vaCenter", "vaBottom"};

enum TYearLength : std::uint8_t { ylNone, ylYY, ylYYYY };
inline constexpr TEnumNames<3> YearLengthNames = {"ylNone", "ylYY", "ylYYYY"};

enum TDateOrder : std::uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };
inline constexpr TEnumNames<3> DateOrderNames = {"doMMDDYY", "doDDMMYY", "doYYMMDD"};

enum TDateForTime : std::uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
inline constexpr TEnumNames<4> DateForTimeNames = {"dtNone", "dtOnePerChart", "dtOnePerDay",
                                                   "dtAllTicks"};

enum TShadowStyle : std::uint8_t { ssFlying, ssBox };
inline constexpr TEnumNames<2> ShadowStyleNames = {"ssFlying", "ssBox"};

/// Frame looks of DrawFrame3D. The names do not collide with the font styles
/// (fsBold, fsItalic, fsUnderline, fsStrikeOut) of the drawing surface.
enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
inline constexpr TEnumNames<6> FrameStyleNames = {"fsNone",    "fsSimple",   "fsLowered",
                                                  "fsRaised",  "fsEmbossed", "fsEngraved"};

enum TTimeFormat : std::uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
inline constexpr TEnumNames<3> TimeFormatNames = {"tfHHMMSS", "tfHHhMM", "tfAMPM"};

/// chOff hides a crosshair; for picking, chHoriz has only a horizontal part,
/// chVert only a vertical one, the rest have both.
enum TCrossHMode : std::uint8_t { chOff, chHoriz, chVert, chBoth, chCrossBox, chBox };
inline constexpr TEnumNames<6> CrossHModeNames = {"chOff",  "chHoriz",    "chVert",
                                                  "chBoth", "chCrossBox", "chBox"};

/// Which coordinates of a text label are world coordinates (the others are
/// pixels of the chart window).
enum TTxtLblAttachMode : std::uint8_t { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
inline constexpr TEnumNames<4> TxtLblAttachModeNames = {"tlamNone", "tlamXOnly", "tlamYOnly",
                                                        "tlamBoth"};

/// tlOff hides a label (and makes it unpickable). "tlsimple" is spelled in lower case.
enum TTxtLblMode : std::uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
inline constexpr TEnumNames<5> TxtLblModeNames = {"tlOff", "tlsimple", "tlBox", "tlUnderline",
                                                  "tlShadow"};

/// What a left-button drag does on the chart or a scale.
enum TMouseActMode : std::uint8_t {
  maNone,
  maPan,
  maPanHoriz,
  maPanVert,
  maPanGrid,
  maRubberBand,
  maZoom,
  maZoomWind,
  maZoomWindPos,
  maZoomDrag,
  maDragCrossH,
  maDragLabel,
  maRotate,
  maRotAndZoom,
  maRotXOnly,
  maRotZOnly,
  maSelectRect,
  maDrawMTrace,
  maZoomPanColors
};
inline constexpr TEnumNames<19> MouseActModeNames = {
    "maNone",       "maPan",       "maPanHoriz",  "maPanVert",       "maPanGrid",
    "maRubberBand", "maZoom",      "maZoomWind",  "maZoomWindPos",   "maZoomDrag",
    "maDragCrossH", "maDragLabel", "maRotate",    "maRotAndZoom",    "maRotXOnly",
    "maRotZOnly",   "maSelectRect", "maDrawMTrace", "maZoomPanColors"};

/// Internal states of the chart's mouse handling (not published).
enum TMarkRectState : std::uint8_t { msNormal, msFirstCorner, msRectDraw, msFinished };
inline constexpr TEnumNames<4> MarkRectStateNames = {"msNormal", "msFirstCorner", "msRectDraw",
                                                     "msFinished"};

enum TZoomWindState : std::uint8_t { zsNormal, zsDrawWin };
inline constexpr TEnumNames<2> ZoomWindStateNames = {"zsNormal", "zsDrawWin"};

// --- Enumerations of the scale and chart units (kept here so that the whole
// vocabulary stands in one place) ---------------------------------------------

enum TScaleUnitAnchor : std::uint8_t { uaSclTopLft, uaSclCenter, uaSclBotRgt };
inline constexpr TEnumNames<3> ScaleUnitAnchorNames = {"uaSclTopLft", "uaSclCenter",
                                                       "uaSclBotRgt"};

enum TCaptionAnchorHoriz : std::uint8_t {
  cahControlLeft,
  cahChartLeft,
  cahChartCenter,
  cahChartRight,
  cahControlRight
};
inline constexpr TEnumNames<5> CaptionAnchorHorizNames = {
    "cahControlLeft", "cahChartLeft", "cahChartCenter", "cahChartRight", "cahControlRight"};

enum TCaptionAnchorVert : std::uint8_t {
  cavControlTop,
  cavChartTop,
  cavChartCenter,
  cavChartBottom,
  cavControlBottom
};
inline constexpr TEnumNames<5> CaptionAnchorVertNames = {
    "cavControlTop", "cavChartTop", "cavChartCenter", "cavChartBottom", "cavControlBottom"};

enum TBGAreaMode : std::uint8_t {
  bamNone,
  bamLeft,
  bamRight,
  bamTop,
  bamBottom,
  bamVStripe,
  bamHStripe,
  bamRect,
  bamRectInv,
  bamVStripeInv,
  bamHStripeInv
};
inline constexpr TEnumNames<11> BGAreaModeNames = {
    "bamNone",    "bamLeft",    "bamRight", "bamTop",        "bamBottom",    "bamVStripe",
    "bamHStripe", "bamRect",    "bamRectInv", "bamVStripeInv", "bamHStripeInv"};

enum TScaleLocationHoriz : std::uint8_t { slTop, slBottom };
inline constexpr TEnumNames<2> ScaleLocationHorizNames = {"slTop", "slBottom"};

enum TScaleLocationVert : std::uint8_t { slLeft, slRight };
inline constexpr TEnumNames<2> ScaleLocationVertNames = {"slLeft", "slRight"};

enum GridStyleType : std::uint8_t {
  gsNone,
  gsPoints,
  gsVertLines,
  gsHorizLines,
  gsLines,
  gsHorizDotLines,
  gsVertDotLines,
  gsDotLines
};
inline constexpr TEnumNames<8> GridStyleTypeNames = {
    "gsNone",  "gsPoints",        "gsVertLines",    "gsHorizLines",
    "gsLines", "gsHorizDotLines", "gsVertDotLines", "gsDotLines"};

enum TvxLayout : std::uint8_t {
  vxl_X1Bottom_Y1Left,
  vxl_X1Bottom_Y2Left,
  vxl_X1Bottom_Y3Left,
  vxl_X1Bottom_Y4Left,
  vxl_X1Bottom_Y2Both,
  vxl_X2Bottom_Y2Left,
  vxl_X2Both_Y2Both
};
inline constexpr TEnumNames<7> vxLayoutNames = {
    "vxl_X1Bottom_Y1Left", "vxl_X1Bottom_Y2Left", "vxl_X1Bottom_Y3Left", "vxl_X1Bottom_Y4Left",
    "vxl_X1Bottom_Y2Both", "vxl_X2Bottom_Y2Left", "vxl_X2Both_Y2Both"};

enum TTextBkg : std::uint8_t { tbClear, tbSolid };
inline constexpr TEnumNames<2> TextBkgNames = {"tbClear", "tbSolid"};

// --- Name tables of platform enumerations --------------------------------------

inline constexpr TEnumNames<3> AlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
inline constexpr TEnumNames<4> FontStyleNames = {"fsBold", "fsItalic", "fsUnderline",
                                                 "fsStrikeOut"};
inline constexpr TEnumNames<7> PenStyleNames = {"psSolid",      "psDash",  "psDot",
                                                "psDashDot",    "psDashDotDot", "psClear",
                                                "psInsideFrame"};

/// The enumerator's name, or an empty view for an ordinal outside the table.
template <std::size_t N>
constexpr std::string_view EnumName(const TEnumNames<N>& Names, int Ordinal) {
  return Ordinal >= 0 && static_cast<std::size_t>(Ordinal) < N ? Names[Ordinal] : std::string_view{};
}

/// The ordinal of Name in the table (exact spelling), or -1 when it is not there.
template <std::size_t N>
constexpr int EnumOrdinal(const TEnumNames<N>& Names, std::string_view Name) {
  for (std::size_t I = 0; I < N; ++I)
    if (Names[I] == Name) return static_cast<int>(I);
  return -1;
}

}  // namespace zkw
