#pragma once

#include <QPixmap>
#include <QSize>

namespace vocapost {

enum class ButtonGlyph {
  kStop,
  kExit,
  kRecord,
  kPlay,
  kQualityHigh,
  kQualityMedium,
  kQualityLow,
  kSpeedLowest,
  kSpeedLow,
  kSpeedMedium,
  kSpeedHigh,
  kHelp,
  kAbout,
  kPackage,
  kSend,
  kPlaySelected,
  kDelete,
  kSendPackage,
};
enum class ButtonLook { kNormal, kDown, kDisabled };

// The program's own button pictures, drawn at the screen's pixel density so
// that they stay crisp.
QPixmap ButtonPicture(ButtonGlyph glyph, ButtonLook look, QSize size,
                      qreal device_pixel_ratio);

}  // namespace vocapost
