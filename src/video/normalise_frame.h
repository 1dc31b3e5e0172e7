#pragma once

#include <cstdint>
#include <vector>

#include "platform/capture/capture_driver.h"
#include "platform/capture/yuv.h"
#include "platform/codec/bitmap_header.h"

namespace vocapost {

inline constexpr int kFrameWidth = 160;
inline constexpr int kFrameHeight = 120;

// The 24-bit bottom-up picture the compressor takes, from a captured frame
// in `format`: the frame itself for RGB, 160 × 120 cut from a 176 × 144 RGB
// frame, or converted from 160 × 120 "I420" or "YV12" (into `work`).
// Null when the frame is of no known kind or too short for its format.
const uint8_t* NormaliseFrame(const BitmapInfoHeader& format,
                              const VideoFrame& frame,
                              std::vector<uint8_t>& work);

}  // namespace vocapost
