// Audio records of any bytes through the player's path (the audio engine,
// the wave library, its GSM decoder and play queue). What comes out of the
// device must be the record's whole 65-byte blocks decoded in order. The
// input is a run of records, each a 2-byte little-endian length and that
// many bytes (at most ten transfer blocks, so the queue never fills).
#include <QtEndian>
#include <algorithm>

#include "fuzz_support.h"
#include "platform/wave/gsm_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost;
  using namespace vocapost::fuzz;
  constexpr size_t kPiece = kAudioBlockSize / kGsmBlockBytes * kGsmBlockBytes;
  constexpr size_t kLongestRecord =
      DeviceWaveLibrary::kMostQueuedBlocks * kPiece;
  static NullMessages messages;
  static ManualClock clock;
  AppState state;
  state.audio.audio_capability = 2;
  auto owned_output = std::make_unique<SyncOutput>();
  SyncOutput& output = *owned_output;
  DeviceWaveLibrary wave(MakeNoInput(), std::move(owned_output));
  AudioEngine audio(wave, state, messages, clock);
  Check(audio.StartPlayer() == 1, "the player does not start");
  GsmDecoder reference;

  size_t at = 0;
  while (at + 2 <= size) {
    const size_t wanted =
        qFromLittleEndian<quint16>(data + at) % kLongestRecord;
    at += 2;
    const size_t length = std::min(wanted, size - at);
    const QByteArray record(reinterpret_cast<const char*>(data + at),
                            static_cast<qsizetype>(length));
    at += length;
    Check(audio.PlayAudioBlock(record) == 0, "a record was refused");
    const std::vector<int16_t> expected =
        reference.Decode(data + at - length, length);
    const size_t whole = length / kGsmBlockBytes * kGsmBlockBytes;
    Check(state.audio.queued_play_buffers ==
              static_cast<int>((whole + kPiece - 1) / kPiece),
          "not one queued block per transfer piece");
    Check(output.Drain(expected.size()) == expected,
          "the played sound is not the decoded record");
    state.audio.queued_play_buffers = 0;
  }
  return 0;
}
