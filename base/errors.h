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

}  // namespace zkw
