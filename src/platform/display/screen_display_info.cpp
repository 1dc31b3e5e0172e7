#include "platform/display/screen_display_info.h"

#include <QGuiApplication>
#include <QScreen>

namespace vocapost {

DisplayDepth ScreenDisplayInfo::Depth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  // No screen at all: report a depth that passes, as an unknown depth does.
  if (screen == nullptr) return DisplayDepth{32, 1};
  return DisplayDepth{screen->depth(), 1};
}

}  // namespace vocapost
