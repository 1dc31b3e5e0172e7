#include "platform/wave/gsm_codec.h"

#include <gsm.h>

namespace vocapost {
namespace {

gsm_state* CreateWav49() {
  gsm_state* gsm = gsm_create();
  int one = 1;
  gsm_option(gsm, GSM_OPT_WAV49, &one);
  return gsm;
}

}  // namespace

GsmEncoder::GsmEncoder() : gsm_(CreateWav49()) {}
GsmEncoder::~GsmEncoder() { gsm_destroy(gsm_); }

void GsmEncoder::EncodeBlock(const int16_t* samples, uint8_t* block) {
  // The first frame fills 32.5 bytes; the second starts in byte 32 and is
  // merged into it by the library.
  gsm_encode(gsm_, const_cast<gsm_signal*>(samples), block);
  gsm_encode(gsm_, const_cast<gsm_signal*>(samples + 160), block + 32);
}

QByteArray GsmEncoder::Encode(const int16_t* samples, size_t count) {
  const size_t blocks = count / kGsmBlockSamples;
  QByteArray bytes(static_cast<qsizetype>(blocks * kGsmBlockBytes), '\0');
  auto* out = reinterpret_cast<uint8_t*>(bytes.data());
  for (size_t i = 0; i < blocks; ++i) {
    EncodeBlock(samples + i * kGsmBlockSamples, out + i * kGsmBlockBytes);
  }
  return bytes;
}

GsmDecoder::GsmDecoder() : gsm_(CreateWav49()) {}
GsmDecoder::~GsmDecoder() { gsm_destroy(gsm_); }

void GsmDecoder::DecodeBlock(const uint8_t* block, int16_t* samples) {
  gsm_decode(gsm_, const_cast<gsm_byte*>(block), samples);
  gsm_decode(gsm_, const_cast<gsm_byte*>(block + 33), samples + 160);
}

std::vector<int16_t> GsmDecoder::Decode(const uint8_t* bytes, size_t size) {
  const size_t blocks = size / kGsmBlockBytes;
  std::vector<int16_t> samples(blocks * kGsmBlockSamples);
  for (size_t i = 0; i < blocks; ++i) {
    DecodeBlock(bytes + i * kGsmBlockBytes,
                samples.data() + i * kGsmBlockSamples);
  }
  return samples;
}

}  // namespace vocapost
