#include "video/normalise_frame.h"

#include <algorithm>
#include <cstring>

#include "platform/capture/yuv.h"

namespace vocapost {
namespace {

const uint8_t* CutFrom176(const VideoFrame& frame, std::vector<uint8_t>& work) {
  constexpr int kRow = kFrameWidth * 3, kSourceRow = 176 * 3;
  if (frame.bytes_used < static_cast<uint32_t>(144 * kSourceRow))
    return nullptr;
  work.resize(kFrameHeight * kRow);
  for (int i = 0; i < kFrameHeight; ++i) {
    std::memcpy(work.data() + i * kRow, frame.data + (i + 24) * kSourceRow,
                kRow);
  }
  return work.data();
}

const uint8_t* FromPlanar(const VideoFrame& frame, bool yv12,
                          std::vector<uint8_t>& work) {
  constexpr int w = kFrameWidth, h = kFrameHeight, area = w * h;
  if (frame.bytes_used < static_cast<uint32_t>(area * 3 / 2)) return nullptr;
  const uint8_t* y_plane = frame.data;
  const uint8_t* first = frame.data + area;
  const uint8_t* second = first + area / 4;
  const uint8_t* u_plane = yv12 ? second : first;
  const uint8_t* v_plane = yv12 ? first : second;
  work.resize(area * 3);
  for (int y = 0; y < h; ++y) {
    const int source_row = h - 1 - y;  // the planes are top-down
    for (int x = 0; x < w; ++x) {
      const int chroma = (source_row / 2) * (w / 2) + x / 2;
      YuvToBgr(y_plane[source_row * w + x], u_plane[chroma], v_plane[chroma],
               work.data() + (y * w + x) * 3);
    }
  }
  return work.data();
}

}  // namespace

const uint8_t* NormaliseFrame(const BitmapInfoHeader& format,
                              const VideoFrame& frame,
                              std::vector<uint8_t>& work) {
  if (frame.data == nullptr) return nullptr;
  if (format.compression == 0) {
    if (format.width == 176) return CutFrom176(frame, work);
    // Any other width: the captured bytes are the picture, when whole.
    const auto needed =
        static_cast<uint64_t>(format.width) * std::abs(format.height) * 3;
    return frame.bytes_used >= needed ? frame.data : nullptr;
  }
  if (format.width != kFrameWidth) return nullptr;
  if (format.compression == FourCCFromText("I420"))
    return FromPlanar(frame, false, work);
  if (format.compression == FourCCFromText("YV12"))
    return FromPlanar(frame, true, work);
  return nullptr;
}

}  // namespace vocapost
