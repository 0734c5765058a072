// Components: named objects that own other components and free them, know
// whether they are being loaded from a form description or designed, and
// receive a Loaded call once all stored values of a form have been applied.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core.h"

namespace zkw {

// Raised for a bad component name (not an identifier, or a duplicate within
// the owner) and other misuse of the component tree.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

enum TComponentStateItem : std::uint8_t { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

enum TOperation : std::uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  // The new component joins Owner's list; Owner deletes it in its destructor
  // unless it was deleted earlier (deleting a component removes it from its
  // owner). A component held by value or by unique_ptr inside its owner is
  // fine too: it leaves the owner's list when its own destructor runs, which
  // is before the owner's component part is destroyed.
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  std::string ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // Empty or an identifier unique (case-insensitively) among the owner's
  // components; else EComponentError and the name is unchanged.
  virtual void SetName(const std::string& Value);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  // A sub-component is part of its owner (a chart's internal scale
  // controls): its state travels in the owner's published properties, so a
  // written form description leaves it out and reading builds it again
  // through the owner's constructor. Set by the owner.
  bool SubComponent() const { return FSubComponent; }
  void SetSubComponent(bool Value) { FSubComponent = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  // Used by the form reader (and by tests that simulate it): while csLoading
  // is set, setters know that stored values are arriving.
  void SetLoading(bool Value);
  // Marks this component and the components it owns as being designed.
  void SetDesigning(bool Value);
  // Runs once after a form description has been applied; clears csLoading.
  // Overrides call the inherited Loaded first.
  virtual void Loaded();

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;  // nullptr outside 0..ComponentCount-1
  int ComponentIndex() const;               // position in the owner's list, -1 without owner
  // Owned component by name, case-insensitive; nullptr if there is none.
  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Deletes every owned component, the last one first.
  void DestroyComponents();

  // Asks AComponent to tell this component (through Notification with
  // opRemove) when it is destroyed; used by component references such as a
  // chart's data source. The request is mutual and undone on destruction.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Event handlers published by a form class, by name, for the form reader.
  // The stored value is a std::function of exactly the event's type.
  template <typename R, typename... A>
  void PublishHandler(const std::string& HandlerName, std::function<R(A...)> Handler) {
    PublishHandlerAny(HandlerName, std::any(std::move(Handler)));
  }
  // Publishes a member function of Self, e.g. PublishHandler("FormActivate", this, &TForm1::FormActivate).
  template <typename C, typename R, typename... A>
  void PublishHandler(const std::string& HandlerName, C* Self, R (C::*Method)(A...)) {
    PublishHandler(HandlerName, std::function<R(A...)>([Self, Method](A... Args) -> R {
                     return (Self->*Method)(std::forward<A>(Args)...);
                   }));
  }
  // nullptr when no handler of that name was published.
  const std::any* FindHandler(const std::string& HandlerName) const;
  std::vector<std::string> HandlerNames() const;

  // Which published handler (by name) is bound to which event property
  // (by property path below this component, e.g. "OnClick"), so that a
  // written description names the handler again.
  void SetEventBinding(const std::string& PropertyPath, const std::string& HandlerName);
  std::string EventBinding(const std::string& PropertyPath) const;  // empty if unbound
  void ClearEventBindings() { FEventBindings.clear(); }

 protected:
  // Tells this component that AComponent was inserted into or is being
  // removed from the component tree (owned list or free notification).
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // The owner calls this on its components when it starts being destroyed.
  virtual void Destroying();

 private:
  void PublishHandlerAny(const std::string& HandlerName, std::any Handler);
  void Remove(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  bool FSubComponent = false;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::vector<std::pair<std::string, std::any>> FHandlers;
  std::vector<std::pair<std::string, std::string>> FEventBindings;
};

// True when Name is an identifier: a letter or '_' followed by letters, digits or '_'.
bool IsValidIdent(const std::string& Name);
// ASCII case-insensitive comparison used for component, class, enumerator and colour names.
bool SameText(const std::string& A, const std::string& B);

}  // namespace zkw
