#include "recorder_ui/button_art.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace vocapost {
namespace {

struct Palette {
  QColor top, bottom, edge, glyph, detail, dim;  // dim: unlit glyph parts
};

bool IsRadio(ButtonGlyph glyph) {
  switch (glyph) {
    case ButtonGlyph::kQualityHigh:
    case ButtonGlyph::kQualityMedium:
    case ButtonGlyph::kQualityLow:
    case ButtonGlyph::kSpeedLowest:
    case ButtonGlyph::kSpeedLow:
    case ButtonGlyph::kSpeedMedium:
    case ButtonGlyph::kSpeedHigh:
      return true;
    default:
      return false;
  }
}

QColor AccentFor(ButtonGlyph glyph) {
  switch (glyph) {
    case ButtonGlyph::kExit:
    case ButtonGlyph::kRecord:
    case ButtonGlyph::kDelete:
      return QColor(0xc0, 0x39, 0x2b);
    case ButtonGlyph::kPlay:
    case ButtonGlyph::kPlaySelected:
      return QColor(0x2e, 0x8b, 0x57);
    case ButtonGlyph::kPackage:
      return QColor(0xa0, 0x64, 0x28);
    case ButtonGlyph::kSend:
    case ButtonGlyph::kSendPackage:
      return QColor(0x1c, 0x7c, 0x9c);
    default:
      return QColor(0x1f, 0x5f, 0xa8);
  }
}

Palette PaletteFor(ButtonGlyph glyph, ButtonLook look) {
  if (look == ButtonLook::kDisabled) {
    // Flat and faded, so that it never passes for an enabled picture.
    return {QColor(0xe6, 0xe6, 0xe6), QColor(0xdc, 0xdc, 0xdc),
            QColor(0xbc, 0xbc, 0xbc), QColor(0xb2, 0xb2, 0xb2),
            QColor(0xd0, 0xd0, 0xd0), QColor(0xd0, 0xd0, 0xd0)};
  }
  if (IsRadio(glyph)) {
    // Unselected: a pale blue face and a blue glyph; selected: the reverse,
    // in a bright ring. Both are coloured, unlike the grey disabled look.
    if (look == ButtonLook::kDown) {
      return {QColor(0x1f, 0x5f, 0xa8), QColor(0x12, 0x3f, 0x75),
              QColor(0x0b, 0x26, 0x47), Qt::white,
              QColor(0xff, 0xc8, 0x3d), QColor(0x4a, 0x82, 0xc4)};
    }
    return {QColor(0xea, 0xf2, 0xfc), QColor(0xcf, 0xe0, 0xf5),
            QColor(0x6f, 0x93, 0xc0), QColor(0x1f, 0x4f, 0x8c),
            QColor(0xa8, 0xc2, 0xe4), QColor(0xa8, 0xc2, 0xe4)};
  }
  const QColor accent = AccentFor(glyph);
  if (look == ButtonLook::kDown) {
    return {accent.darker(160),       accent.darker(125), accent.darker(220),
            QColor(0xf0, 0xf0, 0xf0), accent.darker(160), accent.darker(180)};
  }
  return {accent.lighter(130), accent,
          accent.darker(160),  Qt::white,
          accent.darker(110),  accent.darker(130)};
}

// Drawing in logical pixels, snapped to device pixels so edges stay sharp.
class Art {
 public:
  Art(QPainter& painter, qreal dpr, const Palette& colours)
      : p_(painter), dpr_(dpr), c_(colours) {}

  qreal Snap(qreal v) const { return std::round(v * dpr_) / dpr_; }
  QRectF Snap(const QRectF& r) const {
    return QRectF(QPointF(Snap(r.left()), Snap(r.top())),
                  QPointF(Snap(r.right()), Snap(r.bottom())));
  }
  void Fill(const QRectF& r, const QColor& colour) {
    p_.fillRect(Snap(r), colour);
  }
  void Stroke(const QColor& colour, qreal width) {
    p_.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p_.setBrush(Qt::NoBrush);
  }
  void Solid(const QColor& colour) {
    p_.setPen(Qt::NoPen);
    p_.setBrush(colour);
  }

  QPainter& p_;
  qreal dpr_;
  const Palette& c_;
};

void DrawText(Art& a, const QRectF& r, const QString& text) {
  QFont font = a.p_.font();
  font.setBold(true);
  font.setPixelSize(std::max(8, static_cast<int>(r.height())));
  a.p_.setFont(font);
  a.p_.setPen(a.c_.glyph);
  a.p_.drawText(r, Qt::AlignCenter, text);
}

// A small landscape, drawn as coarse as `block` pixels: the sharpness of
// the recorded picture.
void DrawSharpness(Art& a, const QRectF& r, int block) {
  // Full sharpness uses every device pixel; coarser levels scale with it.
  const int device_block =
      block == 1 ? 1 : std::max(1, static_cast<int>(block * a.dpr_));
  const QRect target = a.Snap(r).toRect();
  const int side = static_cast<int>(std::round(target.width() * a.dpr_));
  const int cells = std::max(1, side / device_block);
  QImage small(cells, cells, QImage::Format_ARGB32_Premultiplied);
  small.fill(Qt::transparent);
  {
    QPainter q(&small);
    q.setRenderHint(QPainter::Antialiasing);
    const qreal s = cells;
    q.setPen(Qt::NoPen);
    q.setBrush(a.c_.glyph);
    q.drawPolygon(QPolygonF({QPointF(0, s), QPointF(s * 0.38, s * 0.3),
                             QPointF(s * 0.62, s * 0.62),
                             QPointF(s * 0.78, s * 0.45), QPointF(s, s)}));
    q.drawEllipse(QPointF(s * 0.76, s * 0.2), s * 0.13, s * 0.13);
  }
  const QImage big =
      small.scaled(cells * device_block, cells * device_block,
                   Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const QRectF frame(target.topLeft(),
                     QSizeF(big.width() / a.dpr_, big.height() / a.dpr_));
  a.p_.drawImage(frame, big);
  a.Stroke(a.c_.glyph, 1);
  a.p_.drawRect(frame.adjusted(-1.5, -1.5, 1.5, 1.5));
}

// `level` of four segments lit, stacked from the bottom: the frame rate.
void DrawSpeed(Art& a, const QRectF& r, int level) {
  const qreal gap = std::max(1.0, r.height() * 0.06);
  const qreal segment = (r.height() - 3 * gap) / 4;
  for (int i = 0; i < 4; ++i) {
    const QRectF box(r.left(), r.bottom() - (i + 1) * segment - i * gap,
                     r.width(), segment);
    a.Fill(box, i < level ? a.c_.glyph : a.c_.dim);
  }
}

void DrawEnvelope(Art& a, const QRectF& body) {
  a.Fill(body, a.c_.glyph);
  a.Stroke(a.c_.bottom, std::max(1.0, body.height() * 0.12));
  a.p_.drawPolyline(
      QPolygonF({body.topLeft() + QPointF(1, 1),
                 QPointF(body.center().x(), body.top() + body.height() * 0.58),
                 body.topRight() + QPointF(-1, 1)}));
}

// A parcel tied with a ribbon, its bow on top; `r` holds both.
void DrawParcel(Art& a, const QRectF& r) {
  const qreal bow = std::round(r.height() * 0.3);
  const QRectF box = a.Snap(r.adjusted(0, bow, 0, 0));
  a.Fill(box, a.c_.glyph);
  const qreal tape = std::max(1.0, std::round(box.width() * 0.18));
  const qreal middle = std::round(box.center().x() - tape / 2);
  const QColor ribbon = a.c_.bottom;
  a.Fill(QRectF(middle, box.top(), tape, box.height()), ribbon);
  a.Fill(QRectF(box.left(), std::round(box.center().y() - tape / 2),
                box.width(), tape),
         ribbon);
  // The bow: two triangles meeting at the knot.
  a.Solid(a.c_.glyph);
  const QPointF knot(middle + tape / 2, box.top());
  const qreal wing = box.width() * 0.3;
  a.p_.drawPolygon(
      QPolygonF({knot, knot + QPointF(-wing, -bow), knot + QPointF(-wing, 0)}));
  a.p_.drawPolygon(
      QPolygonF({knot, knot + QPointF(wing, -bow), knot + QPointF(wing, 0)}));
}

void DrawPower(Art& a, const QRectF& r) {
  const qreal s = r.width();
  const QPointF c = r.center();
  a.Stroke(a.c_.glyph, std::max(1.5, s * 0.13));
  const QRectF ring(c.x() - s * 0.36, c.y() - s * 0.32, s * 0.72, s * 0.72);
  // Open at the top, where the bar stands.
  a.p_.drawArc(ring, 125 * 16, 290 * 16);
  a.p_.drawLine(QPointF(c.x(), c.y() - s * 0.46),
                QPointF(c.x(), c.y() - s * 0.02));
}

void DrawCross(Art& a, const QRectF& r) {
  const qreal s = r.width();
  const QPointF c = r.center();
  a.Stroke(a.c_.glyph, std::max(2.0, s * 0.16));
  a.p_.drawLine(c + QPointF(-s * 0.3, -s * 0.3), c + QPointF(s * 0.3, s * 0.3));
  a.p_.drawLine(c + QPointF(s * 0.3, -s * 0.3), c + QPointF(-s * 0.3, s * 0.3));
}

void DrawTriangle(Art& a, const QRectF& r, qreal k) {
  const qreal s = r.width();
  const QPointF c = r.center();
  a.Solid(a.c_.glyph);
  a.p_.drawPolygon(
      QPolygonF({c + QPointF(-s * k * 0.75, -s * k), c + QPointF(s * k, 0),
                 c + QPointF(-s * k * 0.75, s * k)}));
}

void DrawGlyph(Art& a, ButtonGlyph glyph, const QRectF& r) {
  const qreal s = r.width();
  const QPointF c = r.center();
  switch (glyph) {
    case ButtonGlyph::kStop:
      a.Fill(QRectF(c.x() - s * 0.24, c.y() - s * 0.24, s * 0.48, s * 0.48),
             a.c_.glyph);
      break;
    case ButtonGlyph::kExit:
      DrawPower(a, r);
      break;
    case ButtonGlyph::kRecord:
      a.Solid(a.c_.glyph);
      a.p_.drawEllipse(c, s * 0.27, s * 0.27);
      break;
    case ButtonGlyph::kPlay:
      DrawTriangle(a, r, 0.3);
      break;
    case ButtonGlyph::kPlaySelected:
      DrawTriangle(a, r, 0.32);
      break;
    case ButtonGlyph::kQualityHigh:
      DrawSharpness(a, r, 1);
      break;
    case ButtonGlyph::kQualityMedium:
      DrawSharpness(a, r, 3);
      break;
    case ButtonGlyph::kQualityLow:
      DrawSharpness(a, r, 5);
      break;
    case ButtonGlyph::kSpeedLowest:
      DrawSpeed(a, r, 1);
      break;
    case ButtonGlyph::kSpeedLow:
      DrawSpeed(a, r, 2);
      break;
    case ButtonGlyph::kSpeedMedium:
      DrawSpeed(a, r, 3);
      break;
    case ButtonGlyph::kSpeedHigh:
      DrawSpeed(a, r, 4);
      break;
    case ButtonGlyph::kHelp:
      DrawText(a, r, "?");
      break;
    case ButtonGlyph::kAbout:
      DrawText(a, r, "i");
      break;
    case ButtonGlyph::kPackage:
      DrawParcel(a,
                 QRectF(c.x() - s * 0.4, r.top() + s * 0.04, s * 0.8, s * 0.9));
      break;
    case ButtonGlyph::kSend:
      DrawEnvelope(
          a, QRectF(c.x() - s * 0.4, c.y() - s * 0.28, s * 0.8, s * 0.56));
      break;
    case ButtonGlyph::kSendPackage: {
      DrawEnvelope(a, QRectF(r.left(), r.top() + s * 0.06, s * 0.74, s * 0.52));
      // The parcel in front, set off from the envelope by the face colour.
      const QRectF parcel(r.left() + s * 0.5, r.top() + s * 0.4, s * 0.44,
                          s * 0.52);
      a.Fill(parcel.adjusted(-1, std::round(parcel.height() * 0.3) - 1, 1, 1),
             a.c_.bottom);
      DrawParcel(a, parcel);
      break;
    }
    case ButtonGlyph::kDelete:
      DrawCross(a, r);
      break;
  }
}

// The square the glyph is drawn in: most of the face's shorter side, less
// for the wide push buttons, whose glyph would otherwise crowd the face.
QRectF GlyphSquare(const QRectF& face, ButtonGlyph glyph) {
  const bool speed =
      glyph == ButtonGlyph::kSpeedLowest || glyph == ButtonGlyph::kSpeedLow ||
      glyph == ButtonGlyph::kSpeedMedium || glyph == ButtonGlyph::kSpeedHigh;
  if (speed) {
    // A tall column of segments.
    const qreal w = std::round(face.width() * 0.5);
    const qreal h = std::round(face.height() * 0.72);
    return QRectF(std::round(face.center().x() - w / 2),
                  std::round(face.center().y() - h / 2), w, h);
  }
  const qreal shorter = std::min(face.width(), face.height());
  // Small faces give their glyph more of themselves.
  const qreal side = std::round(shorter * (shorter < 26 ? 0.8 : 0.72));
  return QRectF(std::round(face.center().x() - side / 2),
                std::round(face.center().y() - side / 2), side, side);
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
  Art art(p, device_pixel_ratio, colours);
  const QRectF face =
      QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(face.topLeft(), face.bottomLeft());
  fill.setColorAt(0, colours.top);
  fill.setColorAt(1, colours.bottom);
  p.setPen(QPen(colours.edge, 1));
  p.setBrush(fill);
  const qreal radius = std::min(size.width(), size.height()) * 0.2;
  p.drawRoundedRect(face, radius, radius);
  if (IsRadio(glyph) && look == ButtonLook::kDown) {
    // The selected member of a group wears a bright ring.
    p.setPen(QPen(colours.detail, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(face.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5,
                      radius - 1.5);
  }
  // A pressed push button's face sits a pixel lower.
  QRectF glyph_face = QRectF(QPointF(0, 0), QSizeF(size));
  if (look == ButtonLook::kDown && !IsRadio(glyph)) glyph_face.translate(0, 1);
  DrawGlyph(art, glyph, GlyphSquare(glyph_face, glyph));
  return pixmap;
}

}  // namespace vocapost
