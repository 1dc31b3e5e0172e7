#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "message/message_writer.h"
#include "platform/codec/bitmap_header.h"
#include "platform/codec/vp8_codec.h"
#include "platform/wave/gsm_codec.h"
#include "support/frame_record.h"
#include "support/tone.h"

namespace vocapost::testing {

// Four quadrants in the given colours: top left, top right, bottom left,
// bottom right. A picture shown upside down, mirrored or with its colour
// channels swapped looks different.
inline QImage QuadrantPicture(int width, int height,
                              const std::array<QColor, 4>& colours) {
  QImage picture(width, height, QImage::Format_RGB888);
  QPainter painter(&picture);
  const int w = width / 2, h = height / 2;
  painter.fillRect(0, 0, w, h, colours[0]);
  painter.fillRect(w, 0, width - w, h, colours[1]);
  painter.fillRect(0, h, w, height - h, colours[2]);
  painter.fillRect(w, h, width - w, height - h, colours[3]);
  return picture;
}

// The average colour of one quadrant (0 to 3, in QuadrantPicture's order),
// away from its edges.
inline QColor QuadrantColour(const QImage& picture, int quadrant) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  const int w = rgb.width() / 2, h = rgb.height() / 2;
  const int x0 = (quadrant % 2) * w + w / 4, y0 = (quadrant / 2) * h + h / 4;
  long r = 0, g = 0, b = 0, n = 0;
  for (int y = y0; y < y0 + h / 2; ++y) {
    for (int x = x0; x < x0 + w / 2; ++x, ++n) {
      const QRgb pixel = rgb.pixel(x, y);
      r += qRed(pixel), g += qGreen(pixel), b += qBlue(pixel);
    }
  }
  if (n == 0) return {};
  return QColor(int(r / n), int(g / n), int(b / n));
}

inline bool Near(const QColor& a, const QColor& b, int tolerance = 32) {
  return std::abs(a.red() - b.red()) <= tolerance &&
         std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

// A key frame record of `picture`, as the SMSV codec makes one.
inline QByteArray KeyFrameRecord(const QImage& picture) {
  const int width = picture.width(), height = picture.height();
  // 24-bit bottom-up BGR, as the capture hands pictures to the codec.
  const QImage bgr = picture.convertToFormat(QImage::Format_BGR888).mirrored();
  std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    std::memcpy(rows.data() + static_cast<size_t>(y) * width * 3,
                bgr.constScanLine(y), static_cast<size_t>(width) * 3);
  Vp8Encoder encoder(width, height, width * height * 3 / 25);
  bool key = false;
  const QByteArray vp8 = encoder.Encode(rows.data(), true, false, &key);
  if (!key || vp8.isEmpty()) throw std::runtime_error("no key frame");
  return SmsvFrameRecord(width, height, vp8, true);
}

// A message as the recorder writes one: it starts with sound (a 440 Hz tone,
// 0.68 s a record) and each picture follows a sound record as a key frame.
inline void WriteSampleMessage(const QString& path,
                               const std::vector<QImage>& pictures,
                               int sound_records = 3) {
  const std::vector<int16_t> tone = Tone(440, 5440 * size_t(sound_records));
  GsmEncoder encoder;
  const QByteArray coded = encoder.Encode(tone.data(), tone.size());
  MessageWriter writer;
  if (!writer.BeginFile(path)) throw std::runtime_error("cannot write");
  for (int i = 0; i < sound_records; ++i) {
    writer.AppendAudio(coded.mid(i * 1105, 1105));
    if (size_t(i) < pictures.size())
      writer.AppendVideo(KeyFrameRecord(pictures[size_t(i)]));
  }
  if (!writer.Finish()) throw std::runtime_error("cannot finish");
}

}  // namespace vocapost::testing
