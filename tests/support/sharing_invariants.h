// The sharing invariants over a set of live charts, for the tests and the
// fuzz targets alike (no test framework here, so both can use it): a source
// has at most MaxShareUsers users, each user's source lists it and shares its
// store, groups are one level deep, members sharing a store show the same
// number of items, and no chart refers to a chart outside the live set (one
// that was destroyed).
#pragma once

#include <algorithm>
#include <span>
#include <string>

#include "chart/vexa.h"

namespace zkw::testsupport {

// The first broken invariant among Charts (null entries are empty slots),
// described for a failure message; empty when all hold.
inline std::string SharingFault(std::span<TCustomVexa* const> Charts) {
  const auto Live = [&](const TCustomVexa* Chart) {
    return Chart && std::find(Charts.begin(), Charts.end(), Chart) != Charts.end();
  };
  for (std::size_t I = 0; I < Charts.size(); ++I) {
    const TCustomVexa* Chart = Charts[I];
    if (!Chart) continue;
    const std::string Who = "chart " + std::to_string(I) + ": ";
    const TvxDataShare& Own = Chart->Share();
    if (Own.Owner() != Chart) return Who + "its share does not name it as owner";
    if (const TvxDataShare* Source = Own.Source()) {
      if (!Live(Source->Owner())) return Who + "uses a destroyed source";
      if (Chart->UseDataOf() != Source->Owner()) return Who + "UseDataOf is not its source";
      if (Own.UserCount() != 0) return Who + "is a user with users of its own";
      if (Source->Source() != nullptr) return Who + "its source uses another source (two levels)";
      bool Listed = false;
      for (int U = 0; U < Source->UserCount(); ++U) Listed = Listed || Source->User(U) == &Own;
      if (!Listed) return Who + "its source does not list it as a user";
      if (!Own.SharesStoreWith(*Source)) return Who + "does not share its source's store";
      if (Chart->ItemCount() != Source->Owner()->ItemCount()) return Who + "item count differs from its source's";
    }
    if (Own.UserCount() < 0 || Own.UserCount() > MaxShareUsers) return Who + "has too many users";
    for (int U = 0; U < Own.UserCount(); ++U) {
      const TvxDataShare* User = Own.User(U);
      if (!User) return Who + "lists an empty user";
      if (!Live(User->Owner())) return Who + "lists a destroyed user";
      if (User->Source() != &Own) return Who + "lists a user of another source";
      for (int V = 0; V < U; ++V)
        if (Own.User(V) == User) return Who + "lists a user twice";
    }
  }
  return {};
}

}  // namespace zkw::testsupport
