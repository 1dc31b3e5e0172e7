#pragma once

#include <QByteArray>
#include <cstdint>

#include "platform/codec/bitmap_header.h"

namespace vocapost::testing {

// A frame record as the SMSV codec makes one: the 48-byte header, the VP8
// data and the trailer byte, 1 for a key frame.
inline QByteArray SmsvFrameRecord(int width, int height, const QByteArray& vp8,
                                  bool key) {
  FrameHeader header;
  header.bitmap.size = kFrameHeaderBytes;
  header.bitmap.width = width;
  header.bitmap.height = height;
  header.bitmap.compression = FourCCFromText("SMSV");
  header.bitmap.size_image = static_cast<uint32_t>(vp8.size() + 1);
  header.codec[0] = 1;
  QByteArray record(kFrameHeaderBytes, '\0');
  WriteFrameHeader(header, reinterpret_cast<uint8_t*>(record.data()));
  return record + vp8 + (key ? '\x01' : '\x00');
}

}  // namespace vocapost::testing
