#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <memory>

namespace vocapost {

// VP8 through libvpx on 24-bit bottom-up BGR pictures, as the SMSV codec
// uses it: constant bit rate at a nominal 20 frames a second, key frames
// only when asked for.
class Vp8Encoder {
 public:
  Vp8Encoder(int width, int height, int target_bytes_per_frame);
  ~Vp8Encoder();
  Vp8Encoder(const Vp8Encoder&) = delete;
  Vp8Encoder& operator=(const Vp8Encoder&) = delete;

  bool ok() const { return ok_; }
  // The VP8 frame for `bgr`; `key` says whether it is a key frame. With
  // `coarsest` the quantizer is held at its limit for this one frame.
  QByteArray Encode(const uint8_t* bgr, bool force_key, bool coarsest,
                    bool* key);

 private:
  struct State;
  std::unique_ptr<State> state_;
  bool ok_ = false;
};

// A decoded VP8 picture (Y, U, V planes, 4:2:0) as the decoder hands it
// out: 24-bit bottom-up BGR, full range.
void I420ToBgr(std::array<const uint8_t*, 3> planes, std::array<int, 3> strides,
               int w, int h, uint8_t* bgr);

class Vp8Decoder {
 public:
  // Pictures of more than `max_picture_bytes` (24-bit) are never decoded.
  explicit Vp8Decoder(int64_t max_picture_bytes);
  ~Vp8Decoder();
  Vp8Decoder(const Vp8Decoder&) = delete;
  Vp8Decoder& operator=(const Vp8Decoder&) = delete;

  // Decodes `frame` into `bgr` (width × height × 3 bytes, bottom-up) when
  // the frame has that size. False when nothing was decoded.
  bool Decode(const uint8_t* frame, size_t size, int width, int height,
              uint8_t* bgr);

 private:
  bool SizeAsDeclared(const uint8_t* frame, size_t size, int width, int height);

  struct State;
  std::unique_ptr<State> state_;
  int64_t max_picture_bytes_;
};

}  // namespace vocapost
