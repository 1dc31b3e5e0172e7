#pragma once

#include <vector>

#include "platform/capture/capture_driver.h"

namespace vocapost {

// A moving picture with fine detail and colour, for machines without a
// camera and for tests. It takes 24-bit RGB at any size from 16 × 16 to
// 640 × 480 and "I420" and "YV12" at 160 × 120, unless told otherwise.
class TestPatternDriver final : public CaptureDriver {
 public:
  struct Format {
    int width, height;
    uint32_t compression;  // 0 for RGB
  };

  TestPatternDriver();
  // Only these formats are taken (empty: the defaults above).
  void LimitFormats(std::vector<Format> formats) {
    limited_ = std::move(formats);
  }
  const std::vector<Format>& asked() const { return asked_; }
  int frame_number() const { return frame_number_; }

  bool Connect() override;
  void Disconnect() override;
  bool SetFormat(const BitmapInfoHeader& format) override;
  void SetFrameCallback(
      std::function<void(const VideoFrame&)> callback) override;
  void GrabFrame() override;
  void ShowSourceDialog(QWidget*) override {}
  void ShowDisplayDialog(QWidget*) override {}

 private:
  bool Accepts(const Format& format) const;
  void Deliver();

  std::vector<Format> limited_, asked_;
  Format format_{0, 0, 0};
  bool connected_ = false, grab_pending_ = false;
  int frame_number_ = 0;
  std::vector<uint8_t> frame_;
  std::vector<int> bars_;  // each column's colour bar, kept between frames
  std::function<void(const VideoFrame&)> callback_;
  QObject context_;
};

// A driver with no device behind it.
std::unique_ptr<CaptureDriver> MakeNoCaptureDriver();

}  // namespace vocapost
