#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <cstdint>

struct AVFormatContext;
struct AVIOContext;
struct AVStream;

namespace vocapost {

// A WebM file written through libavformat's muxer into a temporary file that
// takes the final name only when Finish succeeds. Times are in samples at
// 8000 a second.
class WebmMuxer {
 public:
  static constexpr int kTimeBase = 8000;

  explicit WebmMuxer(const QString& path);
  ~WebmMuxer();
  WebmMuxer(const WebmMuxer&) = delete;
  WebmMuxer& operator=(const WebmMuxer&) = delete;

  // Streams are added before Begin. The returned index names the stream.
  int AddVp8(int width, int height);
  int AddOpus(const QByteArray& head, int pre_skip);
  bool Begin();
  // `discard` samples at the end of an audio packet are padding.
  bool Write(int stream, const QByteArray& data, int64_t pts, int64_t duration,
             bool key, int64_t discard = 0);
  bool Finish();

  // Why the last step failed.
  const QString& error() const { return error_; }

 private:
  bool Fail(const QString& what, int av_error = 0);
  static int WritePacket(void* opaque, uint8_t* buffer, int size);
  static int64_t Seek(void* opaque, int64_t offset, int whence);

  QSaveFile file_;
  AVFormatContext* format_ = nullptr;
  AVIOContext* io_ = nullptr;
  bool header_written_ = false;
  QString error_;
};

}  // namespace vocapost
