#include "export/webm_muxer.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/intreadwrite.h>
}

namespace vocapost {
namespace {

constexpr int kIoBufferSize = 64 * 1024;
constexpr AVRational kSampleTime{1, WebmMuxer::kTimeBase};

QString AvText(int av_error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(av_error, text, sizeof text);
  return QString::fromUtf8(text);
}

}  // namespace

WebmMuxer::WebmMuxer(const QString& path) : file_(path) {
  if (avformat_alloc_output_context2(&format_, nullptr, "webm", nullptr) < 0) {
    format_ = nullptr;
    Fail("the WebM muxer is missing");
  }
}

WebmMuxer::~WebmMuxer() {
  if (format_ != nullptr) avformat_free_context(format_);
  if (io_ != nullptr) {
    av_freep(&io_->buffer);
    avio_context_free(&io_);
  }
  // An unfinished file is dropped: QSaveFile removes its temporary file.
}

bool WebmMuxer::Fail(const QString& what, int av_error) {
  if (error_.isEmpty()) {
    error_ = av_error == 0 ? what : what + " (" + AvText(av_error) + ")";
  }
  return false;
}

int WebmMuxer::AddVp8(int width, int height) {
  if (format_ == nullptr) return -1;
  AVStream* stream = avformat_new_stream(format_, nullptr);
  if (stream == nullptr) return -1;
  AVCodecParameters* par = stream->codecpar;
  par->codec_type = AVMEDIA_TYPE_VIDEO;
  par->codec_id = AV_CODEC_ID_VP8;
  par->width = width;
  par->height = height;
  stream->time_base = kSampleTime;
  return stream->index;
}

int WebmMuxer::AddOpus(const QByteArray& head, int pre_skip) {
  if (format_ == nullptr) return -1;
  AVStream* stream = avformat_new_stream(format_, nullptr);
  if (stream == nullptr) return -1;
  AVCodecParameters* par = stream->codecpar;
  par->codec_type = AVMEDIA_TYPE_AUDIO;
  par->codec_id = AV_CODEC_ID_OPUS;
  // Opus always decodes at 48 kHz; the header keeps the input rate.
  par->sample_rate = 48000;
  av_channel_layout_default(&par->ch_layout, 1);
  par->initial_padding = pre_skip * 6;
  par->extradata = static_cast<uint8_t*>(av_mallocz(
      static_cast<size_t>(head.size()) + AV_INPUT_BUFFER_PADDING_SIZE));
  if (par->extradata == nullptr) return -1;
  memcpy(par->extradata, head.constData(), static_cast<size_t>(head.size()));
  par->extradata_size = static_cast<int>(head.size());
  stream->time_base = kSampleTime;
  return stream->index;
}

int WebmMuxer::WritePacket(void* opaque, uint8_t* buffer, int size) {
  auto* self = static_cast<WebmMuxer*>(opaque);
  const qint64 written =
      self->file_.write(reinterpret_cast<const char*>(buffer), size);
  return written == size ? size : AVERROR(EIO);
}

int64_t WebmMuxer::Seek(void* opaque, int64_t offset, int whence) {
  auto* self = static_cast<WebmMuxer*>(opaque);
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
      return self->file_.size();
    case SEEK_SET:
      break;
    case SEEK_CUR:
      offset += self->file_.pos();
      break;
    case SEEK_END:
      offset += self->file_.size();
      break;
    default:
      return AVERROR(EINVAL);
  }
  return self->file_.seek(offset) ? offset : AVERROR(EIO);
}

bool WebmMuxer::Begin() {
  if (format_ == nullptr) return false;
  if (!file_.open(QIODevice::WriteOnly)) {
    return Fail(file_.errorString());
  }
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
  io_ = avio_alloc_context(buffer, kIoBufferSize, 1, this, nullptr,
                           &WebmMuxer::WritePacket, &WebmMuxer::Seek);
  if (io_ == nullptr) {
    av_free(buffer);
    return Fail("out of memory");
  }
  format_->pb = io_;
  // Opus packets start before the sound by the pre-skip; the muxer's codec
  // delay makes up for it, and shifting every track would put the picture
  // late.
  format_->avoid_negative_ts = AVFMT_AVOID_NEG_TS_DISABLED;
  const int result = avformat_write_header(format_, nullptr);
  if (result < 0) return Fail("the WebM header could not be written", result);
  header_written_ = true;
  return true;
}

bool WebmMuxer::Write(int stream, const QByteArray& data, int64_t pts,
                      int64_t duration, bool key, int64_t discard) {
  if (!header_written_) return false;
  AVPacket* packet = av_packet_alloc();
  if (packet == nullptr ||
      av_new_packet(packet, static_cast<int>(data.size())) < 0) {
    av_packet_free(&packet);
    return Fail("out of memory");
  }
  memcpy(packet->data, data.constData(), static_cast<size_t>(data.size()));
  packet->stream_index = stream;
  packet->pts = packet->dts = pts;
  packet->duration = duration;
  if (key) packet->flags |= AV_PKT_FLAG_KEY;
  if (discard > 0) {
    // Samples to drop at the end, counted at the decoder's 48 kHz.
    uint8_t* skip =
        av_packet_new_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, 10);
    if (skip != nullptr) AV_WL32(skip + 4, static_cast<uint32_t>(discard * 6));
  }
#if LIBAVFORMAT_VERSION_MAJOR < 60
  // This muxer writes a packet's time as its block time, which for a track
  // with a codec delay lies that delay after the decoder's time.
  const AVCodecParameters* par = format_->streams[stream]->codecpar;
  if (par->initial_padding > 0) {
    packet->pts = packet->dts = pts + par->initial_padding / 6;
  }
#endif
  av_packet_rescale_ts(packet, kSampleTime,
                       format_->streams[stream]->time_base);
  const int result = av_interleaved_write_frame(format_, packet);
  av_packet_free(&packet);
  if (result < 0) return Fail("the WebM file could not be written", result);
  return true;
}

bool WebmMuxer::Finish() {
  if (!header_written_) return false;
  const int result = av_write_trailer(format_);
  header_written_ = false;
  if (result < 0) return Fail("the WebM file could not be finished", result);
  avio_flush(io_);
  if (io_->error < 0)
    return Fail("the WebM file could not be written", io_->error);
  if (!file_.commit()) return Fail(file_.errorString());
  return true;
}

}  // namespace vocapost
