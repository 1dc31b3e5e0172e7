#include "message/message_record.h"

#include <algorithm>

namespace vocapost {

QByteArray RecordHeader(const QByteArray& tag, int32_t length) {
  const QByteArray field =
      (QByteArray::number(length) + QByteArray(kLengthFieldSize, ' '))
          .left(kLengthFieldSize);
  return tag.left(3) + field;
}

RecordKind KindOfHeader(const QString& header_text) {
  if (header_text.startsWith(QLatin1String(kAudioTag)))
    return RecordKind::kAudio;
  if (header_text.startsWith(QLatin1String(kVideoTag)))
    return RecordKind::kVideo;
  return RecordKind::kOther;
}

int32_t RecordLength(const QString& header_text) {
  const QString field = header_text.mid(3, kLengthFieldSize);
  qsizetype pos = 0;
  while (pos < field.size() && field[pos] == ' ') ++pos;
  int32_t value = 0;
  for (; pos < field.size() && field[pos] >= '0' && field[pos] <= '9'; ++pos) {
    value = value * 10 + (field[pos].unicode() - '0');  // at most 7 digits
  }
  return value;
}

QString BytesToText(const QByteArray& bytes, int32_t start, int32_t count) {
  if (start < 1 || count <= 0 || start > bytes.size()) return {};
  const qsizetype available = bytes.size() - (start - 1);
  return QString::fromLatin1(bytes.constData() + start - 1,
                             std::min<qsizetype>(count, available));
}

QString TrimBlanks(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  return text.mid(first, last - first);
}

}  // namespace vocapost
