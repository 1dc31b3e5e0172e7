#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/units/units.h"

namespace vocapost {

// One full-range YUV pixel as 24-bit BGR, each value rounded halves to even
// and clamped to 0..255.
inline void YuvToBgr(uint8_t y, uint8_t u, uint8_t v, uint8_t* bgr) {
  auto to_byte = [](double value) {
    return static_cast<uint8_t>(std::clamp(RoundHalfEven(value), 0.0, 255.0));
  };
  const double cb = u - 128.0, cr = v - 128.0;
  bgr[0] = to_byte(y + 1.77198 * cb);
  bgr[1] = to_byte(y - 0.344 * cb - 0.7141 * cr);
  bgr[2] = to_byte(y + 1.40198 * cr);
}

}  // namespace vocapost
