#include "export/webm_export.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <optional>
#include <vector>

#include "export/opus_track.h"
#include "export/webm_muxer.h"
#include "message/message_reader.h"
#include "platform/codec/bitmap_header.h"
#include "platform/wave/gsm_codec.h"
#include "player/playback_timing.h"

namespace vocapost {
namespace {

struct VideoPacket {
  QByteArray vp8;
  int64_t pts = 0;
  bool key = false;
};

struct Tracks {
  std::vector<VideoPacket> video;
  int width = 0, height = 0;  // the first frame's size
  std::vector<int16_t> sound;
  int64_t sound_start = -1;  // -1: no sound at all
  int64_t end = 0;
};

// The VP8 data of a frame record the player would draw, or nothing.
std::optional<VideoPacket> FrameOf(const MessageRecord& record, int* width,
                                   int* height) {
  const QByteArray& payload = record.payload;
  if (record.truncated || record.length > kFrameBufferSize ||
      record.length <= kFrameHeaderBytes + 1) {
    return std::nullopt;
  }
  const auto* bytes = reinterpret_cast<const uchar*>(payload.constData());
  *width = qFromLittleEndian<qint32>(bytes + 4);
  *height = std::abs(qFromLittleEndian<qint32>(bytes + 8));
  VideoPacket packet;
  packet.vp8 =
      payload.mid(kFrameHeaderBytes, record.length - kFrameHeaderBytes - 1);
  packet.key = payload[record.length - 1] == 1;  // the codec's trailer byte
  return packet;
}

class TrackBuilder {
 public:
  explicit TrackBuilder(Tracks& tracks) : tracks_(tracks) {}

  void AddAudio(const MessageRecord& record) {
    const int64_t start = timing_.ReadAudio(record.payload.size());
    const std::vector<int16_t> samples = gsm_.Decode(
        reinterpret_cast<const uint8_t*>(record.payload.constData()),
        static_cast<size_t>(record.payload.size()));
    if (samples.empty()) return;
    if (tracks_.sound_start < 0) tracks_.sound_start = start;
    // A pause in the player's sound is silence in the track, so that the
    // track runs without gaps.
    const auto at = static_cast<size_t>(start - tracks_.sound_start);
    tracks_.sound.resize(std::max(tracks_.sound.size(), at + samples.size()));
    std::copy(samples.begin(), samples.end(), tracks_.sound.begin() + at);
  }

  // Returns false for a frame no player could show.
  bool AddVideo(const MessageRecord& record) {
    const int64_t shown = timing_.ReadOther();
    int width = 0, height = 0;
    std::optional<VideoPacket> packet = FrameOf(record, &width, &height);
    if (!packet) return false;
    // A difference frame needs the picture before it at its size. After a
    // size change the new size starts on its key frame, which carries the
    // size in its own header: browsers and ffmpeg take it from there and
    // show the new size; the track keeps the first frame's size.
    if (width != width_ || height != height_) need_key_ = true;
    if (need_key_ && !packet->key) return false;
    need_key_ = false;
    width_ = width, height_ = height;
    if (tracks_.video.empty()) {
      tracks_.width = width;
      tracks_.height = height;
    }
    packet->pts = shown;
    tracks_.video.push_back(std::move(*packet));
    return true;
  }

  int64_t End() const { return timing_.End(); }

 private:
  Tracks& tracks_;
  PlaybackTiming timing_;
  GsmDecoder gsm_;
  int width_ = 0, height_ = 0;
  bool need_key_ = true;
};

// Reads the whole records into `tracks`; the result's loss fields say what
// was left.
bool ReadTracks(MessageReader& reader, Tracks& tracks, ExportResult& result) {
  TrackBuilder builder(tracks);
  int records = 0;
  while (std::optional<MessageRecord> record = reader.Next()) {
    if (record->truncated) {
      result.lost_at = record->position - 1;
      break;
    }
    ++records;
    if (record->kind == RecordKind::kAudio) {
      builder.AddAudio(*record);
    } else if (!builder.AddVideo(*record)) {
      ++result.skipped_frames;
    }
  }
  if (result.lost_at == 0 && reader.end() == ReadEnd::kUnknownTag)
    result.lost_at = reader.read_position() - 1;
  if (result.lost_at > 0 || records == 0)
    result.lost_bytes = result.message_bytes - result.lost_at;
  tracks.end = builder.End();
  return records > 0;
}

ExportResult Fail(ExportResult result, ExportOutcome outcome,
                  const QString& error) {
  result.outcome = outcome;
  result.error = error;
  return result;
}

}  // namespace

ExportResult ExportWebm(const QString& message, const QString& webm,
                        const ExportProgress& progress) {
  ExportResult result;
  MessageReader reader;
  if (!reader.Open(message)) {
    return Fail(result, ExportOutcome::kCannotRead, reader.error());
  }
  result.message_bytes = reader.file_length();
  Tracks tracks;
  if (!ReadTracks(reader, tracks, result) ||
      (tracks.video.empty() && tracks.sound.empty())) {
    return Fail(result, ExportOutcome::kNotAMessage, {});
  }
  reader.Close();
  result.seconds = static_cast<double>(tracks.end) / WebmMuxer::kTimeBase;

  OpusTrack opus;
  std::vector<OpusPacket> sound;
  if (!tracks.sound.empty()) {
    if (!opus.ok()) return Fail(result, ExportOutcome::kCannotWrite, "Opus");
    sound = opus.Encode(tracks.sound, tracks.sound_start);
  }
  WebmMuxer muxer(webm);
  const int video_stream =
      tracks.video.empty() ? -1 : muxer.AddVp8(tracks.width, tracks.height);
  const int sound_stream =
      sound.empty() ? -1 : muxer.AddOpus(opus.Head(), opus.pre_skip());
  if (!muxer.Begin()) {
    return Fail(result, ExportOutcome::kCannotWrite, muxer.error());
  }
  // Both tracks in time order, as the muxer wants them.
  const size_t total = tracks.video.size() + sound.size();
  size_t v = 0, a = 0;
  while (v + a < total) {
    bool ok = false;
    if (a == sound.size() ||
        (v < tracks.video.size() && tracks.video[v].pts <= sound[a].start)) {
      const VideoPacket& frame = tracks.video[v++];
      const int64_t next =
          v < tracks.video.size() ? tracks.video[v].pts : tracks.end;
      ok = muxer.Write(video_stream, frame.vp8, frame.pts,
                       std::max<int64_t>(next - frame.pts, 1), frame.key);
    } else {
      const OpusPacket& packet = sound[a++];
      ok = muxer.Write(sound_stream, packet.data, packet.start,
                       OpusTrack::kFrameSamples - packet.padding, true,
                       packet.padding);
    }
    if (!ok) return Fail(result, ExportOutcome::kCannotWrite, muxer.error());
    if (progress && !progress(static_cast<int>(v + a), static_cast<int>(total)))
      return Fail(result, ExportOutcome::kCancelled, {});
  }
  if (!muxer.Finish()) {
    return Fail(result, ExportOutcome::kCannotWrite, muxer.error());
  }
  result.outcome = ExportOutcome::kDone;
  result.frames = static_cast<int>(tracks.video.size());
  result.webm_bytes = QFileInfo(webm).size();
  return result;
}

}  // namespace vocapost
