#include "messages/control_fonts.h"

#include <QFontMetrics>
#include <QLabel>

namespace vocapost {
namespace {

bool Fits(const QFont& font, const QStringList& lines, QSize box) {
  const QFontMetrics metrics(font);
  if (metrics.height() * lines.size() > box.height()) return false;
  for (const QString& line : lines) {
    if (metrics.horizontalAdvance(line) > box.width()) return false;
  }
  return true;
}

}  // namespace

QFont ControlFont(int pixel_size, bool bold) {
  QFont font;
  font.setFamilies({"MS Sans Serif", "DejaVu Sans", "Liberation Sans", "Arial",
                    "sans-serif"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

QFont FittingFont(QFont font, const QStringList& lines, QSize box) {
  int size =
      font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  for (; size > kSmallestFontPixels; --size) {
    font.setPixelSize(size);
    if (Fits(font, lines, box)) return font;
  }
  font.setPixelSize(kSmallestFontPixels);
  return font;
}

void FitLabelFont(QLabel& label, const QString& widest) {
  const QString text = widest.isEmpty() ? label.text() : widest;
  const QSize box = label.contentsRect().size();
  label.setFont(FittingFont(label.font(), text.split('\n'), box));
}

}  // namespace vocapost
