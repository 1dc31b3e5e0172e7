#include "recorder_ui/button_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace vocapost {
namespace {

struct Palette {
  QColor top, bottom, edge, glyph;
};

QColor AccentFor(ButtonGlyph glyph) {
  switch (glyph) {
    case ButtonGlyph::kExit:
    case ButtonGlyph::kRecord:
    case ButtonGlyph::kDelete:
      return QColor(0xb0, 0x3a, 0x2e);
    case ButtonGlyph::kPlay:
    case ButtonGlyph::kPlaySelected:
      return QColor(0x2e, 0x8b, 0x57);
    case ButtonGlyph::kQualityHigh:
    case ButtonGlyph::kQualityMedium:
    case ButtonGlyph::kQualityLow:
    case ButtonGlyph::kSpeedLowest:
    case ButtonGlyph::kSpeedLow:
    case ButtonGlyph::kSpeedMedium:
    case ButtonGlyph::kSpeedHigh:
      return QColor(0x5a, 0x5f, 0x73);
    case ButtonGlyph::kPackage:
    case ButtonGlyph::kSend:
    case ButtonGlyph::kSendPackage:
      return QColor(0xc7, 0x7c, 0x1e);
    default:
      return QColor(0x1f, 0x5f, 0xa8);
  }
}

Palette PaletteFor(ButtonGlyph glyph, ButtonLook look) {
  if (look == ButtonLook::kDisabled) {
    return {QColor(0xdd, 0xdd, 0xdd), QColor(0xc4, 0xc4, 0xc4),
            QColor(0xa8, 0xa8, 0xa8), QColor(0x9a, 0x9a, 0x9a)};
  }
  const QColor accent = AccentFor(glyph);
  if (look == ButtonLook::kDown) {
    return {accent.darker(150), accent.darker(115), accent.darker(200),
            QColor(0xf0, 0xf0, 0xf0)};
  }
  return {accent.lighter(135), accent, accent.darker(150), Qt::white};
}

// `count` of `total` bars rising left to right: quality and speed levels.
void DrawBars(QPainter& p, const QRectF& r, int count, int total) {
  const qreal s = r.width(), bar = s * 0.6 / total;
  for (int i = 0; i < total; ++i) {
    const qreal height = s * 0.15 + s * 0.45 * (i + 1) / total;
    const QRectF box(r.left() + s * 0.2 + i * bar,
                     r.bottom() - s * 0.2 - height, bar * 0.7, height);
    p.setOpacity(i < count ? 1.0 : 0.3);
    p.drawRect(box);
  }
  p.setOpacity(1.0);
}

void DrawEnvelope(QPainter& p, const QRectF& r) {
  const qreal s = r.width();
  const QRectF body(r.center().x() - s * 0.3, r.center().y() - s * 0.2, s * 0.6,
                    s * 0.4);
  p.drawRect(body);
  QPen pen(QColor(0, 0, 0, 90), s * 0.04);
  p.setPen(pen);
  p.drawLine(body.topLeft(), body.center());
  p.drawLine(body.topRight(), body.center());
  p.setPen(Qt::NoPen);
}

void DrawText(QPainter& p, const QRectF& r, const QString& text) {
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(static_cast<int>(r.height() * 0.55));
  p.setFont(font);
  p.setPen(QPen(p.brush().color()));
  p.drawText(r, Qt::AlignCenter, text);
  p.setPen(Qt::NoPen);
}

void DrawGlyph(QPainter& p, ButtonGlyph glyph, const QRectF& r) {
  const qreal s = r.width();
  const QPointF c = r.center();
  switch (glyph) {
    case ButtonGlyph::kStop:
      p.drawRoundedRect(
          QRectF(c.x() - s * 0.2, c.y() - s * 0.2, s * 0.4, s * 0.4), s * 0.05,
          s * 0.05);
      break;
    case ButtonGlyph::kExit: {
      // A power symbol: an open ring and a bar.
      p.setPen(QPen(p.brush().color(), s * 0.09, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(c.x() - s * 0.24, c.y() - s * 0.2, s * 0.48, s * 0.48),
                120 * 16, -240 * 16);
      p.drawLine(QPointF(c.x(), c.y() - s * 0.3),
                 QPointF(c.x(), c.y() + s * 0.02));
      break;
    }
    case ButtonGlyph::kRecord:
      p.drawEllipse(c, s * 0.22, s * 0.22);
      break;
    case ButtonGlyph::kPlay:
    case ButtonGlyph::kPlaySelected: {
      const qreal k = glyph == ButtonGlyph::kPlay ? 0.25 : 0.18;
      p.drawPolygon(QPolygonF({QPointF(c.x() - s * k * 0.8, c.y() - s * k),
                               QPointF(c.x() + s * k, c.y()),
                               QPointF(c.x() - s * k * 0.8, c.y() + s * k)}));
      break;
    }
    case ButtonGlyph::kQualityHigh:
      DrawBars(p, r, 3, 3);
      break;
    case ButtonGlyph::kQualityMedium:
      DrawBars(p, r, 2, 3);
      break;
    case ButtonGlyph::kQualityLow:
      DrawBars(p, r, 1, 3);
      break;
    case ButtonGlyph::kSpeedLowest:
      DrawBars(p, r, 1, 4);
      break;
    case ButtonGlyph::kSpeedLow:
      DrawBars(p, r, 2, 4);
      break;
    case ButtonGlyph::kSpeedMedium:
      DrawBars(p, r, 3, 4);
      break;
    case ButtonGlyph::kSpeedHigh:
      DrawBars(p, r, 4, 4);
      break;
    case ButtonGlyph::kHelp:
      DrawText(p, r, "?");
      break;
    case ButtonGlyph::kAbout:
      DrawText(p, r, "i");
      break;
    case ButtonGlyph::kPackage:
      p.drawRect(
          QRectF(c.x() - s * 0.22, c.y() - s * 0.12, s * 0.44, s * 0.34));
      p.drawRect(QRectF(c.x() - s * 0.26, c.y() - s * 0.24, s * 0.52, s * 0.1));
      break;
    case ButtonGlyph::kSend:
      DrawEnvelope(p, r);
      break;
    case ButtonGlyph::kSendPackage:
      DrawEnvelope(p, r.translated(-s * 0.06, -s * 0.06));
      p.drawRect(QRectF(c.x() + s * 0.08, c.y() + s * 0.08, s * 0.2, s * 0.16));
      break;
    case ButtonGlyph::kDelete: {
      p.setPen(QPen(p.brush().color(), s * 0.1, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(c.x() - s * 0.18, c.y() - s * 0.18),
                 QPointF(c.x() + s * 0.18, c.y() + s * 0.18));
      p.drawLine(QPointF(c.x() + s * 0.18, c.y() - s * 0.18),
                 QPointF(c.x() - s * 0.18, c.y() + s * 0.18));
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
  const qreal radius = std::min(size.width(), size.height()) * 0.22;
  p.drawRoundedRect(area, radius, radius);
  p.setPen(Qt::NoPen);
  p.setBrush(colours.glyph);
  // A pressed button's face sits a little lower.
  const QRectF glyph_area = look == ButtonLook::kDown
                                ? area.translated(0, size.height() * 0.04)
                                : area;
  // Glyphs are drawn in a centred square.
  const qreal side = std::min(glyph_area.width(), glyph_area.height());
  DrawGlyph(p, glyph,
            QRectF(glyph_area.center().x() - side / 2,
                   glyph_area.center().y() - side / 2, side, side));
  return pixmap;
}

}  // namespace vocapost
