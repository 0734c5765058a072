#include "platform/properties.h"

#include <mutex>

#include "platform/controls.h"
#include "platform/forms.h"

namespace zkw {

namespace {

struct TRegistry {
  std::vector<std::unique_ptr<TClassInfo>> Classes;
};

TRegistry& Registry() {
  static TRegistry R;
  return R;
}

// Bumped by every registration, so cached property lists know they are stale.
unsigned GGeneration = 1;

TClassInfo* FindInRegistry(const std::string& Name) {
  for (auto& C : Registry().Classes)
    if (C->Name() == Name) return C.get();
  return nullptr;
}

void RegisterPlatformClasses();

void EnsurePlatformClasses() {
  static std::once_flag Once;
  std::call_once(Once, RegisterPlatformClasses);
}

struct TColorIdent {
  const char* Name;
  TColor Value;
};

constexpr TColorIdent ColorIdents[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clNone", clNone},
    {"clDefault", clDefault},
};

std::function<bool(const std::string&, TColor&)>& ColorLookupHook() {
  static std::function<bool(const std::string&, TColor&)> Hook;
  return Hook;
}

}  // namespace

// ---------------------------------------------------------------- colour names

bool FindColorIdent(const std::string& Ident, TColor& Color) {
  for (const auto& C : ColorIdents)
    if (SameText(Ident, C.Name)) {
      Color = C.Value;
      return true;
    }
  return false;
}

bool IdentToColor(const std::string& Ident, TColor& Color) {
  if (FindColorIdent(Ident, Color)) return true;
  const auto& Hook = ColorLookupHook();
  return Hook && Hook(Ident, Color);
}

bool ColorToIdent(TColor Color, std::string& Ident) {
  for (const auto& C : ColorIdents)
    if (C.Value == Color) {
      Ident = C.Name;
      return true;
    }
  return false;
}

void SetColorNameLookup(std::function<bool(const std::string&, TColor&)> Lookup) {
  ColorLookupHook() = std::move(Lookup);
}

// ---------------------------------------------------------------- class table

const TClassInfo* TClassInfo::Parent() const {
  if (FParentName.empty() || FParentName == FName) return nullptr;
  return FindClassInfo(FParentName);
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  if (FCacheGeneration == GGeneration) return FCache;
  std::vector<const TPropInfo*> Result;
  // Guard against a parent chain that loops back (a registration mistake).
  std::vector<const TClassInfo*> Chain;
  for (const TClassInfo* C = this; C; C = C->Parent()) {
    bool Seen = false;
    for (const TClassInfo* S : Chain) Seen = Seen || S == C;
    if (Seen) break;
    Chain.push_back(C);
  }
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It)
    for (const auto& P : (*It)->FProps) {
      bool Replaced = false;
      for (const TPropInfo*& Existing : Result)
        if (SameText(Existing->Name, P->Name)) {
          Existing = P.get();
          Replaced = true;
          break;
        }
      if (!Replaced) Result.push_back(P.get());
    }
  FCache = Result;
  FCacheGeneration = GGeneration;
  return Result;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& PropName) const {
  Properties();
  for (const TPropInfo* P : FCache)
    if (SameText(P->Name, PropName)) return P;
  return nullptr;
}

std::vector<const TFieldInfo*> TClassInfo::Fields() const {
  std::vector<const TFieldInfo*> Result;
  int Depth = 0;
  for (const TClassInfo* C = this; C && Depth < 64; C = C->Parent(), ++Depth)
    for (const auto& F : C->FFields) Result.push_back(F.get());
  return Result;
}

const TFieldInfo* TClassInfo::FindField(const std::string& FieldName) const {
  for (const TFieldInfo* F : Fields())
    if (SameText(F->Name, FieldName)) return F;
  return nullptr;
}

bool TClassInfo::InheritsFrom(const std::string& ClassName) const {
  int Depth = 0;
  for (const TClassInfo* C = this; C && Depth < 64; C = C->Parent(), ++Depth)
    if (C->Name() == ClassName) return true;
  return false;
}

TPropInfo& TClassInfo::AddProperty(TPropInfo Info) {
  ++GGeneration;
  for (auto& P : FProps)
    if (SameText(P->Name, Info.Name)) {
      *P = std::move(Info);
      return *P;
    }
  FProps.push_back(std::make_unique<TPropInfo>(std::move(Info)));
  return *FProps.back();
}

void TClassInfo::AddField(TFieldInfo Info) {
  for (auto& F : FFields)
    if (SameText(F->Name, Info.Name)) {
      *F = std::move(Info);
      return;
    }
  FFields.push_back(std::make_unique<TFieldInfo>(std::move(Info)));
}

TClassInfo& RegisterClassInfo(const std::string& Name, const std::string& ParentName, TComponentFactory Factory) {
  TClassInfo* Info = FindInRegistry(Name);
  if (!Info) {
    ++GGeneration;
    Registry().Classes.push_back(std::make_unique<TClassInfo>(Name, ParentName));
    Info = Registry().Classes.back().get();
  }
  if (Factory) Info->SetFactory(std::move(Factory));
  return *Info;
}

const TClassInfo* FindClassInfo(const std::string& Name) {
  EnsurePlatformClasses();
  return FindInRegistry(Name);
}

std::vector<std::string> RegisteredClassNames() {
  EnsurePlatformClasses();
  std::vector<std::string> Result;
  for (const auto& C : Registry().Classes) Result.push_back(C->Name());
  return Result;
}

// ---------------------------------------------------------------- platform classes

namespace {

constexpr const char* PlatformFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr const char* PlatformAlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};

std::vector<std::pair<std::string, std::int64_t>> CharsetIdents() {
  return {{"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},  {"SYMBOL_CHARSET", 2},   {"MAC_CHARSET", 77},
          {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134},
          {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},  {"TURKISH_CHARSET", 162},
          {"VIETNAMESE_CHARSET", 163}, {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},
          {"BALTIC_CHARSET", 186},     {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},
          {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255}};
}

std::vector<std::pair<std::string, std::int64_t>> CursorIdents() {
  return {{"crDefault", crDefault},     {"crNone", crNone},         {"crArrow", crArrow},
          {"crCross", crCross},         {"crIBeam", crIBeam},       {"crSizeNESW", crSizeNESW},
          {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE}, {"crSizeWE", crSizeWE},
          {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
          {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},     {"crVSplit", crVSplit},
          {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},   {"crNo", crNo},
          {"crAppStart", crAppStart},   {"crHelp", crHelp},         {"crHandPoint", crHandPoint},
          {"crSizeAll", crSizeAll}};
}

void RegisterPlatformClasses() {
  RegisterClass<TPersistent>("TPersistent", "");
  RegisterClass<TComponent>("TComponent", "TPersistent").Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0);

  // Height is what a description stores; Size is accepted on reading.
  RegisterClass<TFont>("TFont", "TPersistent")
      .Int("Charset", &TFont::Charset, &TFont::SetCharset)
      .Idents(CharsetIdents())
      .Color("Color", &TFont::Color, &TFont::SetColor)
      .Int("Height", &TFont::Height, &TFont::SetHeight)
      .String("Name", &TFont::Name, &TFont::SetName)
      .Set("Style", &TFont::Style, &TFont::SetStyle, PlatformFontStyleNames)
      .Int("Size", &TFont::Size, &TFont::SetSize)
      .Stored(false);

  RegisterClass<TControl>("TControl", "TComponent", [](TComponent* Owner) { return new TControl(Owner); })
      .Int("Left", &TControl::Left, &TControl::SetLeft)
      .Int("Top", &TControl::Top, &TControl::SetTop)
      .Int("Width", &TControl::Width, &TControl::SetWidth)
      .Int("Height", &TControl::Height, &TControl::SetHeight)
      .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
      .Idents(CursorIdents())
      .Color("Color", &TControl::Color, &TControl::SetColor, clBtnFace)
      .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
      .Object("Font", &TControl::Font)
      .Stored([](const TControl& C) { return !C.ParentFont(); })
      .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
      .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
      .Event("OnClick", &TControl::OnClick)
      .Event("OnDblClick", &TControl::OnDblClick)
      .Event("OnKeyDown", &TControl::OnKeyDown)
      .Event("OnKeyPress", &TControl::OnKeyPress)
      .Event("OnKeyUp", &TControl::OnKeyUp)
      .Event("OnMouseDown", &TControl::OnMouseDown)
      .Event("OnMouseEnter", &TControl::OnMouseEnter)
      .Event("OnMouseLeave", &TControl::OnMouseLeave)
      .Event("OnMouseMove", &TControl::OnMouseMove)
      .Event("OnMouseUp", &TControl::OnMouseUp)
      .Event("OnMouseWheel", &TControl::OnMouseWheel)
      .Event("OnMouseWheelDown", &TControl::OnMouseWheelDown)
      .Event("OnMouseWheelUp", &TControl::OnMouseWheelUp)
      .Event("OnResize", &TControl::OnResize);

  RegisterClass<TWinControl>("TWinControl", "TControl", [](TComponent* Owner) { return new TWinControl(Owner); });
  RegisterClass<TCustomControl>("TCustomControl", "TWinControl",
                                [](TComponent* Owner) { return new TCustomControl(Owner); });

  // A form stores its client size; its outer size follows from it.
  RegisterClass<TForm>("TForm", "TWinControl", [](TComponent* Owner) { return new TForm(Owner); })
      .Int("Width", &TForm::Width, &TForm::SetWidth)
      .Stored(false)
      .Int("Height", &TForm::Height, &TForm::SetHeight)
      .Stored(false)
      .Bool("ParentFont", &TForm::ParentFont, &TForm::SetParentFont, false)
      .Bool("Visible", &TForm::Visible, &TForm::SetVisible, false)
      .Enum("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle, FormBorderStyleNames, bsSizeable)
      .String("Caption", &TForm::Caption, &TForm::SetCaption, "")
      .Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
      .Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
      .Bool("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder)
      .Bool("Scaled", &TForm::Scaled, &TForm::SetScaled, true)
      .Event("OnActivate", &TForm::OnActivate)
      .Event("OnClose", &TForm::OnClose)
      .Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
      .Int("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight);

  RegisterClass<TLabel>("TLabel", "TControl", [](TComponent* Owner) { return new TLabel(Owner); })
      .Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, PlatformAlignmentNames, taLeftJustify)
      .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
      .String("Caption", &TLabel::Caption, &TLabel::SetCaption, "");

  RegisterClass<TBitBtn>("TBitBtn", "TWinControl", [](TComponent* Owner) { return new TBitBtn(Owner); })
      .String("Caption", &TBitBtn::Caption, &TBitBtn::SetCaption, "")
      .Int("TabOrder", &TBitBtn::TabOrder, &TBitBtn::SetTabOrder);

  // The list of a combo box is filled by its form at run time.
  RegisterClass<TComboBox>("TComboBox", "TWinControl", [](TComponent* Owner) { return new TComboBox(Owner); })
      .Int("TabOrder", &TComboBox::TabOrder, &TComboBox::SetTabOrder)
      .Event("OnChange", &TComboBox::OnChange);

  RegisterClass<TCheckBox>("TCheckBox", "TWinControl", [](TComponent* Owner) { return new TCheckBox(Owner); })
      .String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption, "")
      .Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false)
      .Int("TabOrder", &TCheckBox::TabOrder, &TCheckBox::SetTabOrder);

  RegisterClass<TMemo>("TMemo", "TWinControl", [](TComponent* Owner) { return new TMemo(Owner); })
      .Int("MaxLines", &TMemo::MaxLines, &TMemo::SetMaxLines, 0)
      .Bool("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly, false)
      .Int("TabOrder", &TMemo::TabOrder, &TMemo::SetTabOrder);
}

}  // namespace

}  // namespace zkw
