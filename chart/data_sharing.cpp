#include "chart/data_sharing.h"

#include <algorithm>

namespace zkw {

std::string ShareResultMessage(TShareResult Result) {
  switch (Result) {
    case srSelf: return ShareMsgSelf;
    case srHasUsers: return ShareMsgHasUsers;
    case srTooMany: return ShareMsgTooMany;
    default: return {};
  }
}

TvxDataShare::TvxDataShare(TCustomVexa* Owner)
    : FOwner(Owner), FStore(std::make_shared<TvxItemStore>()), FSelf(std::make_shared<TvxDataShare* const>(this)) {}

TvxDataShare::~TvxDataShare() { DetachDying(); }

void TvxDataShare::DetachDying() {
  // Checked references to this member expire first: from here on it is gone
  // for every walk that holds one.
  FSelf.reset();
  // A dying member needs no copy of its own.
  if (FSource) LeaveSource(false);
  ReleaseUsers(false);
}

void TvxDataShare::StandAlone(std::shared_ptr<TvxItemStore> Store) {
  if (!Store) {
    Detach();
    return;
  }
  // No copy for this member: the given store replaces the group's at once.
  if (FSource) LeaveSource(false);
  ReleaseUsers(false);
  FStore = std::move(Store);
}

bool TvxDataShare::InGroupWith(const TvxDataShare& Other) const {
  const TvxDataShare* Root = FSource ? FSource : this;
  return &Other == Root || Other.FSource == Root;
}

TvxDataShare* TvxDataShare::User(int Index) const {
  return Index >= 0 && Index < FUserCount ? FUsers[static_cast<std::size_t>(Index)] : nullptr;
}

TShareResult TvxDataShare::UseDataOf(TvxDataShare* Target) {
  if (Target == this) return srSelf;
  if (FUserCount > 0) return srHasUsers;
  if (Target == FSource) return srUnchanged;
  if (Target == nullptr) {
    LeaveSource(true);
    return srLeft;
  }
  TvxDataShare* NewSource = Target->FSource ? Target->FSource : Target;
  // Already a user of the group's source through another member.
  if (NewSource == FSource) return srUnchanged;
  if (NewSource->FUserCount >= MaxShareUsers) return srTooMany;
  if (FSource) LeaveSource(true);
  FSource = NewSource;
  FStore = NewSource->FStore;  // this member's own items are dropped
  NewSource->FUsers[static_cast<std::size_t>(NewSource->FUserCount++)] = this;
  return srJoined;
}

void TvxDataShare::SyncShares() {
  if (FSource) {
    FSource->FStore = FStore;
    for (int I = 0; I < FSource->FUserCount; ++I) FSource->FUsers[static_cast<std::size_t>(I)]->FStore = FStore;
  }
  for (int I = 0; I < FUserCount; ++I) FUsers[static_cast<std::size_t>(I)]->FStore = FStore;
}

void TvxDataShare::Detach() {
  if (FSource) LeaveSource(true);
  ReleaseUsers(true);
}

int TvxDataShare::GroupToNotify(std::array<TvxDataShare*, 2 * MaxShareUsers + 1>& Out) const {
  int N = 0;
  if (FSource) {
    Out[static_cast<std::size_t>(N++)] = FSource;
    for (int I = 0; I < FSource->FUserCount; ++I) Out[static_cast<std::size_t>(N++)] = FSource->FUsers[static_cast<std::size_t>(I)];
  }
  for (int I = 0; I < FUserCount; ++I) Out[static_cast<std::size_t>(N++)] = FUsers[static_cast<std::size_t>(I)];
  return N;
}

void TvxDataShare::LeaveSource(bool KeepCopy) {
  if (!FSource) return;
  auto& Users = FSource->FUsers;
  auto End = Users.begin() + FSource->FUserCount;
  auto It = std::find(Users.begin(), End, this);
  if (It != End) {
    std::move(It + 1, End, It);  // later entries move up, keeping their order
    *(End - 1) = nullptr;
    --FSource->FUserCount;
  }
  FSource = nullptr;
  if (KeepCopy) FStore = std::make_shared<TvxItemStore>(*FStore);
}

void TvxDataShare::ReleaseUsers(bool KeepCopy) {
  // Every user but the last gets a copy; the last one keeps the shared store,
  // which then belongs to it alone once this member has let go of it.
  for (int I = 0; I < FUserCount; ++I) {
    TvxDataShare* User = FUsers[static_cast<std::size_t>(I)];
    User->FSource = nullptr;
    if (I + 1 < FUserCount) User->FStore = std::make_shared<TvxItemStore>(*FStore);
    FUsers[static_cast<std::size_t>(I)] = nullptr;
  }
  if (FUserCount > 0 && KeepCopy) FStore = std::make_shared<TvxItemStore>(*FStore);
  FUserCount = 0;
}

}  // namespace zkw
