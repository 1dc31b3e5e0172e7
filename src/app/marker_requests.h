#pragma once

#include "app/app_state.h"

namespace vocapost {

struct MarkerRequests {
  bool end = false;   // a new copy asks this one to end
  bool show = false;  // a new copy asks this one to show itself
};

// The running copy's side of the marker protocol, once per tick: takes the
// requests of new copies (deleting their markers) while no end was asked.
MarkerRequests TakeMarkerRequests(LaunchState& launch);

}  // namespace vocapost
