#pragma once

namespace vocapost {

struct DisplayDepth {
  int bits_per_pixel = 32;
  int planes = 1;
};

// Colour depth of the display the program's windows appear on.
class DisplayInfo {
 public:
  virtual ~DisplayInfo() = default;
  virtual DisplayDepth Depth() = 0;
};

class FixedDisplayInfo final : public DisplayInfo {
 public:
  explicit FixedDisplayInfo(DisplayDepth depth) : depth_(depth) {}
  DisplayDepth Depth() override { return depth_; }

 private:
  DisplayDepth depth_;
};

}  // namespace vocapost
