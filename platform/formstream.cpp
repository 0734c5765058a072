#include "platform/formstream.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/controls.h"
#include "platform/properties.h"

namespace zkw {

namespace {

using Json = nlohmann::ordered_json;

// Deeper nesting than this is refused rather than recursed into.
constexpr int MaxDepth = 64;

[[noreturn]] void Fail(const std::string& Path, const std::string& Message) {
  throw EReadError(Path.empty() ? Message : Path + ": " + Message);
}

std::string Join(const std::string& Prefix, const std::string& Name) {
  return Prefix.empty() ? Name : Prefix + "." + Name;
}

std::string JsonTypeName(const Json& V) {
  if (V.is_number()) return "a number";
  if (V.is_string()) return "a string";
  if (V.is_boolean()) return "a boolean";
  if (V.is_array()) return "a list";
  if (V.is_object()) return "an object";
  return "null";
}

std::string NameList(const std::vector<std::string>& Names) {
  std::string R;
  for (const auto& N : Names) R += (R.empty() ? "" : ", ") + N;
  return R;
}

bool ParseHex(const std::string& S, std::int64_t& Value) {
  std::string Digits;
  if (S.size() > 1 && S[0] == '$')
    Digits = S.substr(1);
  else if (S.size() > 2 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X'))
    Digits = S.substr(2);
  else
    return false;
  if (Digits.empty() || Digits.size() > 8) return false;
  std::int64_t V = 0;
  for (char C : Digits) {
    int D;
    if (C >= '0' && C <= '9')
      D = C - '0';
    else if (C >= 'a' && C <= 'f')
      D = C - 'a' + 10;
    else if (C >= 'A' && C <= 'F')
      D = C - 'A' + 10;
    else
      return false;
    V = V * 16 + D;
  }
  Value = V;
  return true;
}

// Integer value of a JSON number that must be integral.
bool JsonInteger(const Json& V, std::int64_t& Out, bool& TooBig) {
  TooBig = false;
  if (V.is_number_unsigned()) {
    const auto U = V.get<std::uint64_t>();
    if (U > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      TooBig = true;
      return true;
    }
    Out = static_cast<std::int64_t>(U);
    return true;
  }
  if (V.is_number_integer()) {
    Out = V.get<std::int64_t>();
    return true;
  }
  return false;
}

struct TFixup {
  TPersistent* Object;
  const TPropInfo* Prop;
  std::string ComponentName;
  std::string Path;
};

struct TConnected {
  TPersistent* Object;
  const TPropInfo* Prop;
};

class TReader {
 public:
  explicit TReader(TComponent& Root) : FRoot(Root) {}

  void Read(const Json& Doc) {
    const TClassInfo* Info = CheckHeader(Doc, "");
    const std::string ClassName = Doc["class"].get<std::string>();
    if (ClassName != FRoot.ClassName())
      Fail("", "the description holds a " + ClassName + ", the form is a " + FRoot.ClassName());
    FRoot.SetLoading(true);
    try {
      const std::string Name = Doc["object"].get<std::string>();
      SetComponentName(FRoot, Name, Name);
      if (Doc.contains("properties")) ReadProperties(FRoot, *Info, Doc["properties"], "", FRoot, "", 0);
      if (Doc.contains("children")) ReadChildren(Doc["children"], FRoot, "", 0);
      ResolveFixups();
      for (TComponent* C : FCreated) RunLoaded(*C);
      RunLoaded(FRoot);
    } catch (...) {
      Cleanup();
      throw;
    }
  }

 private:
  const TClassInfo* CheckHeader(const Json& Doc, const std::string& Path) {
    if (!Doc.is_object()) Fail(Path, "expected a component description (an object), found " + JsonTypeName(Doc));
    for (const auto& [Key, Value] : Doc.items())
      if (Key != "object" && Key != "class" && Key != "properties" && Key != "children")
        Fail(Path, "unknown key \"" + Key + "\"");
    if (!Doc.contains("object") || !Doc["object"].is_string()) Fail(Path, "\"object\" must name the component");
    if (!Doc.contains("class") || !Doc["class"].is_string()) Fail(Path, "\"class\" must name its class");
    if (Doc.contains("properties") && !Doc["properties"].is_object()) Fail(Path, "\"properties\" must be an object");
    if (Doc.contains("children") && !Doc["children"].is_array()) Fail(Path, "\"children\" must be a list");
    const std::string ClassName = Doc["class"].get<std::string>();
    const TClassInfo* Info = FindClassInfo(ClassName);
    if (!Info) Fail(Path, "unknown class " + ClassName);
    return Info;
  }

  void SetComponentName(TComponent& C, const std::string& Name, const std::string& Path) {
    try {
      C.SetName(Name);
    } catch (const std::exception& E) {
      Fail(Path, E.what());
    }
  }

  void ReadChildren(const Json& List, TComponent& Container, const std::string& ContainerPath, int Depth) {
    if (Depth >= MaxDepth) Fail(ContainerPath, "components nested too deeply");
    for (const Json& Child : List) ReadChild(Child, Container, ContainerPath, Depth + 1);
  }

  void ReadChild(const Json& Doc, TComponent& Container, const std::string& ContainerPath, int Depth) {
    const std::string Hint =
        Doc.is_object() && Doc.contains("object") && Doc["object"].is_string() ? Doc["object"].get<std::string>() : "";
    const std::string Where = Hint.empty() ? Join(ContainerPath, "(child)") : Hint;
    const TClassInfo* Info = CheckHeader(Doc, Where);
    const std::string Name = Doc["object"].get<std::string>();
    if (!Info->Factory()) Fail(Name, Info->Name() + " is not a component class that can be created");
    if (!Name.empty() && (FRoot.FindComponent(Name) || SameText(Name, FRoot.Name())))
      Fail(Name, "a component of this name exists already");
    if (!Name.empty() && !IsValidIdent(Name)) Fail(Name, "\"" + Name + "\" is not a valid component name");

    TComponent* C = nullptr;
    try {
      C = Info->Factory()(&FRoot);
    } catch (const EReadError&) {
      throw;
    } catch (const std::exception& E) {
      Fail(Name, "cannot create " + Info->Name() + ": " + E.what());
    }
    if (!C) Fail(Name, "cannot create " + Info->Name());
    if (C->Owner() != &FRoot) FRoot.InsertComponent(C);
    FCreated.push_back(C);
    C->SetLoading(true);
    SetComponentName(*C, Name, Name);

    if (auto* Control = dynamic_cast<TControl*>(C)) {
      auto* Parent = dynamic_cast<TWinControl*>(&Container);
      if (!Parent) Fail(Name, Container.Name() + " cannot hold controls");
      try {
        Control->SetParent(Parent);
      } catch (const std::exception& E) {
        Fail(Name, E.what());
      }
    }
    if (const TClassInfo* RootInfo = FindClassInfo(FRoot.ClassName()))
      if (const TFieldInfo* Field = RootInfo->FindField(Name)) {
        if (!Field->Set(FRoot, C)) Fail(Name, "the form's field " + Field->Name + " cannot hold a " + Info->Name());
        FBoundFields.push_back(Field);
      }

    if (Doc.contains("properties")) ReadProperties(*C, *Info, Doc["properties"], Name, *C, "", 0);
    if (Doc.contains("children")) ReadChildren(Doc["children"], *C, Name, Depth);
  }

  // Applies the values of Props to Obj in file order. Binding/BindingPath
  // name the component that remembers event handler names and the path of
  // Obj below it.
  void ReadProperties(TPersistent& Obj, const TClassInfo& Info, const Json& Props, const std::string& Path,
                      TComponent& Binding, const std::string& BindingPath, int Depth) {
    if (Depth >= MaxDepth) Fail(Path, "objects nested too deeply");
    for (const auto& [Key, Value] : Props.items()) {
      const std::string PropPath = Join(Path, Key);
      const TPropInfo* Prop = Info.FindProperty(Key);
      if (!Prop) Fail(PropPath, "unknown property of " + Info.Name());
      ReadValue(Obj, *Prop, Value, PropPath, Binding, Join(BindingPath, Prop->Name), Depth);
    }
  }

  void ReadValue(TPersistent& Obj, const TPropInfo& Prop, const Json& V, const std::string& Path, TComponent& Binding,
                 const std::string& BindingPath, int Depth) {
    switch (Prop.Kind) {
      case pkInteger: {
        std::int64_t I = 0;
        bool TooBig = false;
        if (V.is_string()) {
          const std::string S = V.get<std::string>();
          bool Found = false;
          for (const auto& [Ident, Value] : Prop.Idents)
            if (SameText(Ident, S)) {
              I = Value;
              Found = true;
              break;
            }
          if (!Found) Fail(Path, Prop.Idents.empty() ? "expected an integer" : "unknown identifier " + S);
        } else if (!JsonInteger(V, I, TooBig)) {
          Fail(Path, "expected an integer");
        }
        if (TooBig || I < Prop.MinValue || I > Prop.MaxValue)
          Fail(Path, V.dump() + " is out of range " + std::to_string(Prop.MinValue) + ".." +
                         std::to_string(Prop.MaxValue));
        Apply(Path, [&] { Prop.SetOrd(Obj, I); });
        return;
      }
      case pkFloat: {
        double D = 0;
        if (V.is_number()) {
          D = V.get<double>();
        } else if (V.is_string() && SameText(V.get<std::string>(), "NaN")) {
          D = std::numeric_limits<double>::quiet_NaN();
        } else if (V.is_string() && SameText(V.get<std::string>(), "INF")) {
          D = std::numeric_limits<double>::infinity();
        } else if (V.is_string() && SameText(V.get<std::string>(), "-INF")) {
          D = -std::numeric_limits<double>::infinity();
        } else {
          Fail(Path, "expected a number");
        }
        Apply(Path, [&] { Prop.SetFloat(Obj, D); });
        return;
      }
      case pkBoolean:
        if (!V.is_boolean()) Fail(Path, "expected true or false");
        Apply(Path, [&] { Prop.SetOrd(Obj, V.get<bool>() ? 1 : 0); });
        return;
      case pkString:
        if (!V.is_string()) Fail(Path, "expected a string");
        Apply(Path, [&] { Prop.SetStr(Obj, V.get<std::string>()); });
        return;
      case pkChar: {
        if (!V.is_string() || V.get<std::string>().size() != 1) Fail(Path, "expected a single character");
        const char Ch = V.get<std::string>()[0];
        Apply(Path, [&] { Prop.SetOrd(Obj, Ch); });
        return;
      }
      case pkEnum: {
        if (!V.is_string()) Fail(Path, "expected an enumerator name");
        const std::int64_t Ord = EnumOrdinal(Prop, V.get<std::string>(), Path);
        Apply(Path, [&] { Prop.SetOrd(Obj, Ord); });
        return;
      }
      case pkSet: {
        if (!V.is_array()) Fail(Path, "expected a list of names");
        std::int64_t Bits = 0;
        for (const Json& Item : V) {
          if (!Item.is_string()) Fail(Path, "expected a list of names");
          const std::int64_t Ord = EnumOrdinal(Prop, Item.get<std::string>(), Path);
          if (Ord >= 32) Fail(Path, "set element out of range");
          Bits |= std::int64_t{1} << Ord;
        }
        Apply(Path, [&] { Prop.SetOrd(Obj, Bits); });
        return;
      }
      case pkColor: {
        std::int64_t C = 0;
        bool TooBig = false;
        if (V.is_string()) {
          const std::string S = V.get<std::string>();
          TColor Named = 0;
          if (IdentToColor(S, Named))
            C = Named;
          else if (ParseHex(S, C))
            C = static_cast<std::int32_t>(static_cast<std::uint32_t>(C));
          else
            Fail(Path, "unknown colour " + S);
        } else if (JsonInteger(V, C, TooBig)) {
          // Colours may be written signed or as their unsigned 32-bit pattern.
          if (TooBig || C < std::numeric_limits<std::int32_t>::min() || C > std::numeric_limits<std::uint32_t>::max())
            Fail(Path, V.dump() + " is out of range for a colour");
          C = static_cast<std::int32_t>(static_cast<std::uint32_t>(C));
        } else {
          Fail(Path, "expected a colour name or number");
        }
        Apply(Path, [&] { Prop.SetOrd(Obj, C); });
        return;
      }
      case pkObject: {
        if (!V.is_object()) Fail(Path, "expected an object");
        TPersistent& Sub = Prop.GetObject(Obj);
        const TClassInfo* SubInfo = FindClassInfo(Sub.ClassName());
        if (!SubInfo) Fail(Path, "class " + Sub.ClassName() + " is not registered");
        ReadProperties(Sub, *SubInfo, V, Path, Binding, BindingPath, Depth + 1);
        return;
      }
      case pkEvent: {
        if (V.is_null() || (V.is_string() && V.get<std::string>().empty())) {
          Prop.ClearEvent(Obj);
          Binding.SetEventBinding(BindingPath, "");
          return;
        }
        if (!V.is_string()) Fail(Path, "expected the name of a handler");
        const std::string Handler = V.get<std::string>();
        const std::any* Fn = FRoot.FindHandler(Handler);
        if (!Fn) Fail(Path, FRoot.ClassName() + " has no handler named " + Handler);
        if (!Prop.ConnectEvent(Obj, *Fn)) Fail(Path, "handler " + Handler + " does not fit the event");
        FConnected.push_back({&Obj, &Prop});
        Binding.SetEventBinding(BindingPath, Handler);
        return;
      }
      case pkComponent:
        if (V.is_null()) {
          Apply(Path, [&] { Prop.SetComponent(Obj, nullptr); });
          return;
        }
        if (!V.is_string()) Fail(Path, "expected a component name");
        FFixups.push_back({&Obj, &Prop, V.get<std::string>(), Path});
        return;
    }
  }

  std::int64_t EnumOrdinal(const TPropInfo& Prop, const std::string& Name, const std::string& Path) {
    for (std::size_t I = 0; I < Prop.Names.size(); ++I)
      if (SameText(Prop.Names[I], Name)) return static_cast<std::int64_t>(I);
    Fail(Path, "unknown enumerator " + Name + " (expected one of " + NameList(Prop.Names) + ")");
  }

  // Runs a setter; its own errors become reading errors naming the path.
  template <typename F>
  void Apply(const std::string& Path, F&& Setter) {
    try {
      Setter();
    } catch (const EReadError&) {
      throw;
    } catch (const std::exception& E) {
      Fail(Path, E.what());
    }
  }

  void ResolveFixups() {
    for (const TFixup& F : FFixups) {
      TComponent* Target = SameText(F.ComponentName, FRoot.Name()) ? &FRoot : FRoot.FindComponent(F.ComponentName);
      if (!Target || F.ComponentName.empty()) Fail(F.Path, "unknown component " + F.ComponentName);
      bool Fits = false;
      Apply(F.Path, [&] { Fits = F.Prop->SetComponent(*F.Object, Target); });
      if (!Fits)
        Fail(F.Path, F.ComponentName + (F.Prop->TypeName.empty() ? std::string(" is not of the referenced class")
                                                                  : " is not a " + F.Prop->TypeName));
    }
  }

  void RunLoaded(TComponent& C) {
    try {
      C.Loaded();
    } catch (const EReadError&) {
      throw;
    } catch (const std::exception& E) {
      Fail(C.Name(), E.what());
    }
    C.SetLoading(false);
  }

  // Undo what can be undone: the root is the program's and stays, without
  // handlers, fields or children from this description.
  void Cleanup() noexcept {
    for (const TConnected& E : FConnected)
      if (E.Object == &FRoot) E.Prop->ClearEvent(FRoot);
    FRoot.ClearEventBindings();
    for (const TFieldInfo* F : FBoundFields) F->Set(FRoot, nullptr);
    for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It) delete *It;
    FCreated.clear();
    FRoot.SetLoading(false);
  }

  TComponent& FRoot;
  std::vector<TComponent*> FCreated;
  std::vector<const TFieldInfo*> FBoundFields;
  std::vector<TFixup> FFixups;
  std::vector<TConnected> FConnected;
};

// ---------------------------------------------------------------- writer

class TWriter {
 public:
  explicit TWriter(const TComponent& Root) : FRoot(Root) {}

  Json Write() { return WriteComponent(FRoot, 0); }

 private:
  const TClassInfo& InfoOf(const TPersistent& Obj) {
    const TClassInfo* Info = FindClassInfo(Obj.ClassName());
    if (!Info) throw Exception("Cannot write a " + Obj.ClassName() + ": the class is not registered");
    return *Info;
  }

  // The component whose "children" list holds C.
  const TComponent* ContainerOf(const TComponent& C) {
    if (const auto* Control = dynamic_cast<const TControl*>(&C))
      if (const TWinControl* P = Control->Parent(); P && (P == &FRoot || P->Owner() == &FRoot)) return P;
    return &FRoot;
  }

  Json WriteComponent(const TComponent& C, int Depth) {
    if (Depth >= MaxDepth) throw Exception("Cannot write " + C.Name() + ": components nested too deeply");
    Json J = Json::object();
    J["object"] = C.Name();
    J["class"] = C.ClassName();
    const std::unique_ptr<TComponent> Reference = FreshInstance(C);
    J["properties"] = WriteProperties(C, InfoOf(C), Reference.get(), C, "", 0);
    Json Children = Json::array();
    for (int I = 0; I < FRoot.ComponentCount(); ++I) {
      const TComponent* Child = FRoot.Components(I);
      // Sub-components come back with their owner; written, they would
      // clash with the ones the owner's constructor makes.
      if (Child->SubComponent()) continue;
      if (Child != &C && ContainerOf(*Child) == &C) Children.push_back(WriteComponent(*Child, Depth + 1));
    }
    if (!Children.empty()) J["children"] = std::move(Children);
    return J;
  }

  // What reading starts from: a new instance of C's class made by the
  // registry's factory, as the reader makes it, and marked as loading. A
  // class without a factory (a form the program constructs) is stood in for
  // by its nearest ancestor that has one, for the properties that ancestor
  // publishes. nullptr when there is none or it cannot be made.
  static std::unique_ptr<TComponent> FreshInstance(const TComponent& C) {
    for (const TClassInfo* Info = FindClassInfo(C.ClassName()); Info; Info = Info->Parent()) {
      if (!Info->Factory()) continue;
      try {
        std::unique_ptr<TComponent> Fresh(Info->Factory()(nullptr));
        if (Fresh) Fresh->SetLoading(true);
        return Fresh;
      } catch (...) {
        return nullptr;
      }
    }
    return nullptr;
  }

  // Whether two objects hold the same value of P, exactly as written (a
  // negative zero is not a zero, two NaNs are equal).
  static bool SameValue(const TPropInfo& P, const TPersistent& A, const TPersistent& B) {
    switch (P.Kind) {
      case pkInteger:
      case pkBoolean:
      case pkChar:
      case pkEnum:
      case pkSet:
      case pkColor:
        return P.GetOrd(A) == P.GetOrd(B);
      case pkFloat: {
        const double X = P.GetFloat(A), Y = P.GetFloat(B);
        if (std::isnan(X) || std::isnan(Y)) return std::isnan(X) && std::isnan(Y);
        return X == Y && std::signbit(X) == std::signbit(Y);
      }
      case pkString:
        return P.GetStr(A) == P.GetStr(B);
      default:
        return true;
    }
  }

  // Applies a written value to the fresh instance through its setter, as the
  // reader will, so that later comparisons see what its side effects did
  // (LabelType ftTime sets DecPlaces, a range end may move the other one).
  static void Replay(const TPropInfo& P, const TPersistent& From, TPersistent& To) {
    try {
      switch (P.Kind) {
        case pkInteger:
        case pkBoolean:
        case pkChar:
        case pkEnum:
        case pkSet:
        case pkColor:
          P.SetOrd(To, P.GetOrd(From));
          break;
        case pkFloat:
          P.SetFloat(To, P.GetFloat(From));
          break;
        case pkString:
          P.SetStr(To, P.GetStr(From));
          break;
        default:
          break;
      }
    } catch (...) {
      // A value its own setter refuses fails the reading anyway.
    }
  }

  // Ref, when given, is the fresh instance of Obj's place (see
  // FreshInstance); a value equal to the stored default is left out only
  // when Ref holds it too.
  Json WriteProperties(const TPersistent& Obj, const TClassInfo& Info, TPersistent* Ref, const TComponent& Binding,
                       const std::string& BindingPath, int Depth) {
    if (Depth >= MaxDepth) throw Exception("Cannot write " + Info.Name() + ": objects nested too deeply");
    std::vector<const TPropInfo*> RefProps;
    if (Ref)
      if (const TClassInfo* RefInfo = FindClassInfo(Ref->ClassName())) RefProps = RefInfo->Properties();
    Json Props = Json::object();
    std::vector<const TPropInfo*> Compared;  // the values Ref stands in for
    for (const TPropInfo* P : Info.Properties()) {
      if (P->IsStored && !P->IsStored(Obj)) continue;
      // The stand-in only speaks for the properties its own class has.
      TPersistent* R = std::find(RefProps.begin(), RefProps.end(), P) != RefProps.end() ? Ref : nullptr;
      if (R && P->Kind != pkObject && P->Kind != pkEvent && P->Kind != pkComponent) Compared.push_back(P);
      if (P->Kind == pkObject) {
        // Reading the description never changes the object, so the
        // non-const getter is safe here.
        TPersistent& Sub = P->GetObject(const_cast<TPersistent&>(Obj));
        TPersistent* RefSub = R ? &P->GetObject(*R) : nullptr;
        if (RefSub && RefSub->ClassName() != Sub.ClassName()) RefSub = nullptr;
        Json V = WriteProperties(Sub, InfoOf(Sub), RefSub, Binding, Join(BindingPath, P->Name), Depth + 1);
        if (!V.empty()) Props[P->Name] = std::move(V);
        continue;
      }
      if (P->IsDefault && P->IsDefault(Obj) && (!R || SameValue(*P, Obj, *R))) continue;
      Json V;
      if (WriteValue(Obj, *P, Binding, Join(BindingPath, P->Name), V)) {
        Props[P->Name] = std::move(V);
        if (R) Replay(*P, Obj, *R);
      }
    }
    // A setter may change a value published before it (LabelType ftTime
    // sets DecPlaces): such a value is moved behind it, where the reader,
    // applying the values in file order, sets it last. Each round moves at
    // least one value; a value no setter reaches stops after the last round.
    for (std::size_t Round = 0; Round <= Compared.size(); ++Round) {
      bool Moved = false;
      for (const TPropInfo* P : Compared) {
        if (SameValue(*P, Obj, *Ref)) continue;
        Json V;
        if (!WriteValue(Obj, *P, Binding, Join(BindingPath, P->Name), V)) continue;
        Props.erase(P->Name);
        Props[P->Name] = std::move(V);
        Replay(*P, Obj, *Ref);
        Moved = true;
      }
      if (!Moved) break;
    }
    return Props;
  }

  bool WriteValue(const TPersistent& Obj, const TPropInfo& P, const TComponent& Binding, const std::string& BindingPath,
                  Json& V) {
    switch (P.Kind) {
      case pkInteger: {
        const std::int64_t I = P.GetOrd(Obj);
        for (const auto& [Ident, Value] : P.Idents)
          if (Value == I) {
            V = Ident;
            return true;
          }
        V = I;
        return true;
      }
      case pkFloat: {
        const double D = P.GetFloat(Obj);
        if (std::isnan(D))
          V = "NaN";
        else if (std::isinf(D))
          V = D > 0 ? "INF" : "-INF";
        else
          V = D;
        return true;
      }
      case pkBoolean:
        V = P.GetOrd(Obj) != 0;
        return true;
      case pkString:
        V = P.GetStr(Obj);
        return true;
      case pkChar:
        V = std::string(1, static_cast<char>(P.GetOrd(Obj)));
        return true;
      case pkEnum: {
        const std::int64_t Ord = P.GetOrd(Obj);
        if (Ord >= 0 && Ord < static_cast<std::int64_t>(P.Names.size()))
          V = P.Names[static_cast<std::size_t>(Ord)];
        else
          V = Ord;
        return true;
      }
      case pkSet: {
        const std::int64_t Bits = P.GetOrd(Obj);
        V = Json::array();
        for (std::size_t I = 0; I < P.Names.size() && I < 32; ++I)
          if (Bits & (std::int64_t{1} << I)) V.push_back(P.Names[I]);
        return true;
      }
      case pkColor: {
        const auto C = static_cast<TColor>(P.GetOrd(Obj));
        std::string Ident;
        if (ColorToIdent(C, Ident))
          V = Ident;
        else
          V = C;
        return true;
      }
      case pkObject:
        return false;  // written by WriteProperties
      case pkEvent: {
        if (!P.EventAssigned(Obj)) return false;
        const std::string Handler = Binding.EventBinding(BindingPath);
        if (Handler.empty()) return false;  // assigned in code: nothing to name
        // The reader looks handlers up on the root: a component written
        // without the form that published its handler cannot name it.
        if (!FRoot.FindHandler(Handler)) return false;
        V = Handler;
        return true;
      }
      case pkComponent: {
        const TComponent* C = P.GetComponent(Obj);
        if (!C || C->Name().empty()) return false;
        V = C->Name();
        return true;
      }
    }
    return false;
  }

  const TComponent& FRoot;
};

}  // namespace

void ReadComponentFromJson(TComponent& Root, const std::string& Text) {
  Json Doc;
  try {
    Doc = Json::parse(Text);
  } catch (const Json::exception& E) {
    throw EReadError(std::string("invalid JSON: ") + E.what());
  }
  TReader(Root).Read(Doc);
}

void ReadComponentFromFile(TComponent& Root, const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  if (!In) throw EReadError(FileName + ": cannot open the form description");
  std::ostringstream S;
  S << In.rdbuf();
  if (In.bad()) throw EReadError(FileName + ": cannot read the form description");
  ReadComponentFromJson(Root, S.str());
}

std::string WriteComponentToJson(const TComponent& Root) {
  const Json Doc = TWriter(Root).Write();
  try {
    return Doc.dump(2) + "\n";
  } catch (const Json::exception& E) {
    // Strings must be UTF-8; anything else would not read back as written.
    throw Exception(std::string("Cannot write the form description: ") + E.what());
  }
}

void WriteComponentToFile(const TComponent& Root, const std::string& FileName) {
  const std::string Text = WriteComponentToJson(Root);
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  if (!Out) throw Exception(FileName + ": cannot write the form description");
  Out << Text;
  if (!Out) throw Exception(FileName + ": cannot write the form description");
}

}  // namespace zkw
