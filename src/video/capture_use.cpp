// The capture device and window side of the video engine.
#include "video/video_engine.h"

namespace vocapost {
namespace {

constexpr int kPictureTwipsWidth = 2460, kPictureTwipsHeight = 1860;

struct FormatTry {
  int width, height, bit_count;
  uint32_t compression;
  uint32_t size_image;
};

}  // namespace

int16_t VideoEngine::InitVideo() {
  OpenFrameDrawing();
  video_.key_frame_limit = 50;
  video_.capture_width = state_.values.display_width = 160;
  video_.capture_height = state_.values.display_height = 120;
  if (!OpenCodec()) return 0;
  if (!ConnectCapture(320, 240)) return 1;
  if (!SetCaptureFormat()) {
    DisconnectCapture();
    return 1;
  }
  capture_.GrabFrame();
  return 2;
}

bool VideoEngine::ConnectCapture(int width, int height) {
  video_.grab_mode = 1;
  capture_.CreateCaptureWindow(width, height);
  if (!capture_.DriverConnect(0)) {
    DisconnectCapture();
    return false;
  }
  capture_.SetCallbackFrame(
      [this](const VideoFrame& frame) { FrameCallback(frame); });
  for (int16_t& supported : video_.size_supported) supported = 1;
  return true;
}

void VideoEngine::DisconnectCapture() { capture_.DriverDisconnect(); }

bool VideoEngine::SetCaptureFormat() {
  capture_.SizePicture(kPictureTwipsWidth, kPictureTwipsHeight);
  const int w = video_.capture_width, h = video_.capture_height;
  const FormatTry tries[] = {
      {w, h, 24, 0, static_cast<uint32_t>(w * h * 3)},
      {176, 144, 24, 0, 76032},
      {160, 120, 12, FourCCFromText("I420"), 28800},
      {160, 120, 12, FourCCFromText("YV12"), 28800},
  };
  for (const FormatTry& format : tries) {
    capture_format_ = BitmapInfoHeader{};
    capture_format_.width = format.width;
    capture_format_.height = format.height;
    capture_format_.bit_count = static_cast<uint16_t>(format.bit_count);
    capture_format_.compression = format.compression;
    capture_format_.size_image = format.size_image;
    if (capture_.SetVideoFormat(capture_format_)) {
      // A frame of the old format is no use; ask for one of the new.
      video_.frames_ready = 0;
      RequestNextFrame();
      return true;
    }
  }
  return false;
}

void VideoEngine::FrameCallback(const VideoFrame& frame) {
  video_.frames_ready = static_cast<int16_t>(video_.frames_ready + 1);
  latest_ = frame;
}

void VideoEngine::RequestNextFrame() {
  if (video_.grab_mode == 1) {
    capture_.GrabFrameNoStop();
  } else {
    capture_.GrabFrame();
  }
}

void VideoEngine::ShowCaptureDialogs() {
  if (state_.activity.is_recording != 0 || state_.activity.is_playing != 0)
    return;
  capture_.DlgVideoSource();
  capture_.DlgVideoDisplay();
}

void VideoEngine::VideoShutdown() {
  DisconnectCapture();
  CloseFrameDrawing();
  CloseCodec();
}

}  // namespace vocapost
