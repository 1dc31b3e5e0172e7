#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace vocapost {

// A message file is a plain run of records: a 10-byte ASCII header (the tag,
// then the payload length as up to 7 left-aligned digits padded with blanks)
// followed by the payload.
inline constexpr int32_t kRecordHeaderSize = 10;
inline constexpr int32_t kLengthFieldSize = 7;
inline constexpr int32_t kLargestPayload = 9999999;  // 7 digits
// A reader's frame buffer: the most of a video record's payload it holds.
inline constexpr int32_t kFrameBufferSize = 10001;

inline const QByteArray kAudioTag = "WAV";
inline const QByteArray kVideoTag = "IMG";

enum class RecordKind { kAudio, kVideo, kOther };

// "WAV" + "1105" + three blanks, and so on. The length text is cut to 7
// characters; lengths of more than 7 digits cannot be stored.
QByteArray RecordHeader(const QByteArray& tag, int32_t length);

RecordKind KindOfHeader(const QString& header_text);

// The value of characters 4 to 10 of a header: leading blanks skipped, then
// digits up to the first other character. A field with no digits is 0.
int32_t RecordLength(const QString& header_text);

// The characters of bytes start-1 .. start+count-2 (start is 1-based), one
// character per byte, stopping early at the end of the array.
QString BytesToText(const QByteArray& bytes, int32_t start, int32_t count);

// Without the blanks at either end (tabs and line ends stay).
QString TrimBlanks(const QString& text);

}  // namespace vocapost
