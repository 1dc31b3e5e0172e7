#pragma once

#include <optional>
#include <vector>

#include "app/app_state.h"
#include "messages/message_operations.h"
#include "platform/capture/capture_service.h"
#include "platform/clock/clock.h"
#include "platform/codec/codec_manager.h"
#include "platform/registry/registry_store.h"
#include "video/frame_view.h"

namespace vocapost {

inline constexpr int kCompressedFrameBuffer = 60000;
inline constexpr int kDecodedFrameBuffer = kLargestPictureBytes;

// Capture, compression, decompression and display of video frames.
class VideoEngine {
 public:
  VideoEngine(AppState& state, CodecManager& codecs, CaptureService& capture,
              RegistryStore& registry, MessageOperations& messages,
              Clock& clock);

  void SetFrameView(FrameView* view) { view_ = view; }

  // Capture device and window.
  int16_t InitVideo();
  bool ConnectCapture(int width, int height);
  void DisconnectCapture();
  bool SetCaptureFormat();
  void FrameCallback(const VideoFrame& frame);
  void RequestNextFrame();
  void ShowCaptureDialogs();
  void VideoShutdown();

  // Codec.
  int32_t WriteCodecRatio(int32_t ratio);
  bool OpenCodec();
  void CloseCodec();
  int32_t CompressCurrentFrame();
  // False when the record cannot be a picture: too short, too large or
  // claiming more payload than `available` bytes hold.
  bool DecompressFrameRecord(const uint8_t* record, int64_t available);

  // Display.
  void OpenFrameDrawing();
  void CloseFrameDrawing();
  void DecodeAndDrawFrame(const uint8_t* record, int64_t available);
  void SizeFramePicture();

  // Frame size.
  void ApplyFrameSize(int width, int height);
  // `normal_window`: the Recorder window is neither minimised nor maximised.
  void ApplyChosenFrameSize(bool normal_window);

  const uint8_t* compressed_frame() const { return compressed_.data(); }
  const BitmapInfoHeader& capture_format() const { return capture_format_; }
  const BitmapInfoHeader& compressor_input() const { return compressor_in_; }
  const BitmapInfoHeader& decompressor_output() const {
    return decompressor_out_;
  }
  const std::vector<uint8_t>& decoded_frame() const { return decoded_; }
  uint32_t last_decompress_flags() const { return last_decompress_flags_; }

 private:
  void FillCompressorHeaders(int width, int height);

  AppState& state_;
  VideoState& video_;
  CodecManager& codecs_;
  CaptureService& capture_;
  RegistryStore& registry_;
  MessageOperations& messages_;
  Clock& clock_;
  FrameView* view_ = nullptr;

  BitmapInfoHeader capture_format_;
  BitmapInfoHeader compressor_in_;
  FrameHeader compressor_out_;
  FrameHeader decompressor_in_;
  BitmapInfoHeader decompressor_out_;
  CodecManager::Handle compressor_ = 0, decompressor_ = 0;
  std::vector<uint8_t> compressed_, decoded_, work_;
  VideoFrame latest_;
  bool drawing_open_ = false;
  std::optional<int32_t> opened_ratio_;  // the ratio of the last OpenCodec
  uint32_t last_decompress_flags_ = 0;
};

}  // namespace vocapost
