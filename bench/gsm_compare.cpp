// Our GSM 6.10 (the wave format's 65-byte blocks) against sox's, on 60 s of
// a voice-like signal: time to encode and decode, and the signal-to-noise
// ratio of the decoded sound. usage: vocapost_gsm_compare WORKDIR
// Prints one JSON object.
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "child_runs.h"
#include "platform/wave/gsm_codec.h"
#include "platform/wave/wav_file.h"

namespace {

using Samples = std::vector<int16_t>;
constexpr int kSeconds = 60;
constexpr int kRepeats = 5;

// Glottal pulses at a wandering pitch through two moving formants, in
// syllables of about a quarter second with pauses between phrases.
Samples VoiceLike() {
  const int rate = vocapost::kGsmSampleRate;
  std::vector<double> wave(static_cast<size_t>(kSeconds * rate));
  double phase = 0, y1[2] = {}, y2[2] = {};
  const double pi = std::numbers::pi;
  for (size_t i = 0; i < wave.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double pitch = 140 + 30 * std::sin(2 * pi * 0.3 * t);
    phase += pitch / rate;
    const double pulse = phase >= 1 ? (phase -= 1, 1.0) : 0.0;
    const double syllable = std::max(0.0, std::sin(2 * pi * 2 * t));
    const double phrase = std::fmod(t, 4.0) < 3.2 ? 1.0 : 0.0;
    const double x = pulse * syllable * phrase;
    const double formants[2] = {500 + 300 * std::sin(2 * pi * 0.7 * t),
                                1500 + 600 * std::sin(2 * pi * 0.45 * t)};
    double sum = 0;
    for (int f = 0; f < 2; ++f) {  // two-pole resonators
      const double r = 0.97, w = 2 * pi * formants[f] / rate;
      const double y = x + 2 * r * std::cos(w) * y1[f] - r * r * y2[f];
      y2[f] = y1[f], y1[f] = y;
      sum += y * (f == 0 ? 1.0 : 0.6);
    }
    wave[i] = sum;
  }
  // Peaks at a fifth below full scale, as a voice at a good level.
  double peak = 1e-9;
  for (double v : wave) peak = std::max(peak, std::abs(v));
  Samples out(wave.size());
  for (size_t i = 0; i < wave.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(wave[i] * 26000 / peak));
  return out;
}

// The best ratio over small delays, so that a codec's delay does not count.
double SnrDb(const Samples& a, const Samples& b) {
  double best = -100;
  for (int lag = 0; lag <= 400; ++lag) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i + static_cast<size_t>(lag) < b.size() && i < a.size();
         ++i) {
      const double d = double(a[i]) - double(b[i + static_cast<size_t>(lag)]);
      signal += double(a[i]) * a[i], noise += d * d;
    }
    best = std::max(best, 10 * std::log10(signal / std::max(noise, 1.0)));
  }
  return best;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since)
      .count();
}

// CPU seconds of the least of a few sox runs; fails loudly.
double Sox(const QStringList& args) {
  return vocapost::bench::LeastChildCpu("sox", args, kRepeats, 60000);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qt(argc, argv);
  if (argc != 2) return 2;
  const QString work = qt.arguments()[1];
  const Samples voice = VoiceLike();
  vocapost::WavWriter(work + "/voice.wav").Append(voice.data(), voice.size());
  // sox's start-up, taken away from its times: the same work on one block.
  vocapost::WavWriter(work + "/short.wav").Append(voice.data(), 320);

  double encode = 1e9, decode = 1e9;
  Samples ours;
  for (int i = 0; i < kRepeats; ++i) {
    vocapost::GsmEncoder encoder;
    vocapost::GsmDecoder decoder;
    auto start = std::chrono::steady_clock::now();
    const QByteArray gsm = encoder.Encode(voice.data(), voice.size());
    encode = std::min(encode, Seconds(start));
    start = std::chrono::steady_clock::now();
    ours = decoder.Decode(reinterpret_cast<const uint8_t*>(gsm.data()),
                          static_cast<size_t>(gsm.size()));
    decode = std::min(decode, Seconds(start));
  }
  const QStringList to_gsm{"-e", "gsm-full-rate"}, to_pcm{"-e", "signed", "-b",
                                                          "16"};
  const double sox_encode =
      Sox({work + "/voice.wav", to_gsm[0], to_gsm[1], work + "/theirs.wav"}) -
      Sox({work + "/short.wav", to_gsm[0], to_gsm[1], work + "/short49.wav"});
  const QStringList decode_args = QStringList{work + "/theirs.wav"} + to_pcm +
                                  QStringList{work + "/decoded.wav"};
  const double sox_decode =
      Sox(decode_args) - Sox(QStringList{work + "/short49.wav"} + to_pcm +
                             QStringList{work + "/short16.wav"});
  const auto theirs = vocapost::ReadWavSamples(work + "/decoded.wav");
  if (!theirs) return 1;
  const QJsonObject row{
      {"seconds", kSeconds},
      {"ours",
       QJsonObject{{"encode_ms", 1000 * encode},
                   {"decode_ms", 1000 * decode},
                   {"snr_db", SnrDb(voice, ours)}}},
      {"theirs",
       QJsonObject{{"encode_ms", 1000 * std::max(0.0, sox_encode)},
                   {"decode_ms", 1000 * std::max(0.0, sox_decode)},
                   {"snr_db", SnrDb(voice, *theirs)}}},
  };
  std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).data());
  return 0;
}
