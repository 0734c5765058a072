/// @file
/// Chaining of a component's event slot: a widget that reports an event as a
/// Qt signal keeps its own handler in the slot together with the host's. The
/// host may assign the slot at any time (before or after the widget hooked
/// in); the widget calls Chain again before each call into the component,
/// which wraps a newly assigned host handler instead of losing the signal.
#pragma once

#include <functional>
#include <utility>

namespace zkw {

template <typename... Args>
/// The handler Chain puts into a slot: the host's handler, then the widget's own.
struct TChainedHandler {
  std::function<void(Args...)> Host;  ///< what the host assigned (may be empty)
  std::function<void(Args...)> Own;   ///< the widget's signal
  /// Calls Host (when set), then Own (when set).
  void operator()(Args... A) const {
    if (Host) Host(A...);
    if (Own) Own(A...);
  }
};

/// Makes Slot call its present handler, then Own - unless it already holds a
/// chain (ours), which is left as it is.
template <typename... Args>
void Chain(std::function<void(Args...)>& Slot, const std::function<void(Args...)>& Own) {
  if (Slot.template target<TChainedHandler<Args...>>()) return;
  std::function<void(Args...)> Host = std::move(Slot);
  Slot = TChainedHandler<Args...>{std::move(Host), Own};
}

}  // namespace zkw
