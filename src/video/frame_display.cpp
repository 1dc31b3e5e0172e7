// Drawing decoded frames into the Viewer's playback window.
#include "platform/units/units.h"
#include "video/video_engine.h"

namespace vocapost {

// Qt draws pictures itself, so drawing is always available.
void VideoEngine::OpenFrameDrawing() { drawing_open_ = true; }

void VideoEngine::CloseFrameDrawing() { drawing_open_ = false; }

void VideoEngine::DecodeAndDrawFrame(const uint8_t* record, int64_t available) {
  if (video_.decode_busy == 1) return;
  video_.decode_busy = 1;
  if (DecompressFrameRecord(record, available) && drawing_open_ &&
      view_ != nullptr) {
    const int width =
        static_cast<int>(RoundHalfEven(view_->OuterWidthTwips() / 15.0));
    const int height =
        static_cast<int>(RoundHalfEven(view_->OuterHeightTwips() / 15.0));
    view_->DrawPicture(decompressor_out_, decoded_.data(), width, height);
  }
  video_.decode_busy = 0;
}

void VideoEngine::SizeFramePicture() {
  if (view_ == nullptr) return;
  view_->SizePictureTwips((state_.values.display_width + 4) * kTwipsPerPixel,
                          (state_.values.display_height + 4) * kTwipsPerPixel);
}

}  // namespace vocapost
