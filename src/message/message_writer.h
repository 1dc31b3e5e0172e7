#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace vocapost {

// The memory a recording is collected in when it is written at the end: one
// zeroed buffer of the maximum message size, made at first use and kept for
// later recordings.
class MemoryImage {
 public:
  // Makes the buffer at its first use; later calls keep it.
  QByteArray& Buffer(int32_t size);
  bool allocated() const { return !buffer_.isEmpty(); }

 private:
  QByteArray buffer_;
};

// Writes a message file record by record, either straight to the file or
// into a memory image that is written with one write at the end. Both give
// the same bytes. Every failure is reported through the results and error().
class MessageWriter {
 public:
  MessageWriter() = default;
  MessageWriter(const MessageWriter&) = delete;
  MessageWriter& operator=(const MessageWriter&) = delete;
  ~MessageWriter();

  // Writes to `path` as records arrive; an existing file is replaced.
  bool BeginFile(const QString& path);
  // Collects records in `image` (sized `image_size`) and writes `path` at
  // Finish.
  bool BeginMemory(const QString& path, MemoryImage& image, int32_t image_size);

  // Appends one record. A record that does not fit the memory image is not
  // written and gives false.
  bool Append(const QByteArray& tag, const QByteArray& payload);
  bool AppendAudio(const QByteArray& block);
  bool AppendVideo(const QByteArray& frame_record);

  // Closes the file, or writes the memory image to it.
  bool Finish();

  bool active() const { return active_; }
  int32_t recorded_size() const { return recorded_size_; }
  const QString& error() const { return error_; }
  // A record did not fit the memory image.
  bool full() const { return full_; }

 private:
  bool Fail(const QString& what);
  bool CreateFile();

  QFile file_;
  QString path_;
  MemoryImage* image_ = nullptr;
  int32_t image_size_ = 0;
  int32_t recorded_size_ = 0;
  bool active_ = false;
  bool full_ = false;
  QString error_;
};

}  // namespace vocapost
