#include "chart/paint_settings.h"

#include "chart/scale_props.h"

namespace zkw {

TFontKey TFontKey::Of(const TFont& Font) {
  return {Font.Name(), Font.Height(), Font.Color(), Font.Style().Raw(), Font.PixelsPerInch(), Font.Charset()};
}

void TFontKey::ApplyTo(TFont& Font) const {
  Font.SetName(Name);
  // The resolution first: setting it recomputes the height from the size.
  Font.SetPixelsPerInch(PixelsPerInch);
  Font.SetHeight(Height);
  Font.SetColor(Color);
  Font.SetStyle(TFontStyles::FromRaw(Style));
  Font.SetCharset(Charset);
}

TFont TFontKey::ToFont() const {
  TFont Font;
  ApplyTo(Font);
  return Font;
}

TBackgroundLook TBackgroundLook::Of(const TBakGndImg& Image) {
  return {Image.Name(),      Image.FillMode(), Image.AreaMode(),  Image.AreaColor(),
          Image.AreaLeft(),  Image.AreaTop(),  Image.AreaRight(), Image.AreaBottom()};
}

TCrossHairLook TCrossHairLook::Of(const TCrossHair& C) {
  return {C.PosX(), C.PosY(), C.Layer(), C.Mode(), C.Color(), C.LineType(), C.LineWid()};
}

TTextLabelLook TTextLabelLook::Of(const TCustomTextLabel& L) {
  TTextLabelLook V;
  V.PosX = L.PosX();
  V.PosY = L.PosY();
  V.Layer = L.Layer();
  V.AttachToData = L.AttachToData();
  V.Mode = L.Mode();
  V.Visible = L.Visible();
  V.Caption = L.Caption();
  V.Font = TFontKey::Of(L.Font());
  V.ColorBkg = L.ColorBkg();
  V.ColorBorder = L.ColorBorder();
  V.ColorShadow = L.ColorShadow();
  V.ShadowDx = L.ShadowDx();
  V.ShadowDy = L.ShadowDy();
  V.Transparent = L.Transparent();
  V.Alignment = L.Alignment();
  V.VerticalAlignment = L.VerticalAlignment();
  return V;
}

}  // namespace zkw
