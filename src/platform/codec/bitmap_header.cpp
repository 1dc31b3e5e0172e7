#include "platform/codec/bitmap_header.h"

#include <QtEndian>
#include <cstring>

namespace vocapost {

QByteArray SerializeBitmapHeader(const BitmapInfoHeader& h) {
  QByteArray bytes(kBitmapHeaderBytes, '\0');
  auto* p = reinterpret_cast<uchar*>(bytes.data());
  qToLittleEndian(h.size, p);
  qToLittleEndian(h.width, p + 4);
  qToLittleEndian(h.height, p + 8);
  qToLittleEndian(h.planes, p + 12);
  qToLittleEndian(h.bit_count, p + 14);
  qToLittleEndian(h.compression, p + 16);
  qToLittleEndian(h.size_image, p + 20);
  qToLittleEndian(h.x_pels_per_meter, p + 24);
  qToLittleEndian(h.y_pels_per_meter, p + 28);
  qToLittleEndian(h.clr_used, p + 32);
  qToLittleEndian(h.clr_important, p + 36);
  return bytes;
}

BitmapInfoHeader ParseBitmapHeader(const uint8_t* p) {
  BitmapInfoHeader h;
  h.size = qFromLittleEndian<uint32_t>(p);
  h.width = qFromLittleEndian<int32_t>(p + 4);
  h.height = qFromLittleEndian<int32_t>(p + 8);
  h.planes = qFromLittleEndian<uint16_t>(p + 12);
  h.bit_count = qFromLittleEndian<uint16_t>(p + 14);
  h.compression = qFromLittleEndian<uint32_t>(p + 16);
  h.size_image = qFromLittleEndian<uint32_t>(p + 20);
  h.x_pels_per_meter = qFromLittleEndian<int32_t>(p + 24);
  h.y_pels_per_meter = qFromLittleEndian<int32_t>(p + 28);
  h.clr_used = qFromLittleEndian<uint32_t>(p + 32);
  h.clr_important = qFromLittleEndian<uint32_t>(p + 36);
  return h;
}

void WriteFrameHeader(const FrameHeader& header, uint8_t* bytes) {
  const QByteArray bitmap = SerializeBitmapHeader(header.bitmap);
  std::memcpy(bytes, bitmap.constData(), kBitmapHeaderBytes);
  std::memcpy(bytes + kBitmapHeaderBytes, header.codec, sizeof header.codec);
}

FrameHeader ParseFrameHeader(const uint8_t* bytes) {
  FrameHeader header;
  header.bitmap = ParseBitmapHeader(bytes);
  std::memcpy(header.codec, bytes + kBitmapHeaderBytes, sizeof header.codec);
  return header;
}

uint32_t FourCCFromText(const char (&text)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[3])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[0]));
}

}  // namespace vocapost
