#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>

#include "message/message_record.h"

namespace vocapost {

struct MessageRecord {
  RecordKind kind = RecordKind::kOther;
  int32_t position = 0;  // 1-based position of the header
  int32_t length = 0;    // n, as the header gives it
  // The payload as far as the file holds it; for a video record at most
  // kFrameBufferSize bytes.
  QByteArray payload;
  bool truncated = false;  // the file ends inside this record
};

enum class ReadEnd { kNotYet, kEndOfFile, kUnknownTag, kReadError };

// Reads a message file record by record from the front. Positions are 1-based;
// the reader never reads or allocates more than the file holds, whatever a
// length field says.
class MessageReader {
 public:
  // False when the file cannot be opened (end() is then kReadError).
  bool Open(const QString& path);
  void Close();

  // The next record, or nullopt when reading has ended (see end()).
  std::optional<MessageRecord> Next();

  int32_t read_position() const { return read_position_; }
  int32_t file_length() const { return file_length_; }
  ReadEnd end() const { return end_; }
  // The system's words for why Open failed.
  QString error() const { return file_.errorString(); }
  // The tag text where reading stopped at an unknown tag.
  const QString& stop_header() const { return stop_header_; }

 private:
  QByteArray ReadAt(int64_t position, int64_t count);

  QFile file_;
  int32_t read_position_ = 0;
  int32_t file_length_ = 0;
  ReadEnd end_ = ReadEnd::kNotYet;
  QString stop_header_;
};

}  // namespace vocapost
