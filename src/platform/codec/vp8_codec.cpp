#include "platform/codec/vp8_codec.h"

#include <vpx/vp8cx.h>
#include <vpx/vp8dx.h>
#include <vpx/vpx_decoder.h>
#include <vpx/vpx_encoder.h>

#include <algorithm>

namespace vocapost {
namespace {

constexpr int kNominalRate = 20;  // frames a second, one per 50 ms tick

uint8_t Clamp(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// Full-range BT.601 in 16.16 fixed point, the conversion the capture side
// uses backwards; integer arithmetic keeps a frame well under a millisecond.
constexpr int kOne = 1 << 16, kHalf = 1 << 15;
constexpr int Fixed(double value) {
  return static_cast<int>(value * kOne + (value < 0 ? -0.5 : 0.5));
}

void BgrToI420(const uint8_t* bgr, int w, int h, vpx_image_t* img) {
  for (int y = 0; y < h; ++y) {
    const uint8_t* row =
        bgr + static_cast<ptrdiff_t>(h - 1 - y) * w * 3;  // bottom-up
    uint8_t* out = img->planes[VPX_PLANE_Y] + y * img->stride[VPX_PLANE_Y];
    for (int x = 0; x < w; ++x, row += 3) {
      out[x] = Clamp((Fixed(0.114) * row[0] + Fixed(0.587) * row[1] +
                      Fixed(0.299) * row[2] + kHalf) >>
                     16);
    }
  }
  for (int y = 0; y < (h + 1) / 2; ++y) {
    uint8_t* u = img->planes[VPX_PLANE_U] + y * img->stride[VPX_PLANE_U];
    uint8_t* v = img->planes[VPX_PLANE_V] + y * img->stride[VPX_PLANE_V];
    for (int x = 0; x < (w + 1) / 2; ++x) {
      int b = 0, g = 0, r = 0, n = 0;
      for (int dy = 0; dy < 2 && 2 * y + dy < h; ++dy) {
        const uint8_t* row =
            bgr + static_cast<ptrdiff_t>(h - 1 - (2 * y + dy)) * w * 3;
        for (int dx = 0; dx < 2 && 2 * x + dx < w; ++dx, ++n) {
          const uint8_t* p = row + 3 * (2 * x + dx);
          b += p[0], g += p[1], r += p[2];
        }
      }
      const int cu =
          Fixed(-0.168736) * r + Fixed(-0.331264) * g + Fixed(0.5) * b;
      const int cv =
          Fixed(0.5) * r + Fixed(-0.418688) * g + Fixed(-0.081312) * b;
      // A whole 2 × 2 block divides by a constant, which needs no division
      // instruction; the result is the same.
      u[x] = Clamp((n == 4 ? cu / 4 : cu / n) / kOne + 128);
      v[x] = Clamp((n == 4 ? cv / 4 : cv / n) / kOne + 128);
    }
  }
}

void ImageToBgr(const vpx_image_t* img, int w, int h, uint8_t* bgr) {
  I420ToBgr({img->planes[VPX_PLANE_Y], img->planes[VPX_PLANE_U],
             img->planes[VPX_PLANE_V]},
            {img->stride[VPX_PLANE_Y], img->stride[VPX_PLANE_U],
             img->stride[VPX_PLANE_V]},
            w, h, bgr);
}

}  // namespace

void I420ToBgr(std::array<const uint8_t*, 3> planes, std::array<int, 3> strides,
               int w, int h, uint8_t* bgr) {
  for (int y = 0; y < h; ++y) {
    uint8_t* row = bgr + static_cast<ptrdiff_t>(h - 1 - y) * w * 3;
    const uint8_t* yp = planes[0] + y * strides[0];
    const uint8_t* up = planes[1] + (y / 2) * strides[1];
    const uint8_t* vp = planes[2] + (y / 2) * strides[2];
    // Each colour sample serves two pixels: its terms are worked out once.
    for (int x = 0; x < w; x += 2) {
      const int u = up[x / 2] - 128, v = vp[x / 2] - 128;
      const int blue = Fixed(1.772) * u, red = Fixed(1.402) * v,
                green = -Fixed(0.344136) * u - Fixed(0.714136) * v;
      for (int k = x; k < std::min(x + 2, w); ++k, row += 3) {
        const int luma = yp[k] * kOne + kHalf;
        row[0] = Clamp((luma + blue) >> 16);
        row[1] = Clamp((luma + green) >> 16);
        row[2] = Clamp((luma + red) >> 16);
      }
    }
  }
}

struct Vp8Encoder::State {
  vpx_codec_ctx_t codec{};
  vpx_codec_enc_cfg_t config{};
  vpx_image_t image{};
  int width = 0, height = 0;
  int64_t pts = 0;
  bool open = false, image_allocated = false;
};

Vp8Encoder::Vp8Encoder(int width, int height, int target_bytes)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.width = width, s.height = height;
  if (width <= 0 || height <= 0 ||
      vpx_codec_enc_config_default(vpx_codec_vp8_cx(), &s.config, 0) !=
          VPX_CODEC_OK) {
    return;
  }
  vpx_codec_enc_cfg_t& c = s.config;
  c.g_w = static_cast<unsigned>(width);
  c.g_h = static_cast<unsigned>(height);
  c.g_timebase = {1, kNominalRate};
  c.g_threads = 1;
  c.g_lag_in_frames = 0;
  c.g_error_resilient = 0;
  c.rc_end_usage = VPX_CBR;
  c.rc_target_bitrate = static_cast<unsigned>(
      std::max(1, target_bytes * 8 * kNominalRate / 1000));
  c.rc_dropframe_thresh = 0;
  c.rc_min_quantizer = 0;
  c.rc_max_quantizer = 63;
  c.rc_undershoot_pct = 50;
  c.rc_overshoot_pct = 50;
  c.rc_buf_sz = 1000;
  c.rc_buf_initial_sz = 500;
  c.rc_buf_optimal_sz = 600;
  c.kf_mode = VPX_KF_DISABLED;
  if (vpx_codec_enc_init(&s.codec, vpx_codec_vp8_cx(), &c, 0) != VPX_CODEC_OK)
    return;
  s.open = true;
  vpx_codec_control(&s.codec, VP8E_SET_CPUUSED, 8);
  vpx_codec_control(&s.codec, VP8E_SET_MAX_INTRA_BITRATE_PCT, 150);
  s.image_allocated =
      vpx_img_alloc(&s.image, VPX_IMG_FMT_I420, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 16) != nullptr;
  ok_ = s.image_allocated;
}

Vp8Encoder::~Vp8Encoder() {
  if (state_->image_allocated) vpx_img_free(&state_->image);
  if (state_->open) vpx_codec_destroy(&state_->codec);
}

QByteArray Vp8Encoder::Encode(const uint8_t* bgr, bool force_key, bool coarsest,
                              bool* key) {
  *key = false;
  if (!ok_) return {};
  State& s = *state_;
  BgrToI420(bgr, s.width, s.height, &s.image);
  const vpx_codec_enc_cfg_t normal = s.config;
  if (coarsest) {
    s.config.rc_min_quantizer = s.config.rc_max_quantizer = 63;
    vpx_codec_enc_config_set(&s.codec, &s.config);
  }
  QByteArray frame;
  if (vpx_codec_encode(&s.codec, &s.image, s.pts++, 1,
                       force_key ? VPX_EFLAG_FORCE_KF : 0,
                       VPX_DL_REALTIME) == VPX_CODEC_OK) {
    vpx_codec_iter_t iter = nullptr;
    while (const vpx_codec_cx_pkt_t* packet =
               vpx_codec_get_cx_data(&s.codec, &iter)) {
      if (packet->kind != VPX_CODEC_CX_FRAME_PKT) continue;
      frame.append(static_cast<const char*>(packet->data.frame.buf),
                   static_cast<qsizetype>(packet->data.frame.sz));
      *key = *key || (packet->data.frame.flags & VPX_FRAME_IS_KEY) != 0;
    }
  }
  if (coarsest) {
    s.config = normal;
    vpx_codec_enc_config_set(&s.codec, &s.config);
  }
  return frame;
}

namespace {

constexpr size_t kKeyFrameHeaderBytes = 10;  // frame tag, start code, size
constexpr size_t kFrameTagBytes = 3;

}  // namespace

bool Vp8Decoder::SizeAsDeclared(const uint8_t* frame, size_t size, int width,
                                int height) {
  if (size < kFrameTagBytes || width <= 0 || height <= 0 ||
      static_cast<int64_t>(width) * height * 3 > max_picture_bytes_) {
    return false;
  }
  const bool key = (frame[0] & 1) == 0;
  if (!key) return true;  // takes the size of the key frame before it
  // libvpx allocates for whatever size a key frame declares: a lying frame
  // must be refused before it reaches the decoder.
  if (size < kKeyFrameHeaderBytes) return false;
  vpx_codec_stream_info_t info{};
  info.sz = sizeof info;
  return vpx_codec_peek_stream_info(vpx_codec_vp8_dx(), frame,
                                    static_cast<unsigned>(size),
                                    &info) == VPX_CODEC_OK &&
         info.is_kf != 0 && static_cast<int>(info.w) == width &&
         static_cast<int>(info.h) == height;
}

struct Vp8Decoder::State {
  vpx_codec_ctx_t codec{};
  bool open = false;
};

Vp8Decoder::Vp8Decoder(int64_t max_picture_bytes)
    : state_(std::make_unique<State>()), max_picture_bytes_(max_picture_bytes) {
  state_->open = vpx_codec_dec_init(&state_->codec, vpx_codec_vp8_dx(), nullptr,
                                    0) == VPX_CODEC_OK;
}

Vp8Decoder::~Vp8Decoder() {
  if (state_->open) vpx_codec_destroy(&state_->codec);
}

bool Vp8Decoder::Decode(const uint8_t* frame, size_t size, int width,
                        int height, uint8_t* bgr) {
  if (!state_->open || !SizeAsDeclared(frame, size, width, height) ||
      vpx_codec_decode(&state_->codec, frame, static_cast<unsigned>(size),
                       nullptr, 0) != VPX_CODEC_OK) {
    return false;
  }
  vpx_codec_iter_t iter = nullptr;
  const vpx_image_t* image = vpx_codec_get_frame(&state_->codec, &iter);
  if (image == nullptr || static_cast<int>(image->d_w) != width ||
      static_cast<int>(image->d_h) != height) {
    return false;
  }
  ImageToBgr(image, width, height, bgr);
  return true;
}

}  // namespace vocapost
