#include "message/message_reader.h"

#include <algorithm>
#include <limits>

namespace vocapost {

bool MessageReader::Open(const QString& path) {
  Close();
  file_.setFileName(path);
  if (!file_.open(QIODevice::ReadOnly)) {
    end_ = ReadEnd::kReadError;
    return false;
  }
  // Positions are 32-bit: a larger file is read as far as they reach.
  file_length_ = static_cast<int32_t>(
      std::min<int64_t>(file_.size(), std::numeric_limits<int32_t>::max()));
  read_position_ = 1;
  end_ = ReadEnd::kNotYet;
  return true;
}

void MessageReader::Close() {
  file_.close();
  read_position_ = 0;
  file_length_ = 0;
  stop_header_.clear();
}

QByteArray MessageReader::ReadAt(int64_t position, int64_t count) {
  const int64_t available = std::max<int64_t>(0, file_length_ - (position - 1));
  count = std::clamp<int64_t>(count, 0, available);
  if (count == 0 || !file_.seek(position - 1)) return {};
  return file_.read(count);
}

std::optional<MessageRecord> MessageReader::Next() {
  if (end_ != ReadEnd::kNotYet) return std::nullopt;
  if (read_position_ >= file_length_) {
    end_ = ReadEnd::kEndOfFile;
    return std::nullopt;
  }
  MessageRecord record;
  record.position = read_position_;
  const QString header = BytesToText(ReadAt(read_position_, kRecordHeaderSize),
                                     1, kRecordHeaderSize);
  record.kind = KindOfHeader(header);
  if (record.kind == RecordKind::kOther) {
    stop_header_ = header;
    end_ = ReadEnd::kUnknownTag;
    return std::nullopt;
  }
  record.length = RecordLength(header);
  const int64_t payload_position = int64_t{read_position_} + kRecordHeaderSize;
  const int64_t wanted = record.kind == RecordKind::kVideo
                             ? std::min(record.length, kFrameBufferSize)
                             : record.length;
  record.payload = ReadAt(payload_position, wanted);
  const int64_t next = payload_position + record.length;
  record.truncated = next - 1 > file_length_;
  read_position_ = static_cast<int32_t>(
      std::min<int64_t>(next, std::numeric_limits<int32_t>::max()));
  return record;
}

}  // namespace vocapost
