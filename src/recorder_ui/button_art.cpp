#include "recorder_ui/button_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vocapost {
namespace {

struct Palette {
  QColor top, bottom, edge, glyph;
};

Palette PaletteFor(ButtonGlyph glyph, ButtonLook look) {
  if (look == ButtonLook::kDisabled) {
    return {QColor(0xdd, 0xdd, 0xdd), QColor(0xc4, 0xc4, 0xc4),
            QColor(0xa8, 0xa8, 0xa8), QColor(0x9a, 0x9a, 0x9a)};
  }
  const QColor accent = glyph == ButtonGlyph::kStop ? QColor(0x1f, 0x5f, 0xa8)
                                                    : QColor(0xb0, 0x3a, 0x2e);
  if (look == ButtonLook::kDown) {
    return {accent.darker(150), accent.darker(115), accent.darker(200),
            QColor(0xf0, 0xf0, 0xf0)};
  }
  return {accent.lighter(135), accent, accent.darker(150), Qt::white};
}

void DrawGlyph(QPainter& p, ButtonGlyph glyph, const QRectF& r) {
  const qreal s = r.width();
  switch (glyph) {
    case ButtonGlyph::kStop:
      p.drawRoundedRect(QRectF(r.center().x() - s * 0.2,
                               r.center().y() - s * 0.2, s * 0.4, s * 0.4),
                        s * 0.05, s * 0.05);
      break;
    case ButtonGlyph::kExit: {
      // A power symbol: an open ring and a bar.
      QPen pen(p.brush().color(), s * 0.09, Qt::SolidLine, Qt::RoundCap);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      const QRectF ring(r.center().x() - s * 0.24, r.center().y() - s * 0.2,
                        s * 0.48, s * 0.48);
      p.drawArc(ring, 120 * 16, -240 * 16);
      p.drawLine(QPointF(r.center().x(), r.center().y() - s * 0.3),
                 QPointF(r.center().x(), r.center().y() + s * 0.02));
      break;
    }
  }
}

}  // namespace

QPixmap ButtonPicture(ButtonGlyph glyph, ButtonLook look, QSize size,
                      qreal device_pixel_ratio) {
  QPixmap pixmap(size * device_pixel_ratio);
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  pixmap.fill(Qt::transparent);
  const Palette colours = PaletteFor(glyph, look);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF area =
      QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(area.topLeft(), area.bottomLeft());
  fill.setColorAt(0, colours.top);
  fill.setColorAt(1, colours.bottom);
  p.setPen(QPen(colours.edge, 1));
  p.setBrush(fill);
  const qreal radius = size.width() * 0.22;
  p.drawRoundedRect(area, radius, radius);
  p.setPen(Qt::NoPen);
  p.setBrush(colours.glyph);
  // A pressed button's face sits a little lower.
  const QRectF glyph_area = look == ButtonLook::kDown
                                ? area.translated(0, size.height() * 0.04)
                                : area;
  DrawGlyph(p, glyph, glyph_area);
  return pixmap;
}

}  // namespace vocapost
