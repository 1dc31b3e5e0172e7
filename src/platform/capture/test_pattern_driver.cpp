#include "platform/capture/test_pattern_driver.h"

#include <QTimer>
#include <cmath>

namespace vocapost {
namespace {

// The pattern's colour at (x, y) of frame t, top-down: colour bars, fine
// diagonal lines, a bright disc travelling across and some noise. Colour
// changes only between 2 × 2 blocks and the lines and disc change brightness
// alone, so the picture survives the 4:2:0 colour of video codecs and what is
// lost is the codec's doing.
struct Disc {
  double cx, cy, radius_squared;
};

// Where frame t's disc is, worked out once a frame rather than per pixel.
Disc DiscAt(int w, int h, int t) {
  return {(t * 3 % (w + 40)) - 20.0, h / 2.0 + h / 4.0 * std::sin(t / 8.0),
          (h / 6.0) * (h / 6.0)};
}

// bar: which of the seven colour bars column x is in.
void PatternPixel(int x, int y, int t, int bar, const Disc& disc, uint8_t& r,
                  uint8_t& g, uint8_t& b) {
  int shade = 0;
  if (((x + y + t) & 3) == 0) shade -= 35;
  // A little sensor noise, as every camera has.
  const uint32_t hash = static_cast<uint32_t>(x) * 73856093u ^
                        static_cast<uint32_t>(y) * 19349663u ^
                        static_cast<uint32_t>(t) * 83492791u;
  shade += static_cast<int>((hash * 2654435761u) >> 29) - 4;
  const double dx = x - disc.cx, dy = y - disc.cy;
  if (dx * dx + dy * dy < disc.radius_squared) shade += 30;
  r = static_cast<uint8_t>(((bar & 1) ? 220 : 40) + shade);
  g = static_cast<uint8_t>(((bar & 2) ? 200 : 50) + shade);
  b = static_cast<uint8_t>(((bar & 4) ? 210 : 60) + shade);
}

uint8_t Clamp(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

TestPatternDriver::TestPatternDriver() = default;

bool TestPatternDriver::Connect() {
  connected_ = true;
  return true;
}

void TestPatternDriver::Disconnect() {
  connected_ = false;
  grab_pending_ = false;
}

bool TestPatternDriver::Accepts(const Format& f) const {
  if (!limited_.empty()) {
    return std::any_of(limited_.begin(), limited_.end(), [&](const Format& l) {
      return l.width == f.width && l.height == f.height &&
             l.compression == f.compression;
    });
  }
  if (f.compression == 0)
    return f.width >= 16 && f.height >= 16 && f.width <= 640 && f.height <= 480;
  return f.width == 160 && f.height == 120 &&
         (f.compression == FourCCFromText("I420") ||
          f.compression == FourCCFromText("YV12"));
}

bool TestPatternDriver::SetFormat(const BitmapInfoHeader& header) {
  const Format format{header.width, std::abs(header.height),
                      header.compression};
  asked_.push_back(format);
  if (!connected_ || (header.compression == 0 && header.bit_count != 24) ||
      !Accepts(format)) {
    return false;
  }
  format_ = format;
  return true;
}

void TestPatternDriver::SetFrameCallback(
    std::function<void(const VideoFrame&)> callback) {
  callback_ = std::move(callback);
}

void TestPatternDriver::GrabFrame() {
  if (!connected_ || format_.width == 0 || grab_pending_) return;
  grab_pending_ = true;
  QTimer::singleShot(0, &context_, [this] { Deliver(); });
}

void TestPatternDriver::Deliver() {
  if (!grab_pending_) return;
  grab_pending_ = false;
  const int w = format_.width, h = format_.height, t = frame_number_++;
  const bool rgb = format_.compression == 0;
  frame_.assign(static_cast<size_t>(rgb ? w * h * 3 : w * h * 3 / 2), 0);
  uint8_t* y_plane = frame_.data();
  const bool yv12 = format_.compression == FourCCFromText("YV12");
  uint8_t* u_plane = frame_.data() + w * h + (yv12 ? w * h / 4 : 0);
  uint8_t* v_plane = frame_.data() + w * h + (yv12 ? 0 : w * h / 4);
  const Disc disc = DiscAt(w, h, t);
  bars_.resize(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) bars_[size_t(x)] = (x & ~1) * 7 / std::max(w, 1);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t r, g, b;
      PatternPixel(x, y, t, bars_[size_t(x)], disc, r, g, b);
      if (rgb) {  // bottom-up BGR
        uint8_t* p =
            frame_.data() + (static_cast<size_t>(h - 1 - y) * w + x) * 3;
        p[0] = b, p[1] = g, p[2] = r;
        continue;
      }
      y_plane[y * w + x] = Clamp(0.299 * r + 0.587 * g + 0.114 * b);
      if ((x | y) & 1) continue;
      u_plane[(y / 2) * (w / 2) + x / 2] =
          Clamp(-0.168736 * r - 0.331264 * g + 0.5 * b + 128);
      v_plane[(y / 2) * (w / 2) + x / 2] =
          Clamp(0.5 * r - 0.418688 * g - 0.081312 * b + 128);
    }
  }
  if (callback_)
    callback_({frame_.data(), static_cast<uint32_t>(frame_.size())});
}

namespace {

class NoCaptureDriver final : public CaptureDriver {
 public:
  bool Connect() override { return false; }
  void Disconnect() override {}
  bool SetFormat(const BitmapInfoHeader&) override { return false; }
  void SetFrameCallback(std::function<void(const VideoFrame&)>) override {}
  void GrabFrame() override {}
  void ShowSourceDialog(QWidget*) override {}
  void ShowDisplayDialog(QWidget*) override {}
};

}  // namespace

std::unique_ptr<CaptureDriver> MakeNoCaptureDriver() {
  return std::make_unique<NoCaptureDriver>();
}

}  // namespace vocapost
