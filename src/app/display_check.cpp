#include "app/display_check.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "platform/text/user_text.h"

namespace vocapost {

int32_t ColourCount(const DisplayDepth& depth) {
  const double count =
      std::ldexp(1.0, std::clamp(depth.bits_per_pixel, -1100, 1100)) *
      depth.planes;
  if (!(count >= INT32_MIN && count <= INT32_MAX)) return kFallbackColourCount;
  return static_cast<int32_t>(count);
}

QString WithTrailingSeparator(const QString& dir) {
  return dir.endsWith('/') ? dir : dir + '/';
}

QString SystemDirectory() { return WithTrailingSeparator("/usr/lib"); }

QString DisplayMessageText(const QString& system_dir) {
  const QString hint =
      QFileInfo::exists(system_dir + "VMM32.VXD")
          ? UserText(
                "For Win95, check CONTROL PANEL|DISPLAY|SETTINGS|Color "
                "palette and select a VGA driver with colors Set To At Least "
                "Hi-color (16 bit or 32000 colors).")
          : UserText(
                "For Win31, check MAIN|WINDOWS SETUP|OPTIONS|CHANGE SYSTEM "
                "SETTINGS|DISPLAY and select a VGA driver with colors above "
                "32000.  Alternately, your VGA card may have its own utility "
                "program to do this.");
  // The hint follows directly; the template lets the two be translated
  // apart.
  return UserText(
             "Your VGA Display Drivers Must Be Set To At Least Hi-color (16 "
             "bit or 32000 colors) For This Program To Run.  %1")
      .arg(hint);
}

bool DisplayHasEnoughColours(DisplayInfo& display) {
  return ColourCount(display.Depth()) > kMostRefusedColours;
}

}  // namespace vocapost
