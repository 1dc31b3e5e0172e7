#pragma once

#include <cstdint>

#include "platform/clock/clock.h"

namespace vocapost {

inline constexpr int kMostPausePasses = 30000;

// Runs the event loop until more than seconds + 1 have passed, at most
// kMostPausePasses short waits. Always returns 0.
int16_t PauseWithEvents(Clock& clock, float seconds);

}  // namespace vocapost
