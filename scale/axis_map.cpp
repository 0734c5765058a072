#include "scale/axis_map.h"

namespace zkw {

bool FitAxisToEdges(const TAxisRange& Range, Extended Near, Extended Far, Extended& Factor, Extended& Offset) {
  Extended Lo = Range.Low;
  Extended Hi = Range.High;
  if (Range.Logarithmic) {
    if (!(Hi > 0) || !(Lo > 0)) return false;
    Lo = std::log(Lo);
    Hi = std::log(Hi);
  }
  Factor = (Far - Near) / (Hi - Lo);
  Offset = (Near * Hi - Far * Lo) / (Hi - Lo);
  return true;
}

void FitAxisFromStart(Extended From, Extended To, bool Logarithmic, Extended Start, Extended Span,
                      Extended& Factor, Extended& Offset) {
  if (Logarithmic) {
    From = std::log(From);
    To = std::log(To);
  }
  Factor = Span / (To - From);
  Offset = Start - From * Factor;
}

}  // namespace zkw
