// The codec side of the video engine: frame records in and out.
#include <cstring>

#include "platform/text/user_text.h"
#include "video/normalise_frame.h"
#include "video/video_engine.h"

namespace vocapost {
namespace {

constexpr double kFrameWaitSeconds = 1.0;
const QString kRatioNotSaved = UserText(
    "The recording quality you chose could not be saved; it is used all the "
    "same.");

}  // namespace

VideoEngine::VideoEngine(AppState& state, CodecManager& codecs,
                         CaptureService& capture, RegistryStore& registry,
                         MessageOperations& messages, Clock& clock)
    : state_(state),
      video_(state.video),
      codecs_(codecs),
      capture_(capture),
      registry_(registry),
      messages_(messages),
      clock_(clock) {}

int32_t VideoEngine::WriteCodecRatio(int32_t ratio) {
  return registry_.SetDword(kCodecKey, "Ratio", static_cast<uint32_t>(ratio));
}

void VideoEngine::FillCompressorHeaders(int width, int height) {
  compressor_in_ = BitmapInfoHeader{};
  compressor_in_.width = width;
  compressor_in_.height = height;
  compressor_out_ = FrameHeader{};
  compressor_out_.bitmap.size = kFrameHeaderBytes;
  compressor_out_.bitmap.width = width;
  compressor_out_.bitmap.height = height;
  compressor_out_.bitmap.compression = FourCCFromText("SMSV");
}

bool VideoEngine::OpenCodec() {
  video_.key_frame_counter = 0;
  const int32_t ratio = state_.values.codec_ratio;
  if (WriteCodecRatio(ratio) != 0) {
    // A quality just chosen is told apart from a codec never set up.
    const bool new_choice = opened_ratio_ && *opened_ratio_ != ratio;
    messages_.ShowMessageForm(
        new_choice ? kRatioNotSaved
                   : UserText("You need to run VIDCAP32.EXE at least once"),
        0, state_.messages.message_title);
  }
  opened_ratio_ = ratio;
  const uint32_t vidc = FourCCFromText("VIDC"), smsv = FourCCFromText("SMSV");
  FillCompressorHeaders(video_.capture_width, video_.capture_height);
  compressor_ = codecs_.Locate(vidc, smsv, CodecMode::kCompress);
  if (compressor_ == 0) return false;
  // Handed over as well as stored: the codec must not go on with an older
  // stored ratio when the write failed.
  codecs_.SendPrivate(compressor_, kIcSetRatio, ratio, 0);
  codecs_.CompressGetSize(compressor_, compressor_in_, compressor_out_);
  codecs_.CompressGetFormat(compressor_, compressor_in_, compressor_out_);
  if (codecs_.CompressBegin(compressor_, compressor_in_, compressor_out_) !=
      kIcOk)
    return false;

  decompressor_in_ = compressor_out_;
  decompressor_in_.bitmap.width = state_.values.display_width;
  decompressor_in_.bitmap.height = state_.values.display_height;
  decompressor_out_ = BitmapInfoHeader{};
  decompressor_out_.width = state_.values.display_width;
  decompressor_out_.height = state_.values.display_height;
  decompressor_ = codecs_.Locate(vidc, smsv, CodecMode::kDecompress);
  if (decompressor_ == 0) return false;
  codecs_.DecompressGetFormat(decompressor_, decompressor_in_,
                              decompressor_out_);
  return codecs_.DecompressBegin(decompressor_, decompressor_in_,
                                 decompressor_out_) == kIcOk;
}

void VideoEngine::CloseCodec() {
  if (compressor_ != 0) {
    codecs_.CompressEnd(compressor_);
    codecs_.Close(compressor_);
  }
  if (decompressor_ != 0) {
    codecs_.DecompressEnd(decompressor_);
    codecs_.Close(decompressor_);
  }
  compressor_ = decompressor_ = 0;
}

int32_t VideoEngine::CompressCurrentFrame() {
  if (video_.compress_busy == 1) return 0;
  video_.compress_busy = 1;
  // A camera that stops must not freeze the program: wait a second at most.
  if (!WaitWithEvents(clock_, kFrameWaitSeconds,
                      [this] { return video_.frames_ready != 0; })) {
    RequestNextFrame();
    video_.compress_busy = 0;
    return 0;
  }
  const VideoFrame frame = latest_;
  if (compressed_.empty()) compressed_.assign(kCompressedFrameBuffer, 0);
  const uint8_t* picture = NormaliseFrame(capture_format_, frame, work_);
  codecs_.SendPrivate(compressor_, kIcUserPrivate, FourCCFromText("KVAL"),
                      FourCCFromText("SMSV"));
  if (state_.values.force_key_frame == 1) video_.key_frame_counter = 0;
  const bool key = video_.key_frame_counter == 0;

  // The input header describes the picture actually handed over.
  const bool cut =
      capture_format_.compression != 0 || capture_format_.width == 176;
  const int width = cut ? kFrameWidth : capture_format_.width;
  const int height = cut ? kFrameHeight : capture_format_.height;
  if (width != compressor_in_.width || height != compressor_in_.height) {
    FillCompressorHeaders(width, height);
    codecs_.CompressEnd(compressor_);
    codecs_.CompressBegin(compressor_, compressor_in_, compressor_out_);
  }
  compressor_out_.bitmap.size_image = 0;
  uint32_t scratch = 0;
  IcCompress compress;
  compress.flags = key ? kIcCompressKeyFrame : 0;
  compress.output_format = &compressor_out_;
  compress.output = compressed_.data() + kFrameHeaderBytes;
  compress.input_format = &compressor_in_;
  compress.input = picture;
  compress.out_flags = &scratch;
  compress.frame_num = key ? 0 : 1;
  if (picture != nullptr) codecs_.Compress(compressor_, compress);

  if (++video_.key_frame_counter > video_.key_frame_limit)
    video_.key_frame_counter = 0;
  WriteFrameHeader(compressor_out_, compressed_.data());
  const int32_t length =
      kFrameHeaderBytes +
      static_cast<int32_t>(compressor_out_.bitmap.size_image);
  video_.frames_ready = 0;
  RequestNextFrame();
  video_.compress_busy = 0;
  return length;
}

bool VideoEngine::DecompressFrameRecord(const uint8_t* record,
                                        int64_t available) {
  if (record == nullptr || available < kFrameHeaderBytes) return false;
  decompressor_in_ = ParseFrameHeader(record);
  const BitmapInfoHeader& in = decompressor_in_.bitmap;
  const int64_t n = in.size_image;
  // Sizes come from a file: each side is bounded before the area is formed,
  // so that nothing overflows and nothing is decoded that would not fit.
  constexpr int32_t kLongestSide = kDecodedFrameBuffer / 3;
  if (n < 1 || kFrameHeaderBytes + n > available || in.width <= 0 ||
      in.width > kLongestSide || in.height == 0 || in.height < -kLongestSide ||
      in.height > kLongestSide) {
    return false;
  }
  const int64_t area =
      int64_t{in.width} * std::abs(static_cast<int64_t>(in.height));
  if (area * 3 > kDecodedFrameBuffer) return false;
  if (decoded_.empty()) decoded_.assign(kDecodedFrameBuffer, 0);
  decompressor_out_ = BitmapInfoHeader{};
  decompressor_out_.width = in.width;
  decompressor_out_.height = in.height;
  decompressor_out_.size_image = static_cast<uint32_t>(area * 3);
  last_decompress_flags_ =
      record[kFrameHeaderBytes + n - 1] == 1 ? 0 : kIcDecompressNotKeyFrame;
  IcDecompress decompress;
  decompress.flags = last_decompress_flags_;
  decompress.input_format = &decompressor_in_;
  decompress.input = record + kFrameHeaderBytes;
  decompress.output_format = &decompressor_out_;
  decompress.output = decoded_.data();
  // A frame the decoder refused leaves the old picture: nothing to draw.
  return codecs_.Decompress(decompressor_, decompress) == kIcOk;
}

}  // namespace vocapost
