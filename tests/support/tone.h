#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace vocapost::testing {

inline std::vector<int16_t> Tone(double hz, size_t count,
                                 double amplitude = 8000, size_t start = 0) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) {
    samples[i] = static_cast<int16_t>(
        amplitude * std::sin(2 * std::numbers::pi * hz *
                             static_cast<double>(i + start) / 8000));
  }
  return samples;
}

// How far a tone of `hz` stands above everything else in `samples`: the
// best-fitting sine of that frequency is the signal, the rest is noise (dB).
inline double ToneSnrDb(const std::vector<int16_t>& samples, double hz) {
  double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const double w = 2 * std::numbers::pi * hz * static_cast<double>(i) / 8000;
    const double s = std::sin(w), c = std::cos(w), y = samples[i];
    ss += s * s, sc += s * c, cc += c * c, ys += y * s, yc += y * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
  double signal = 0, noise = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const double w = 2 * std::numbers::pi * hz * static_cast<double>(i) / 8000;
    const double fit = a * std::sin(w) + b * std::cos(w);
    signal += fit * fit;
    noise += (samples[i] - fit) * (samples[i] - fit);
  }
  return 10 * std::log10(signal / std::max(noise, 1e-9));
}

}  // namespace vocapost::testing
