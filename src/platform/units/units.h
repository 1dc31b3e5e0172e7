#pragma once

#include <cmath>
#include <cstdint>

namespace vocapost {

// Screen lengths are kept in twips, as the window layouts are given in them.
inline constexpr int kTwipsPerPixel = 15;

// Nearest integer, halves to the even one (banker's rounding), as the
// program's conversions to whole numbers round.
inline double RoundHalfEven(double value) {
  const double floor_value = std::floor(value);
  const double fraction = value - floor_value;
  if (fraction > 0.5) return floor_value + 1;
  if (fraction < 0.5) return floor_value;
  return std::fmod(floor_value, 2.0) == 0.0 ? floor_value : floor_value + 1;
}

inline int TwipsToPixels(double twips) {
  return static_cast<int>(RoundHalfEven(twips / kTwipsPerPixel));
}

inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// Offset that centres `inner` in `outer` (both in twips): the difference is
// made a whole number of twips, then halved with the remainder dropped.
inline int CentredOffsetTwips(double outer, double inner) {
  const auto difference = static_cast<int32_t>(RoundHalfEven(outer - inner));
  return difference / 2;
}

}  // namespace vocapost
