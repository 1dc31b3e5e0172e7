#pragma once

#include "platform/display/display_info.h"

namespace vocapost {

// The primary screen's depth as Qt reports it, in one plane.
class ScreenDisplayInfo final : public DisplayInfo {
 public:
  DisplayDepth Depth() override;
};

}  // namespace vocapost
