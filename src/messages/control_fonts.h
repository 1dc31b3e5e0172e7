#pragma once

#include <QFont>
#include <QSize>
#include <QStringList>

class QLabel;

namespace vocapost {

// The windows were laid out for an 8-point bitmap font, 11 pixels high.
inline constexpr int kControlFontPixels = 11;
// Below this a caption is no longer readable; it is the floor of fitting.
inline constexpr int kSmallestFontPixels = 7;

// The windows' font: the designed family when the system has it, else a
// common sans serif, at a pixel size (the layouts are in pixels too).
QFont ControlFont(int pixel_size = kControlFontPixels, bool bold = false);

// `font` at the largest pixel size, from its own down to the smallest, at
// which every line fits `box` (one line under another).
QFont FittingFont(QFont font, const QStringList& lines, QSize box);

// Gives `label` the fitting font for the widest text it will show (its
// current text when `widest` is empty), within its own contents area.
void FitLabelFont(QLabel& label, const QString& widest = {});

}  // namespace vocapost
