#include "platform/codec/codec_manager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/codec/vp8_codec.h"

namespace vocapost {
namespace {

constexpr uint8_t kCodecVersion = 1;
constexpr int kLargestSide = 640;

bool UsablePicture(int32_t width, int32_t height) {
  return width > 0 && height != 0 && width <= kLargestSide &&
         height >= -kLargestSide && height <= kLargestSide;
}

}  // namespace

class SmsvInstance {
 public:
  SmsvInstance(RegistryStore& registry, CodecMode mode)
      : registry_(registry), mode_(mode) {}
  CodecMode mode() const { return mode_; }

  int32_t Begin(const BitmapInfoHeader& in) {
    if (!UsablePicture(in.width, in.height) || in.bit_count != 24 ||
        in.compression != 0) {
      return kIcBadFormat;
    }
    const uint32_t given =
        ratio_ ? *ratio_ : registry_.GetDword(kCodecKey, "Ratio").value_or(25);
    const int ratio =
        given == 0 ? 25 : static_cast<int>(std::min<uint32_t>(given, 1000));
    width_ = in.width;
    height_ = std::abs(in.height);
    encoder_ = std::make_unique<Vp8Encoder>(width_, height_,
                                            width_ * height_ * 3 / ratio);
    force_key_ = true;
    return encoder_->ok() ? kIcOk : kIcError;
  }

  int32_t Compress(IcCompress& c) {
    if (!encoder_ || c.input_format == nullptr ||
        c.input_format->width != width_ ||
        std::abs(c.input_format->height) != height_) {
      return kIcBadFormat;
    }
    bool key = false;
    QByteArray frame = encoder_->Encode(
        c.input, force_key_ || (c.flags & kIcCompressKeyFrame), false, &key);
    force_key_ = false;
    if (frame.size() + 1 > kLongestPayload) {
      // Over the cap: the same picture again as the coarsest key frame.
      frame = encoder_->Encode(c.input, true, true, &key);
    }
    int32_t n = 0;
    if (frame.size() + 1 <= kLongestPayload && !frame.isEmpty()) {
      std::memcpy(c.output, frame.constData(),
                  static_cast<size_t>(frame.size()));
      c.output[frame.size()] = key ? 1 : 0;
      n = static_cast<int32_t>(frame.size()) + 1;
    } else {
      force_key_ = true;  // nothing to build on for the next frame
    }
    FillFormat(*c.input_format, *c.output_format);
    c.output_format->bitmap.size_image = static_cast<uint32_t>(n);
    if (c.out_flags != nullptr) *c.out_flags = key ? 0x10 : 0;
    return kIcOk;
  }

  void SetRatio(uint32_t ratio) { ratio_ = ratio; }

  static void FillFormat(const BitmapInfoHeader& in, FrameHeader& out) {
    out.bitmap.size = kFrameHeaderBytes;
    out.bitmap.width = in.width;
    out.bitmap.height = in.height;
    out.bitmap.planes = 1;
    out.bitmap.bit_count = 24;
    out.bitmap.compression = FourCCFromText("SMSV");
    std::memset(out.codec, 0, sizeof out.codec);
    out.codec[0] = kCodecVersion;
  }

  int32_t DecompressBegin() {
    decoder_ = std::make_unique<Vp8Decoder>(kLargestPictureBytes);
    return kIcOk;
  }

  int32_t Decompress(IcDecompress& d) {
    if (!decoder_ || d.input_format == nullptr) return kIcBadFormat;
    const BitmapInfoHeader& in = d.input_format->bitmap;
    const uint32_t n = in.size_image;
    if (!UsablePicture(in.width, in.height) || n < 2) return kIcBadFormat;
    // The trailer byte is ours, not VP8's.
    return decoder_->Decode(d.input, n - 1, in.width, std::abs(in.height),
                            d.output)
               ? kIcOk
               : kIcError;
  }

  void End() {
    encoder_.reset();
    decoder_.reset();
  }

 private:
  RegistryStore& registry_;
  CodecMode mode_;
  std::unique_ptr<Vp8Encoder> encoder_;
  std::unique_ptr<Vp8Decoder> decoder_;
  int width_ = 0, height_ = 0;
  bool force_key_ = true;
  std::optional<uint32_t> ratio_;  // handed over; else the stored one
};

CodecManager::CodecManager(RegistryStore& registry) : registry_(registry) {
  registry_.CreateKey(kCodecKey);
}

CodecManager::~CodecManager() = default;

SmsvInstance* CodecManager::Find(Handle h) {
  const auto it = instances_.find(h);
  return it == instances_.end() ? nullptr : it->second.get();
}

CodecManager::Handle CodecManager::Locate(uint32_t type, uint32_t handler,
                                          CodecMode mode) {
  if (!installed_ || type != FourCCFromText("VIDC") ||
      handler != FourCCFromText("SMSV")) {
    return 0;
  }
  const Handle handle = next_++;
  instances_[handle] = std::make_unique<SmsvInstance>(registry_, mode);
  return handle;
}

void CodecManager::Close(Handle h) { instances_.erase(h); }

int32_t CodecManager::CompressGetSize(Handle h, const BitmapInfoHeader&,
                                      FrameHeader&) {
  return Find(h) ? kLongestPayload : kIcError;
}

int32_t CodecManager::CompressGetFormat(Handle h, const BitmapInfoHeader& in,
                                        FrameHeader& out) {
  if (!Find(h)) return kIcError;
  SmsvInstance::FillFormat(in, out);
  return kIcOk;
}

int32_t CodecManager::CompressBegin(Handle h, const BitmapInfoHeader& in,
                                    const FrameHeader&) {
  SmsvInstance* codec = Find(h);
  return codec && codec->mode() == CodecMode::kCompress ? codec->Begin(in)
                                                        : kIcError;
}

int32_t CodecManager::Compress(Handle h, IcCompress& compress) {
  SmsvInstance* codec = Find(h);
  return codec ? codec->Compress(compress) : kIcError;
}

int32_t CodecManager::CompressEnd(Handle h) {
  if (SmsvInstance* codec = Find(h)) codec->End();
  return kIcOk;
}

int32_t CodecManager::DecompressGetFormat(Handle h, const FrameHeader& in,
                                          BitmapInfoHeader& out) {
  if (!Find(h)) return kIcError;
  out.size = kBitmapHeaderBytes;
  out.width = in.bitmap.width;
  out.height = in.bitmap.height;
  out.planes = 1;
  out.bit_count = 24;
  out.compression = 0;
  const int64_t area = static_cast<int64_t>(in.bitmap.width) *
                       static_cast<int64_t>(in.bitmap.height);
  out.size_image = UsablePicture(in.bitmap.width, in.bitmap.height)
                       ? static_cast<uint32_t>(std::abs(area) * 3)
                       : 0;
  return kIcOk;
}

int32_t CodecManager::DecompressBegin(Handle h, const FrameHeader&,
                                      const BitmapInfoHeader&) {
  SmsvInstance* codec = Find(h);
  return codec && codec->mode() == CodecMode::kDecompress
             ? codec->DecompressBegin()
             : kIcError;
}

int32_t CodecManager::Decompress(Handle h, IcDecompress& decompress) {
  SmsvInstance* codec = Find(h);
  return codec ? codec->Decompress(decompress) : kIcError;
}

int32_t CodecManager::DecompressEnd(Handle h) {
  if (SmsvInstance* codec = Find(h)) codec->End();
  return kIcOk;
}

int32_t CodecManager::SendPrivate(Handle h, uint32_t message, intptr_t first,
                                  intptr_t) {
  SmsvInstance* codec = Find(h);
  if (codec == nullptr) return kIcUnsupported;
  if (message == kIcSetRatio) {
    if (first < 0 || first > INT32_MAX) return kIcBadFormat;
    codec->SetRatio(static_cast<uint32_t>(first));
    return kIcOk;
  }
  // The maker's private message carries nothing this codec needs.
  return message == kIcUserPrivate ? kIcOk : kIcUnsupported;
}

}  // namespace vocapost
