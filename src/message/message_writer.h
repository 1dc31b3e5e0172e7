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

// How much of a recording reached its file at Finish.
enum class FinishResult {
  kWhole,       // every record
  kCut,         // a write failed: the file holds the whole records before it
  kNotCreated,  // the file could not be made at all
};

// Writes a message file record by record, either straight to the file or
// into a memory image that is written with one write at the end. Both give
// the same bytes. Every failure is reported through the results and error(),
// and a file is never left ending inside a record.
class MessageWriter {
 public:
  MessageWriter() = default;
  MessageWriter(const MessageWriter&) = delete;
  MessageWriter& operator=(const MessageWriter&) = delete;
  ~MessageWriter();

  // Both create `path` at once (an existing file is replaced), so that a file
  // that cannot be made is found before anything is recorded.
  // Writes to `path` as records arrive.
  bool BeginFile(const QString& path);
  // Collects records in `image` (sized `image_size`) and writes `path` at
  // Finish.
  bool BeginMemory(const QString& path, MemoryImage& image, int32_t image_size);

  // Appends one record. A record that does not fit the memory image is not
  // written and gives false.
  bool Append(const QByteArray& tag, const QByteArray& payload);
  bool AppendAudio(const QByteArray& block);
  bool AppendVideo(const QByteArray& frame_record);

  // Closes the file, or writes the memory image to it; true when every
  // record reached the file (result() tells the rest).
  bool Finish();
  FinishResult result() const { return result_; }

  bool active() const { return active_; }
  int32_t recorded_size() const { return recorded_size_; }
  // What the file holds after Finish: bytes, and of them audio payload bytes.
  int32_t kept_size() const { return kept_size_; }
  int32_t kept_audio_bytes() const { return kept_audio_bytes_; }
  const QString& error() const { return error_; }
  // The system's words for the last failure ("No space left on device").
  const QString& reason() const { return reason_; }
  // A record did not fit the memory image.
  bool full() const { return full_; }

 private:
  void Reset(const QString& path, MemoryImage* image);
  bool Fail(const QString& what, const QString& reason = {});
  bool CreateFile();
  FinishResult WriteImage();
  // Cuts the open file back to `size` bytes of whole records.
  void CutTo(int32_t size, int32_t audio_bytes);

  QFile file_;
  QString path_;
  MemoryImage* image_ = nullptr;
  int32_t image_size_ = 0;
  int32_t recorded_size_ = 0;
  int32_t audio_bytes_ = 0;
  int32_t kept_size_ = 0;
  int32_t kept_audio_bytes_ = 0;
  bool active_ = false;
  bool full_ = false;
  bool cut_ = false;
  FinishResult result_ = FinishResult::kWhole;
  QString error_, reason_;
};

}  // namespace vocapost
