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

inline QByteArray Record(const QByteArray& tag, const QByteArray& payload) {
  return RecordHeader(tag, static_cast<int32_t>(payload.size())) + payload;
}

}  // namespace vocapost::testing
