#pragma once

#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>

#include "platform/units/units.h"

namespace vocapost {

// The primary screen's area in pixels; empty when there is no screen.
inline QRect ScreenArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect();
}

// The top-left corner, in pixels, that centres a window of the given size
// (twips) on the screen, rounded as the window layouts are.
inline QPoint CentredOnScreen(int width_twips, int height_twips) {
  const QRect area = ScreenArea();
  return {area.x() + TwipsToPixels(CentredOffsetTwips(
                         PixelsToTwips(area.width()), width_twips)),
          area.y() + TwipsToPixels(CentredOffsetTwips(
                         PixelsToTwips(area.height()), height_twips))};
}

}  // namespace vocapost
