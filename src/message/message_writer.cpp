#include "message/message_writer.h"

#include <algorithm>
#include <cstring>

#include "message/message_record.h"

namespace vocapost {

QByteArray& MemoryImage::Buffer(int32_t size) {
  if (buffer_.isEmpty()) buffer_ = QByteArray(size, '\0');
  return buffer_;
}

namespace {

struct WholeRecords {
  int32_t size = 0, audio_bytes = 0;
};

// The whole records at the front of the first `size` bytes of `bytes`.
WholeRecords WholeRecordsIn(const char* bytes, int32_t size) {
  WholeRecords whole;
  while (whole.size + kRecordHeaderSize <= size) {
    const QString header = QString::fromLatin1(bytes + whole.size,
                                               kRecordHeaderSize);
    const int64_t end = int64_t{whole.size} + kRecordHeaderSize +
                        RecordLength(header);
    if (end > size) break;
    if (KindOfHeader(header) == RecordKind::kAudio)
      whole.audio_bytes += RecordLength(header);
    whole.size = static_cast<int32_t>(end);
  }
  return whole;
}

}  // namespace

MessageWriter::~MessageWriter() { file_.close(); }

void MessageWriter::Reset(const QString& path, MemoryImage* image) {
  file_.close();
  path_ = path;
  image_ = image;
  recorded_size_ = audio_bytes_ = kept_size_ = kept_audio_bytes_ = 0;
  full_ = cut_ = active_ = false;
  result_ = FinishResult::kWhole;
  error_.clear();
  reason_.clear();
}

bool MessageWriter::Fail(const QString& what, const QString& reason) {
  reason_ = reason.isEmpty() ? file_.errorString() : reason;
  error_ = what + " " + path_ + ": " + reason_;
  file_.close();
  active_ = false;
  return false;
}

bool MessageWriter::CreateFile() {
  file_.setFileName(path_);
  if (QFile::exists(path_) && !QFile::remove(path_)) {
    return Fail("Cannot replace");
  }
  // Unbuffered, so that a full disk shows at the record that did not fit.
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate |
                  QIODevice::Unbuffered)) {
    return Fail("Cannot create");
  }
  return true;
}

bool MessageWriter::BeginFile(const QString& path) {
  Reset(path, nullptr);
  if (!CreateFile()) return false;
  active_ = true;
  return true;
}

bool MessageWriter::BeginMemory(const QString& path, MemoryImage& image,
                                int32_t image_size) {
  Reset(path, &image);
  if (!CreateFile()) return false;
  file_.close();
  image_size_ = static_cast<int32_t>(image.Buffer(image_size).size());
  active_ = true;
  return true;
}

void MessageWriter::CutTo(int32_t size, int32_t audio_bytes) {
  cut_ = true;
  kept_size_ = size;
  kept_audio_bytes_ = audio_bytes;
  // Shrinking needs no room, so it works on a full disk too.
  file_.resize(size);
}

bool MessageWriter::Append(const QByteArray& tag, const QByteArray& payload) {
  if (!active_) return false;
  if (payload.size() > kLargestPayload) {
    error_ = "A record of " + QString::number(payload.size()) +
             " bytes cannot be stored.";
    return false;
  }
  const QByteArray header =
      RecordHeader(tag, static_cast<int32_t>(payload.size()));
  const int64_t size = header.size() + payload.size();
  if (image_ != nullptr) {
    if (recorded_size_ + size > image_size_) {
      full_ = true;  // the size limit, not a failure
      return false;
    }
    char* at = image_->Buffer(image_size_).data() + recorded_size_;
    std::memcpy(at, header.constData(), header.size());
    std::memcpy(at + header.size(), payload.constData(), payload.size());
  } else if (file_.write(header) != header.size() ||
             file_.write(payload) != payload.size()) {
    const QString reason = file_.errorString();
    CutTo(recorded_size_, audio_bytes_);
    return Fail("Cannot write", reason);
  }
  recorded_size_ += static_cast<int32_t>(size);
  if (tag == kAudioTag) audio_bytes_ += static_cast<int32_t>(payload.size());
  return true;
}

bool MessageWriter::AppendAudio(const QByteArray& block) {
  return Append(kAudioTag, block);
}

bool MessageWriter::AppendVideo(const QByteArray& frame_record) {
  return Append(kVideoTag, frame_record);
}

FinishResult MessageWriter::WriteImage() {
  // The file was made at Begin; it is opened, not made again, so that a
  // folder that has become read-only since still takes the recording.
  file_.setFileName(path_);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate |
                  QIODevice::Unbuffered)) {
    Fail("Cannot create");
    return FinishResult::kNotCreated;
  }
  const char* bytes = image_->Buffer(image_size_).constData();
  if (file_.write(bytes, recorded_size_) == recorded_size_ && file_.flush()) {
    file_.close();
    kept_size_ = recorded_size_;
    kept_audio_bytes_ = audio_bytes_;
    return FinishResult::kWhole;
  }
  const QString reason = file_.errorString();
  const int64_t written = std::clamp<int64_t>(file_.size(), 0, recorded_size_);
  const WholeRecords whole =
      WholeRecordsIn(bytes, static_cast<int32_t>(written));
  CutTo(whole.size, whole.audio_bytes);
  Fail("Cannot write", reason);
  return FinishResult::kCut;
}

bool MessageWriter::Finish() {
  if (!active_) {
    result_ = cut_                ? FinishResult::kCut
              : error_.isEmpty() ? FinishResult::kWhole
                                 : FinishResult::kNotCreated;
  } else if (image_ != nullptr) {
    active_ = false;
    result_ = WriteImage();
  } else {
    active_ = false;
    file_.close();
    kept_size_ = recorded_size_;
    kept_audio_bytes_ = audio_bytes_;
    result_ = FinishResult::kWhole;
  }
  return result_ == FinishResult::kWhole;
}

}  // namespace vocapost
