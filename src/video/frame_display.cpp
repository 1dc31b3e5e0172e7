// Drawing decoded frames into the Viewer's playback window.
#include "platform/units/units.h"
#include "player/viewer_layout.h"
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

void VideoEngine::ApplyFrameSize(int width, int height) {
  video_.size_change_busy = 1;
  CloseCodec();
  video_.capture_width = state_.values.display_width =
      static_cast<int16_t>(width);
  video_.capture_height = state_.values.display_height =
      static_cast<int16_t>(height);
  OpenCodec();
  SetCaptureFormat();
  SizeFramePicture();
  // What was just set is applied: the Recorder's timer must not re-open the
  // codec for it later, in the middle of a playback.
  video_.applied_width = static_cast<int16_t>(width);
  video_.applied_height = static_cast<int16_t>(height);
  video_.size_change_busy = 0;
  if (view_ == nullptr) return;
  view_->SetWindowWidthTwips(view_->OuterWidthTwips() + 300);
  const int recorded = state_.activity.recorded_width_twips;
  view_->ShowMagnification(
      recorded != 0,
      recorded != 0
          ? FormatZoom(static_cast<double>(view_->OuterWidthTwips()) / recorded)
          : "");
}

void VideoEngine::ApplyChosenFrameSize(bool normal_window) {
  if (!normal_window) return;
  // A re-opened decoder refuses difference frames until the next key frame:
  // never while a message plays or records; the size is applied afterwards.
  const ActivityState& activity = state_.activity;
  if (activity.is_playing != 0 || activity.is_recording != 0) return;
  const StartupValues& values = state_.values;
  if (values.chosen_width != video_.applied_width ||
      values.chosen_height != video_.applied_height) {
    video_.size_change_busy = 1;
    if (video_.video_state != 0) {
      CloseCodec();
      video_.capture_width = values.chosen_width;
      video_.capture_height = values.chosen_height;
      OpenCodec();
      if (video_.video_state == 2) SetCaptureFormat();
    }
    video_.size_change_busy = 0;
  }
  video_.applied_width = values.chosen_width;
  video_.applied_height = values.chosen_height;
}

}  // namespace vocapost
