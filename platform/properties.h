// The property registry: for every streamable class its name, its parent
// class, how to create it (components only) and its published properties in
// published order. The form reader and writer work only from this table.
//
// A class registers itself in its own unit, one short typed line per property:
//
//   namespace {
//   const bool Registered = [] {
//     RegisterClass<TVexa>("TVexa", "TCustomVexa", [](TComponent* Owner) { return new TVexa(Owner); })
//         .Int("AllocSize", &TVexa::AllocSize, &TVexa::SetAllocSize, 1000)
//         .Enum("MouseAction", &TVexa::MouseAction, &TVexa::SetMouseAction, MouseActModeNames, maNone)
//         .Color("ChartColor", &TVexa::ChartColor, &TVexa::SetChartColor, clWhite)
//         .Object("Scale1X", &TVexa::Scale1X)
//         .Event("OnMouseMoveInChart", &TVexa::OnMouseMoveInChart)
//         .Component<TCustomVexa>("UseDataOf", &TVexa::UseDataOf, &TVexa::SetUseDataOf);
//     return true;
//   }();
//   }  // namespace
//
// Put that block in the .cpp file that defines the class's constructor, so the
// linker keeps it whenever the class is used. Registration order between
// units does not matter: parents are looked up by name when first needed.
//
// Rules the registry relies on:
//  - getters are const member functions (or callables taking const C&);
//    setters take the value or a const reference;
//  - Object getters return a non-const reference to an owned TPersistent
//    whose ClassName() names a registered class; the reader fills it in place;
//  - a value given as the last argument is the stored default: the writer
//    omits the property while the getter returns it; without one the
//    property is always written;
//  - a property registered again under the same name (in the class or a
//    descendant) replaces the inherited one at its place.
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/components.h"
#include "platform/graphics.h"

namespace zkw {

enum TPropKind : std::uint8_t {
  pkInteger,
  pkFloat,
  pkBoolean,
  pkString,
  pkChar,
  pkEnum,
  pkSet,
  pkColor,
  pkObject,
  pkEvent,
  pkComponent
};

// One published property, type-erased. Integers, booleans, characters,
// enumerations (ordinal), sets (bits) and colours pass as 64-bit ordinals.
struct TPropInfo {
  std::string Name;
  TPropKind Kind = pkInteger;
  std::int64_t MinValue = 0;  // accepted ordinal range for integers
  std::int64_t MaxValue = 0;
  std::vector<std::string> Names;  // enumerators of an enumeration or set
  std::string TypeName;            // class a component reference must have
  // Named constants an integer may be written as (DEFAULT_CHARSET, crCross).
  std::vector<std::pair<std::string, std::int64_t>> Idents;

  std::function<std::int64_t(const TPersistent&)> GetOrd;
  std::function<void(TPersistent&, std::int64_t)> SetOrd;
  std::function<double(const TPersistent&)> GetFloat;
  std::function<void(TPersistent&, double)> SetFloat;
  std::function<std::string(const TPersistent&)> GetStr;
  std::function<void(TPersistent&, const std::string&)> SetStr;
  std::function<TPersistent&(TPersistent&)> GetObject;
  std::function<bool(const TPersistent&)> EventAssigned;
  // false when the handler is not a std::function of the event's type
  std::function<bool(TPersistent&, const std::any&)> ConnectEvent;
  std::function<void(TPersistent&)> ClearEvent;
  std::function<TComponent*(const TPersistent&)> GetComponent;
  // false when the component is not of the referenced class
  std::function<bool(TPersistent&, TComponent*)> SetComponent;

  std::function<bool(const TPersistent&)> IsDefault;  // empty: no stored default
  std::function<bool(const TPersistent&)> IsStored;   // empty: stored
};

using TComponentFactory = std::function<TComponent*(TComponent* Owner)>;

// A published field of a form class (VX1, BitBtn1, ...): the reader points
// it at the component of the same name it creates.
struct TFieldInfo {
  std::string Name;
  // false when the component is not of the field's class; nullptr clears it
  std::function<bool(TComponent& Root, TComponent* Value)> Set;
  std::function<TComponent*(const TComponent& Root)> Get;
};

class TClassInfo {
 public:
  TClassInfo(std::string Name, std::string ParentName) : FName(std::move(Name)), FParentName(std::move(ParentName)) {}
  const std::string& Name() const { return FName; }
  const std::string& ParentName() const { return FParentName; }
  const TClassInfo* Parent() const;  // nullptr for a root or an unregistered parent
  const TComponentFactory& Factory() const { return FFactory; }
  // Own and inherited properties, the parent's first, replaced ones at the
  // place where they were first published.
  std::vector<const TPropInfo*> Properties() const;
  const TPropInfo* FindProperty(const std::string& PropName) const;  // case-insensitive
  std::vector<const TFieldInfo*> Fields() const;
  const TFieldInfo* FindField(const std::string& FieldName) const;
  bool InheritsFrom(const std::string& ClassName) const;

  // Used by TClassRegistrar.
  void SetFactory(TComponentFactory Factory) { FFactory = std::move(Factory); }
  TPropInfo& AddProperty(TPropInfo Info);
  void AddField(TFieldInfo Info);

 private:
  std::string FName;
  std::string FParentName;
  TComponentFactory FFactory;
  std::vector<std::unique_ptr<TPropInfo>> FProps;
  std::vector<std::unique_ptr<TFieldInfo>> FFields;
  // The flattened list, rebuilt when any registration changed since.
  mutable std::vector<const TPropInfo*> FCache;
  mutable unsigned FCacheGeneration = 0;
};

// Registers (or returns the existing entry of) a class.
TClassInfo& RegisterClassInfo(const std::string& Name, const std::string& ParentName, TComponentFactory Factory);
// nullptr for unknown classes (case-sensitive, as C++ class names are).
const TClassInfo* FindClassInfo(const std::string& Name);
std::vector<std::string> RegisteredClassNames();

// Colour names: the cl* identifiers of the platform, then the hook (the base
// layer installs its full colour table there). Case-insensitive.
bool IdentToColor(const std::string& Ident, TColor& Color);
// Only the platform's own cl* identifiers, without the hook.
bool FindColorIdent(const std::string& Ident, TColor& Color);
// The cl* identifier of a colour value, if it has one.
bool ColorToIdent(TColor Color, std::string& Ident);
void SetColorNameLookup(std::function<bool(const std::string&, TColor&)> Lookup);

namespace detail {

template <typename C, typename G>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;

template <typename V>
constexpr std::int64_t OrdMin() {
  return static_cast<std::int64_t>(std::numeric_limits<V>::min());
}
template <typename V>
constexpr std::int64_t OrdMax() {
  if constexpr (sizeof(V) >= sizeof(std::int64_t) && std::is_unsigned_v<V>)
    return std::numeric_limits<std::int64_t>::max();
  else
    return static_cast<std::int64_t>(std::numeric_limits<V>::max());
}

template <typename List>
std::vector<std::string> NameVector(const List& Names) {
  std::vector<std::string> Result;
  for (const auto& N : Names) Result.emplace_back(N);
  return Result;
}

}  // namespace detail

template <typename C>
class TClassRegistrar {
 public:
  explicit TClassRegistrar(TClassInfo& Info) : FInfo(Info) {}

  // Integers of any width; the accepted range is that of the getter's type
  // (narrow it with Range).
  template <typename G, typename S>
  TClassRegistrar& Int(const char* Name, G Getter, S Setter) {
    using V = detail::GetterResult<C, G>;
    static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>, "Int needs an integer getter");
    TPropInfo P = OrdinalProp<V>(Name, pkInteger, Getter, Setter);
    P.MinValue = detail::OrdMin<V>();
    P.MaxValue = detail::OrdMax<V>();
    return Add(std::move(P));
  }
  template <typename G, typename S>
  TClassRegistrar& Int(const char* Name, G Getter, S Setter, std::int64_t Default) {
    Int(Name, Getter, Setter);
    return WithOrdDefault(Default);
  }

  template <typename G, typename S>
  TClassRegistrar& Double(const char* Name, G Getter, S Setter) {
    using V = detail::GetterResult<C, G>;
    static_assert(std::is_floating_point_v<V>, "Double needs a floating-point getter");
    TPropInfo P;
    P.Name = Name;
    P.Kind = pkFloat;
    P.GetFloat = [Getter](const TPersistent& O) {
      return static_cast<double>(std::invoke(Getter, static_cast<const C&>(O)));
    };
    P.SetFloat = [Setter](TPersistent& O, double V2) { std::invoke(Setter, static_cast<C&>(O), static_cast<V>(V2)); };
    return Add(std::move(P));
  }
  template <typename G, typename S>
  TClassRegistrar& Double(const char* Name, G Getter, S Setter, double Default) {
    Double(Name, Getter, Setter);
    TPropInfo& P = *FLast;
    auto Get = P.GetFloat;
    P.IsDefault = [Get, Default](const TPersistent& O) { return Get(O) == Default; };
    return *this;
  }

  template <typename G, typename S>
  TClassRegistrar& Bool(const char* Name, G Getter, S Setter) {
    static_assert(std::is_same_v<detail::GetterResult<C, G>, bool>, "Bool needs a bool getter");
    TPropInfo P = OrdinalProp<bool>(Name, pkBoolean, Getter, Setter);
    P.MaxValue = 1;
    return Add(std::move(P));
  }
  template <typename G, typename S>
  TClassRegistrar& Bool(const char* Name, G Getter, S Setter, bool Default) {
    Bool(Name, Getter, Setter);
    return WithOrdDefault(Default ? 1 : 0);
  }

  template <typename G, typename S>
  TClassRegistrar& String(const char* Name, G Getter, S Setter) {
    TPropInfo P;
    P.Name = Name;
    P.Kind = pkString;
    P.GetStr = [Getter](const TPersistent& O) {
      return std::string(std::invoke(Getter, static_cast<const C&>(O)));
    };
    P.SetStr = [Setter](TPersistent& O, const std::string& V) { std::invoke(Setter, static_cast<C&>(O), V); };
    return Add(std::move(P));
  }
  template <typename G, typename S>
  TClassRegistrar& String(const char* Name, G Getter, S Setter, const std::string& Default) {
    String(Name, Getter, Setter);
    TPropInfo& P = *FLast;
    auto Get = P.GetStr;
    P.IsDefault = [Get, Default](const TPersistent& O) { return Get(O) == Default; };
    return *this;
  }

  // A single character, streamed as a one-character string.
  template <typename G, typename S>
  TClassRegistrar& Char(const char* Name, G Getter, S Setter) {
    static_assert(std::is_same_v<detail::GetterResult<C, G>, char>, "Char needs a char getter");
    TPropInfo P = OrdinalProp<char>(Name, pkChar, Getter, Setter);
    P.MinValue = std::numeric_limits<char>::min();
    P.MaxValue = std::numeric_limits<char>::max();
    return Add(std::move(P));
  }
  template <typename G, typename S>
  TClassRegistrar& Char(const char* Name, G Getter, S Setter, char Default) {
    Char(Name, Getter, Setter);
    return WithOrdDefault(Default);
  }

  // Enumerations stream by enumerator name; Names is a `const char* const[N]`
  // array or a std::array of names in ordinal order.
  template <typename G, typename S, typename List>
  TClassRegistrar& Enum(const char* Name, G Getter, S Setter, const List& Names) {
    using V = detail::GetterResult<C, G>;
    static_assert(std::is_enum_v<V>, "Enum needs an enumeration getter");
    TPropInfo P = OrdinalProp<V>(Name, pkEnum, Getter, Setter);
    P.Names = detail::NameVector(Names);
    P.MaxValue = static_cast<std::int64_t>(P.Names.size()) - 1;
    return Add(std::move(P));
  }
  template <typename G, typename S, typename List, typename D>
  TClassRegistrar& Enum(const char* Name, G Getter, S Setter, const List& Names, D Default) {
    Enum(Name, Getter, Setter, Names);
    return WithOrdDefault(static_cast<std::int64_t>(Default));
  }

  // Sets (TSet<E>) stream as lists of enumerator names.
  template <typename G, typename S, typename List>
  TClassRegistrar& Set(const char* Name, G Getter, S Setter, const List& Names) {
    using V = detail::GetterResult<C, G>;
    TPropInfo P;
    P.Name = Name;
    P.Kind = pkSet;
    P.Names = detail::NameVector(Names);
    P.GetOrd = [Getter](const TPersistent& O) {
      return static_cast<std::int64_t>(std::invoke(Getter, static_cast<const C&>(O)).Raw());
    };
    P.SetOrd = [Setter](TPersistent& O, std::int64_t Bits) {
      std::invoke(Setter, static_cast<C&>(O), V::FromRaw(static_cast<std::uint32_t>(Bits)));
    };
    return Add(std::move(P));
  }
  template <typename G, typename S, typename List, typename D>
  TClassRegistrar& Set(const char* Name, G Getter, S Setter, const List& Names, D Default) {
    Set(Name, Getter, Setter, Names);
    return WithOrdDefault(static_cast<std::int64_t>(Default.Raw()));
  }

  // Colours stream by cl* name where one exists, else as numbers.
  template <typename G, typename S>
  TClassRegistrar& Color(const char* Name, G Getter, S Setter) {
    TPropInfo P = OrdinalProp<TColor>(Name, pkColor, Getter, Setter);
    P.MinValue = std::numeric_limits<TColor>::min();
    P.MaxValue = std::numeric_limits<TColor>::max();
    return Add(std::move(P));
  }
  template <typename G, typename S>
  TClassRegistrar& Color(const char* Name, G Getter, S Setter, TColor Default) {
    Color(Name, Getter, Setter);
    return WithOrdDefault(Default);
  }

  // A nested object owned by C, reached through a getter returning a
  // reference (for example `TFont& Font()`); read in place.
  template <typename B, typename V>
    requires std::derived_from<C, B> && std::derived_from<V, TPersistent>
  TClassRegistrar& Object(const char* Name, V& (B::*Getter)()) {
    return ObjectImpl(Name, [Getter](C& O) -> TPersistent& { return (O.*Getter)(); });
  }
  template <typename G>
    requires(!std::is_member_function_pointer_v<G>) && std::invocable<G, C&>
  TClassRegistrar& Object(const char* Name, G Getter) {
    return ObjectImpl(Name, [Getter](C& O) -> TPersistent& { return std::invoke(Getter, O); });
  }

  // An event: a std::function member. The reader connects a handler that
  // the form published under the name the description gives.
  template <typename B, typename F>
    requires std::derived_from<C, B>
  TClassRegistrar& Event(const char* Name, F B::*Member) {
    TPropInfo P;
    P.Name = Name;
    P.Kind = pkEvent;
    P.EventAssigned = [Member](const TPersistent& O) { return static_cast<bool>(static_cast<const C&>(O).*Member); };
    P.ConnectEvent = [Member](TPersistent& O, const std::any& Handler) {
      const F* Fn = std::any_cast<F>(&Handler);
      if (!Fn) return false;
      static_cast<C&>(O).*Member = *Fn;
      return true;
    };
    P.ClearEvent = [Member](TPersistent& O) { static_cast<C&>(O).*Member = nullptr; };
    return Add(std::move(P));
  }

  // A reference to another component of the form, streamed by name.
  // Getter returns T*, Setter takes T*; nullptr is the stored default.
  // TypeName (the class name of T) makes reading errors name the class.
  template <typename T, typename G, typename S>
  TClassRegistrar& Component(const char* Name, G Getter, S Setter, const char* TypeName = nullptr) {
    static_assert(std::is_base_of_v<TComponent, T>, "Component needs a component class");
    TPropInfo P;
    P.Name = Name;
    P.Kind = pkComponent;
    P.TypeName = TypeName ? TypeName : "";
    P.GetComponent = [Getter](const TPersistent& O) -> TComponent* {
      return std::invoke(Getter, static_cast<const C&>(O));
    };
    P.SetComponent = [Setter](TPersistent& O, TComponent* Value) {
      T* Typed = Value ? dynamic_cast<T*>(Value) : nullptr;
      if (Value && !Typed) return false;
      std::invoke(Setter, static_cast<C&>(O), Typed);
      return true;
    };
    P.IsDefault = [Getter](const TPersistent& O) { return std::invoke(Getter, static_cast<const C&>(O)) == nullptr; };
    return Add(std::move(P));
  }

  // A published field of a form class: a T* member set to the component of
  // that name after it has been created.
  template <typename B, typename T>
    requires std::derived_from<C, B> && std::derived_from<T, TComponent>
  TClassRegistrar& Field(const char* Name, T* B::*Member) {
    TFieldInfo F;
    F.Name = Name;
    F.Set = [Member](TComponent& Root, TComponent* Value) {
      T* Typed = Value ? dynamic_cast<T*>(Value) : nullptr;
      if (Value && !Typed) return false;
      static_cast<C&>(Root).*Member = Typed;
      return true;
    };
    F.Get = [Member](const TComponent& Root) -> TComponent* { return static_cast<const C&>(Root).*Member; };
    FInfo.AddField(std::move(F));
    return *this;
  }

  // Modifiers of the property registered last.
  TClassRegistrar& Range(std::int64_t Min, std::int64_t Max) {
    FLast->MinValue = Min;
    FLast->MaxValue = Max;
    return *this;
  }
  // Integer constants the property is written as when its value has one.
  TClassRegistrar& Idents(std::vector<std::pair<std::string, std::int64_t>> List) {
    FLast->Idents = std::move(List);
    return *this;
  }
  // Written only while Pred(object) holds (and the value is not the default).
  template <typename Pred>
    requires std::predicate<Pred, const C&>
  TClassRegistrar& Stored(Pred P) {
    FLast->IsStored = [P](const TPersistent& O) { return static_cast<bool>(P(static_cast<const C&>(O))); };
    return *this;
  }
  // Stored(false): readable from a description but never written.
  TClassRegistrar& Stored(bool Value) {
    FLast->IsStored = [Value](const TPersistent&) { return Value; };
    return *this;
  }

 private:
  template <typename V, typename G, typename S>
  TPropInfo OrdinalProp(const char* Name, TPropKind Kind, G Getter, S Setter) {
    TPropInfo P;
    P.Name = Name;
    P.Kind = Kind;
    P.GetOrd = [Getter](const TPersistent& O) {
      return static_cast<std::int64_t>(std::invoke(Getter, static_cast<const C&>(O)));
    };
    P.SetOrd = [Setter](TPersistent& O, std::int64_t Value) {
      std::invoke(Setter, static_cast<C&>(O), static_cast<V>(Value));
    };
    return P;
  }
  TClassRegistrar& WithOrdDefault(std::int64_t Default) {
    auto Get = FLast->GetOrd;
    FLast->IsDefault = [Get, Default](const TPersistent& O) { return Get(O) == Default; };
    return *this;
  }
  template <typename F>
  TClassRegistrar& ObjectImpl(const char* Name, F Get) {
    TPropInfo P;
    P.Name = Name;
    P.Kind = pkObject;
    P.GetObject = [Get](TPersistent& O) -> TPersistent& { return Get(static_cast<C&>(O)); };
    return Add(std::move(P));
  }
  TClassRegistrar& Add(TPropInfo P) {
    FLast = &FInfo.AddProperty(std::move(P));
    return *this;
  }

  TClassInfo& FInfo;
  TPropInfo* FLast = nullptr;
};

// Registers class C under Name with its registered parent class ParentName.
// Components give a factory; value objects (TPersistent) give none.
template <typename C>
TClassRegistrar<C> RegisterClass(const std::string& Name, const std::string& ParentName,
                                 TComponentFactory Factory = nullptr) {
  static_assert(std::is_base_of_v<TPersistent, C>, "only persistent classes are registered");
  return TClassRegistrar<C>(RegisterClassInfo(Name, ParentName, std::move(Factory)));
}

}  // namespace zkw
