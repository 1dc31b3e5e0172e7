#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

#include "platform/codec/bitmap_header.h"

namespace vocapost {

// One captured frame, valid until the next grab: RGB frames are bottom-up in
// BGR order, like a bitmap; planar YUV frames are top-down.
struct VideoFrame {
  const uint8_t* data = nullptr;
  uint32_t bytes_used = 0;
};

// A video capture driver. Frames are delivered on the UI thread, from the
// event loop, through the callback.
class CaptureDriver {
 public:
  virtual ~CaptureDriver() = default;
  virtual bool Connect() = 0;
  virtual void Disconnect() = 0;
  // Accepts the format only when the device takes exactly this size and
  // pixel format (compression 0 with 24 bits, "I420" or "YV12").
  virtual bool SetFormat(const BitmapInfoHeader& format) = 0;
  virtual void SetFrameCallback(
      std::function<void(const VideoFrame&)> callback) = 0;
  // Asks for one frame; it arrives later through the callback.
  virtual void GrabFrame() = 0;
  virtual void ShowSourceDialog(QWidget* parent) = 0;
  virtual void ShowDisplayDialog(QWidget* parent) = 0;
};

// The camera at /dev/video0 through libv4l2.
std::unique_ptr<CaptureDriver> MakeV4l2Driver(
    const QString& device = "/dev/video0");

}  // namespace vocapost
