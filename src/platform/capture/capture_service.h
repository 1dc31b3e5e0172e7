#pragma once

#include <functional>

#include "platform/capture/capture_driver.h"
#include "platform/codec/bitmap_header.h"

namespace vocapost {

// The capture window the program drives: a window inside the Recorder's
// local video picture that shows every grabbed frame and passes it on.
class CaptureService {
 public:
  virtual ~CaptureService() = default;
  virtual bool CreateCaptureWindow(int width, int height) = 0;
  virtual bool DriverConnect(int index) = 0;
  virtual void DriverDisconnect() = 0;
  virtual void SetCallbackFrame(
      std::function<void(const VideoFrame&)> callback) = 0;
  virtual bool SetVideoFormat(const BitmapInfoHeader& format) = 0;
  virtual void GrabFrame() = 0;
  virtual void GrabFrameNoStop() = 0;
  virtual void DlgVideoSource() = 0;
  virtual void DlgVideoDisplay() = 0;
  // Sizes the picture the capture window lives in (twips).
  virtual void SizePicture(int width_twips, int height_twips) = 0;
};

}  // namespace vocapost
