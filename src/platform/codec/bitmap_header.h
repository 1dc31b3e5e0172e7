#pragma once

#include <QByteArray>
#include <cstdint>

namespace vocapost {

// The 40-byte bitmap information header, little-endian in files.
struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bit_count = 24;
  uint32_t compression = 0;  // 0: uncompressed RGB; else a four-character code
  uint32_t size_image = 0;
  int32_t x_pels_per_meter = 0;
  int32_t y_pels_per_meter = 0;
  uint32_t clr_used = 0;
  uint32_t clr_important = 0;
};

inline constexpr int kBitmapHeaderBytes = 40;
inline constexpr int kFrameHeaderBytes =
    48;  // the bitmap header and 8 codec bytes

// A frame record's 48-byte header: the bitmap header and the codec's own 8
// bytes.
struct FrameHeader {
  BitmapInfoHeader bitmap;
  uint8_t codec[8] = {};
};

QByteArray SerializeBitmapHeader(const BitmapInfoHeader& header);
BitmapInfoHeader ParseBitmapHeader(const uint8_t* bytes);          // 40 bytes
void WriteFrameHeader(const FrameHeader& header, uint8_t* bytes);  // 48 bytes
FrameHeader ParseFrameHeader(const uint8_t* bytes);                // 48 bytes

// The four-character code of `text`: first character in the lowest byte.
uint32_t FourCCFromText(const char (&text)[5]);

}  // namespace vocapost
