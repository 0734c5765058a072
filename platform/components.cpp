#include "platform/components.h"

#include <algorithm>
#include <cctype>

namespace zkw {

bool IsValidIdent(const std::string& Name) {
  if (Name.empty()) return false;
  auto Lead = [](unsigned char C) { return std::isalpha(C) || C == '_'; };
  if (!Lead(static_cast<unsigned char>(Name[0]))) return false;
  return std::all_of(Name.begin() + 1, Name.end(), [&](char C) {
    return Lead(static_cast<unsigned char>(C)) || std::isdigit(static_cast<unsigned char>(C));
  });
}

bool SameText(const std::string& A, const std::string& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           return std::tolower(static_cast<unsigned char>(X)) == std::tolower(static_cast<unsigned char>(Y));
         });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState.Include(csDestroying);
  // Tell everyone holding a reference to us, then free what we own.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& Back = Other->FFreeNotifies;
    Back.erase(std::remove(Back.begin(), Back.end(), this), Back.end());
    Other->Notification(this, opRemove);
  }
  for (TComponent* C : FComponents) C->Destroying();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::SetName(const std::string& Value) {
  if (Value == FName) return;
  if (!Value.empty() && !IsValidIdent(Value))
    throw EComponentError("\"" + Value + "\" is not a valid component name");
  if (FOwner && !Value.empty()) {
    TComponent* Other = FOwner->FindComponent(Value);
    if (Other && Other != this) throw EComponentError("A component named " + Value + " already exists");
  }
  FName = Value;
}

void TComponent::SetLoading(bool Value) {
  if (Value)
    FComponentState.Include(csLoading);
  else
    FComponentState.Exclude(csLoading);
}

void TComponent::SetDesigning(bool Value) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* C : FComponents) C->SetDesigning(Value);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) return nullptr;
  return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& L = FOwner->FComponents;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<int>(It - L.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  // A name must stay unique in its new owner.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError("A component named " + AComponent->FName + " already exists");
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::Remove(TComponent* AComponent) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
}

void TComponent::DestroyComponents() {
  // Each destructor removes its component from this list.
  while (!FComponents.empty()) {
    TComponent* C = FComponents.back();
    Remove(C);
    C->FOwner = nullptr;
    delete C;
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
  auto& Back = AComponent->FFreeNotifies;
  if (std::find(Back.begin(), Back.end(), this) == Back.end()) Back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
  auto& Back = AComponent->FFreeNotifies;
  Back.erase(std::remove(Back.begin(), Back.end(), this), Back.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  // Owned components hear about every removal in the tree, as references
  // between siblings are common (a chart using another chart's data).
  if (Operation == opRemove && AComponent)
    for (TComponent* C : FComponents)
      if (C != AComponent) C->Notification(AComponent, Operation);
}

void TComponent::PublishHandlerAny(const std::string& HandlerName, std::any Handler) {
  for (auto& [Name, Fn] : FHandlers)
    if (Name == HandlerName) {
      Fn = std::move(Handler);
      return;
    }
  FHandlers.emplace_back(HandlerName, std::move(Handler));
}

const std::any* TComponent::FindHandler(const std::string& HandlerName) const {
  for (const auto& [Name, Fn] : FHandlers)
    if (Name == HandlerName) return &Fn;
  return nullptr;
}

std::vector<std::string> TComponent::HandlerNames() const {
  std::vector<std::string> Result;
  for (const auto& H : FHandlers) Result.push_back(H.first);
  return Result;
}

void TComponent::SetEventBinding(const std::string& PropertyPath, const std::string& HandlerName) {
  for (auto It = FEventBindings.begin(); It != FEventBindings.end(); ++It)
    if (It->first == PropertyPath) {
      if (HandlerName.empty())
        FEventBindings.erase(It);
      else
        It->second = HandlerName;
      return;
    }
  if (!HandlerName.empty()) FEventBindings.emplace_back(PropertyPath, HandlerName);
}

std::string TComponent::EventBinding(const std::string& PropertyPath) const {
  for (const auto& [Path, Handler] : FEventBindings)
    if (Path == PropertyPath) return Handler;
  return {};
}

}  // namespace zkw
