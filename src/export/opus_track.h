#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

struct OpusEncoder;

namespace vocapost {

struct OpusPacket {
  QByteArray data;
  int64_t start = 0;    // in samples at 8000 a second, pre-skip included
  int64_t padding = 0;  // samples past the sound's end, to be cut
};

// 8000 Hz mono speech as Opus packets of 40 ms, at about the bit rate the
// GSM sound had (13 kbit/s) or less.
class OpusTrack {
 public:
  static constexpr int kSampleRate = 8000;
  static constexpr int kFrameSamples = 320;
  static constexpr int kBitRate = 12000;
  static constexpr int kComplexity = 1;

  OpusTrack();
  ~OpusTrack();
  OpusTrack(const OpusTrack&) = delete;
  OpusTrack& operator=(const OpusTrack&) = delete;

  bool ok() const { return encoder_ != nullptr; }
  // Samples the decoder drops at the start (the encoder's look-ahead).
  int pre_skip() const { return pre_skip_; }
  // The "OpusHead" identification header that the container carries.
  QByteArray Head() const;
  // Encodes `pcm`, whose first sample plays at `start`. Empty on failure.
  std::vector<OpusPacket> Encode(const std::vector<int16_t>& pcm,
                                 int64_t start);

 private:
  OpusEncoder* encoder_ = nullptr;
  int pre_skip_ = 0;
};

}  // namespace vocapost
