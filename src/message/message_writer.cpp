#include "message/message_writer.h"

#include <cstring>

#include "message/message_record.h"

namespace vocapost {

QByteArray& MemoryImage::Buffer(int32_t size) {
  if (buffer_.isEmpty()) buffer_ = QByteArray(size, '\0');
  return buffer_;
}

MessageWriter::~MessageWriter() { file_.close(); }

bool MessageWriter::Fail(const QString& what) {
  error_ = what + " " + path_ + ": " + file_.errorString();
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
  path_ = path;
  image_ = nullptr;
  recorded_size_ = 0;
  full_ = false;
  error_.clear();
  if (!CreateFile()) return false;
  active_ = true;
  return true;
}

bool MessageWriter::BeginMemory(const QString& path, MemoryImage& image,
                                int32_t image_size) {
  path_ = path;
  image_ = &image;
  image_size_ = static_cast<int32_t>(image.Buffer(image_size).size());
  recorded_size_ = 0;
  full_ = false;
  error_.clear();
  active_ = true;
  return true;
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
    return Fail("Cannot write");
  }
  recorded_size_ += static_cast<int32_t>(size);
  return true;
}

bool MessageWriter::AppendAudio(const QByteArray& block) {
  return Append(kAudioTag, block);
}

bool MessageWriter::AppendVideo(const QByteArray& frame_record) {
  return Append(kVideoTag, frame_record);
}

bool MessageWriter::Finish() {
  if (!active_) return error_.isEmpty();
  if (image_ != nullptr) {
    if (!CreateFile()) return false;
    const QByteArray& buffer = image_->Buffer(image_size_);
    if (file_.write(buffer.constData(), recorded_size_) != recorded_size_) {
      return Fail("Cannot write");
    }
  }
  active_ = false;
  file_.close();
  if (file_.error() != QFileDevice::NoError) return Fail("Cannot write");
  return true;
}

}  // namespace vocapost
