// Data sharing between charts. A group is one source chart and up to four
// user charts; all members show the same item store. Groups are one level
// deep: a chart with users cannot use another chart's data, and a user has no
// users of its own.
//
// Members hold the data store through one shared pointer, so every change a
// member makes is seen by the others at once; SyncShares re-points the whole
// group at the acting member's store, which keeps the group consistent after a
// member's store has been replaced. Leaving a group gives the leaver a private
// copy of the items the group held at that moment.
//
// Destruction is safe in any order: a user that is destroyed leaves its group;
// a source that is destroyed releases its users, each keeping a private copy
// of the items. No member ever keeps a pointer to a destroyed one.
//
// Host handlers run in the middle of paints and redraws and may join, leave
// or destroy members there. Work that spans such calls therefore never keeps
// plain pointers across them: a paint holds its store through StoreHandle, so
// the store outlives the pass even if the member drops it, and a group walk
// holds checked references (Ref) that expire when their member is destroyed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "chart/item_store.h"

namespace zkw {

class TCustomVexa;

// Messages shown (in an information box) when a share request is refused.
inline const std::string ShareMsgSelf = "Vexa: Cannot share data with myself";
inline const std::string ShareMsgHasUsers =
    "Vexa: Cannot use foreign data. Other Vexas are using my own data.";
inline const std::string ShareMsgTooMany = "Vexa: Max. number of data shares exceeded";

// Outcome of a share request.
enum TShareResult : std::uint8_t {
  srJoined,     // now uses the (resolved) target's data
  srLeft,       // left its group and keeps a private copy
  srUnchanged,  // nothing to do
  srSelf,       // refused: a chart cannot use its own data
  srHasUsers,   // refused: the chart's own data are in use by others
  srTooMany     // refused: the source already has MaxShareUsers users
};

constexpr int MaxShareUsers = 4;

// The message a refused request shows; empty for the other results.
std::string ShareResultMessage(TShareResult Result);

// One chart's membership in a sharing group, and its data store.
class TvxDataShare {
 public:
  explicit TvxDataShare(TCustomVexa* Owner = nullptr);
  ~TvxDataShare();
  TvxDataShare(const TvxDataShare&) = delete;
  TvxDataShare& operator=(const TvxDataShare&) = delete;

  TvxItemStore& Store() { return *FStore; }
  const TvxItemStore& Store() const { return *FStore; }
  // Shared ownership of the current store: it stays alive for the holder
  // even when this member replaces or drops it meanwhile.
  std::shared_ptr<TvxItemStore> StoreHandle() const { return FStore; }
  // Leaves the group as Detach does, but takes Store (when given) as its own
  // instead of keeping a copy of the group's items.
  void StandAlone(std::shared_ptr<TvxItemStore> Store);
  // A reference that expires when this member is destroyed (or DetachDying ran).
  using TRef = std::weak_ptr<TvxDataShare* const>;
  TRef Ref() const { return FSelf; }
  // True when Other is this member's source, a user of the same source
  // (this member included), or one of this member's users.
  bool InGroupWith(const TvxDataShare& Other) const;
  TCustomVexa* Owner() const { return FOwner; }
  TvxDataShare* Source() const { return FSource; }
  int UserCount() const { return FUserCount; }
  TvxDataShare* User(int Index) const;  // 0-based; nullptr outside 0..UserCount-1
  bool SharesStoreWith(const TvxDataShare& Other) const { return FStore == Other.FStore; }

  // Makes this member use Target's data (nullptr: leave the group). A target
  // that itself uses a source is replaced by that source. Refusals change
  // nothing and are reported by the result.
  TShareResult UseDataOf(TvxDataShare* Target);
  // Hands this member's store to every other member of its group.
  void SyncShares();
  // Leaves the group (keeping a private copy) or, for a source, releases every
  // user (each keeping a private copy). Afterwards the member stands alone.
  void Detach();
  // As Detach for a member about to be destroyed: it keeps no copy.
  void DetachDying();

  // Runs Notify for every member of GroupToNotify, in that order, while
  // handlers inside Notify may destroy members or move them between groups:
  // a member is only passed if it still exists and still belongs to this
  // member's group, and the walk ends when this member itself is destroyed.
  template <typename TNotify>
  void ForEachToNotify(TNotify&& Notify);

  // The members to notify after this member redrew: its source, every user of
  // that source in list order, then every user of this member in list order.
  // Returns how many entries of Out were filled.
  int GroupToNotify(std::array<TvxDataShare*, 2 * MaxShareUsers + 1>& Out) const;

 private:
  void LeaveSource(bool KeepCopy);
  void ReleaseUsers(bool KeepCopy);

  TCustomVexa* FOwner;
  std::shared_ptr<TvxItemStore> FStore;
  TvxDataShare* FSource = nullptr;
  std::array<TvxDataShare*, MaxShareUsers> FUsers{};
  int FUserCount = 0;
  std::shared_ptr<TvxDataShare* const> FSelf;
};

template <typename TNotify>
void TvxDataShare::ForEachToNotify(TNotify&& Notify) {
  std::array<TvxDataShare*, 2 * MaxShareUsers + 1> Group{};
  const int N = GroupToNotify(Group);
  std::array<TRef, 2 * MaxShareUsers + 1> Refs;
  for (int I = 0; I < N; ++I) Refs[static_cast<std::size_t>(I)] = Group[static_cast<std::size_t>(I)]->Ref();
  const TRef Self = Ref();
  for (int I = 0; I < N; ++I) {
    // Nothing of this member is touched before it is known to be alive.
    if (Self.expired()) return;
    const auto Member = Refs[static_cast<std::size_t>(I)].lock();
    if (!Member || !InGroupWith(**Member)) continue;
    Notify(**Member);
  }
}

}  // namespace zkw
