#pragma once

#include <QByteArray>

#include "message/message_record.h"

namespace vocapost::testing {

// A payload of `size` bytes whose content depends on `seed`, so that mixed-up
// records show.
inline QByteArray Payload(int size, int seed) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed * 31) & 0xFF);
  return bytes;
}

// A video frame record: a bitmap header with width and height, then data.
inline QByteArray FrameRecord(int width, int height, int size) {
  QByteArray frame = Payload(size, width);
  auto put32 = [&frame](int offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
      frame[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put32(0, 40);
  put32(4, width);
  put32(8, height);
  return frame;
}

inline QByteArray Record(const QByteArray& tag, const QByteArray& payload) {
  return RecordHeader(tag, static_cast<int32_t>(payload.size())) + payload;
}

}  // namespace vocapost::testing
