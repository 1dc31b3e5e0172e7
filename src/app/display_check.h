#pragma once

#include <QString>
#include <cstdint>

#include "platform/display/display_info.h"

namespace vocapost {

inline constexpr int32_t kFallbackColourCount = 16000000;
inline constexpr int32_t kMostRefusedColours = 256;

// 2 to the power of the bits per pixel, times the planes; 16,000,000 when
// that does not fit in 32 bits.
int32_t ColourCount(const DisplayDepth& depth);

// The system folder, ending in a separator.
QString SystemDirectory();

// Appends a separator unless `dir` already ends in one.
QString WithTrailingSeparator(const QString& dir);

// The message for a display with too few colours, with the hint chosen by
// what `system_dir` holds.
QString DisplayMessageText(const QString& system_dir);

bool DisplayHasEnoughColours(DisplayInfo& display);

}  // namespace vocapost
