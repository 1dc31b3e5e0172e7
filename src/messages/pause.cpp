#include "messages/pause.h"

#include <algorithm>

namespace vocapost {

int16_t PauseWithEvents(Clock& clock, float seconds) {
  constexpr double kSlice = 0.05;
  const double start = clock.Now();
  const double limit = static_cast<double>(seconds) + 1.0;
  for (int pass = 0; pass < kMostPausePasses; ++pass) {
    const double remaining = limit - (clock.Now() - start);
    clock.RunEventsFor(std::clamp(remaining + 0.001, 0.001, kSlice));
    if (clock.Now() - start > limit) return 0;
  }
  return 0;
}

}  // namespace vocapost
