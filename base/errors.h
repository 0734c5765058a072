// Exception classes of the chart suite. A handler for EZKWError catches every
// error the suite raises.
#pragma once

#include <string>

#include "platform/core.h"

namespace zkw {

// Root of the suite's errors; never raised directly.
class EZKWError : public Exception {
 public:
  using Exception::Exception;
};

// Raised by the chart (joining layers, logarithmic axis below zero).
class EZKWVexaError : public EZKWError {
 public:
  using EZKWError::EZKWError;
};

// The error of an index a host passed outside 0..Count-1: What names the
// operation, Of what the index counts ("items of the data store").
[[noreturn]] inline void RaiseIndexError(const std::string& What, int Index, int Count, const std::string& Of) {
  const std::string Valid = Count > 0 ? ", valid 0.." + std::to_string(Count - 1) : "";
  throw EZKWVexaError(What + ": index " + std::to_string(Index) + " is out of range (" + std::to_string(Count) +
                      " " + Of + Valid + ")");
}

}  // namespace zkw
