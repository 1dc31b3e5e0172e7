#include "export/opus_track.h"

#include <opus.h>

#include <QtEndian>

namespace vocapost {

OpusTrack::OpusTrack() {
  int error = OPUS_OK;
  encoder_ = opus_encoder_create(kSampleRate, 1, OPUS_APPLICATION_VOIP, &error);
  if (error != OPUS_OK) {
    encoder_ = nullptr;
    return;
  }
  opus_encoder_ctl(encoder_, OPUS_SET_BITRATE(kBitRate));
  opus_encoder_ctl(encoder_, OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
  // The sound was GSM: a low complexity loses nothing that is still there,
  // and is what keeps 20 minutes of sound to a couple of seconds' work.
  opus_encoder_ctl(encoder_, OPUS_SET_COMPLEXITY(kComplexity));
  opus_int32 lookahead = 0;
  opus_encoder_ctl(encoder_, OPUS_GET_LOOKAHEAD(&lookahead));
  pre_skip_ = lookahead;
}

OpusTrack::~OpusTrack() {
  if (encoder_ != nullptr) opus_encoder_destroy(encoder_);
}

QByteArray OpusTrack::Head() const {
  QByteArray head("OpusHead");
  head.append(char(1));  // version
  head.append(char(1));  // one channel
  char field[4];
  // Pre-skip counts samples at 48 kHz, whatever the input rate.
  qToLittleEndian<quint16>(static_cast<quint16>(pre_skip_ * 6), field);
  head.append(field, 2);
  qToLittleEndian<quint32>(kSampleRate, field);
  head.append(field, 4);
  head.append(QByteArray(3, '\0'));  // output gain 0, mapping family 0
  return head;
}

std::vector<OpusPacket> OpusTrack::Encode(const std::vector<int16_t>& pcm,
                                          int64_t start) {
  std::vector<OpusPacket> packets;
  if (encoder_ == nullptr || pcm.empty()) return packets;
  // Zeros after the end push the look-ahead's last samples out.
  const int64_t needed = static_cast<int64_t>(pcm.size()) + pre_skip_;
  std::vector<int16_t> padded(
      static_cast<size_t>((needed + kFrameSamples - 1) / kFrameSamples *
                          kFrameSamples),
      0);
  std::copy(pcm.begin(), pcm.end(), padded.begin());
  unsigned char out[1500];
  int64_t left = static_cast<int64_t>(pcm.size());
  for (size_t at = 0; at < padded.size(); at += kFrameSamples) {
    const opus_int32 size =
        opus_encode(encoder_, padded.data() + at, kFrameSamples, out,
                    static_cast<opus_int32>(sizeof out));
    if (size < 0) return {};
    // The first packet's pre-skip is cut by the decoder, the last packet's
    // padding by the container.
    const int64_t skipped = at == 0 ? pre_skip_ : 0;
    const int64_t samples = std::min<int64_t>(kFrameSamples - skipped, left);
    if (samples <= 0) break;  // only padding from here on
    left -= samples;
    OpusPacket packet;
    packet.data = QByteArray(reinterpret_cast<const char*>(out), size);
    packet.start = start + static_cast<int64_t>(at) - pre_skip_;
    packet.padding = kFrameSamples - skipped - samples;
    packets.push_back(std::move(packet));
  }
  return packets;
}

}  // namespace vocapost
