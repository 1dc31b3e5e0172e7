// Coding one recorder buffer (5440 samples, 0.68 s of sound) and decoding
// one 1105-byte audio record: the audio cost of every record, both ways.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/wave/gsm_codec.h"

namespace {

std::vector<int16_t> Speechlike() {
  std::vector<int16_t> samples(5440);
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / 8000;
    samples[i] =
        static_cast<int16_t>(6000 * std::sin(2 * std::numbers::pi * 220 * t) +
                             3000 * std::sin(2 * std::numbers::pi * 1330 * t));
  }
  return samples;
}

void BM_EncodeRecorderBuffer(benchmark::State& state) {
  const std::vector<int16_t> samples = Speechlike();
  vocapost::GsmEncoder encoder;
  for (auto _ : state)
    benchmark::DoNotOptimize(encoder.Encode(samples.data(), samples.size()));
}
BENCHMARK(BM_EncodeRecorderBuffer)->Unit(benchmark::kMicrosecond);

void BM_DecodeAudioRecord(benchmark::State& state) {
  const std::vector<int16_t> samples = Speechlike();
  vocapost::GsmEncoder encoder;
  const QByteArray coded = encoder.Encode(samples.data(), samples.size());
  vocapost::GsmDecoder decoder;
  for (auto _ : state) {
    benchmark::DoNotOptimize(decoder.Decode(
        reinterpret_cast<const uint8_t*>(coded.constData()), coded.size()));
  }
}
BENCHMARK(BM_DecodeAudioRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
