#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

struct gsm_state;

namespace vocapost {

// GSM 6.10 in the wave format's packing (format tag 0x0031): each 65-byte
// block holds two 160-sample frames, 320 samples at 8000 per second.
inline constexpr int kGsmBlockBytes = 65;
inline constexpr int kGsmBlockSamples = 320;
inline constexpr int kGsmSampleRate = 8000;
inline constexpr int kGsmBytesPerSecond = 1625;

// Encoders and decoders carry state from block to block, so one stream uses
// one of each.
class GsmEncoder {
 public:
  GsmEncoder();
  ~GsmEncoder();
  GsmEncoder(const GsmEncoder&) = delete;
  GsmEncoder& operator=(const GsmEncoder&) = delete;

  void EncodeBlock(const int16_t* samples, uint8_t* block);
  // `count` samples, a whole number of blocks' worth; the rest is ignored.
  QByteArray Encode(const int16_t* samples, size_t count);

 private:
  gsm_state* gsm_;
};

class GsmDecoder {
 public:
  GsmDecoder();
  ~GsmDecoder();
  GsmDecoder(const GsmDecoder&) = delete;
  GsmDecoder& operator=(const GsmDecoder&) = delete;

  void DecodeBlock(const uint8_t* block, int16_t* samples);
  // Decodes the whole blocks of `bytes`; a shorter rest is dropped.
  std::vector<int16_t> Decode(const uint8_t* bytes, size_t size);

 private:
  gsm_state* gsm_;
};

}  // namespace vocapost
