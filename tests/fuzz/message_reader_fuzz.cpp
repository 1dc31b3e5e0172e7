// Any bytes as a message file: the reader keeps its promises record by
// record, the frame-size probe picks a known size, and playing the file
// reaches its end one record a tick.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  const InHome in_home;
  static PlayerRig& rig = *new PlayerRig;  // kept for the whole run
  const auto length = static_cast<int64_t>(size);
  WriteBytes("m.vrc", Bytes(data, size));
  int records = 0;
  MessageReader reader;
  Check(reader.Open("m.vrc") && reader.file_length() == length,
        "the message does not open at its length");
  int64_t expected_position = 1;
  while (std::optional<MessageRecord> record = reader.Next()) {
    Check(record->position == expected_position, "records not back to back");
    Check(record->length >= 0 && record->length <= kLargestPayload,
          "a length the header cannot hold");
    const int64_t payload_at = int64_t{record->position} + kRecordHeaderSize;
    const int64_t on_file = std::max<int64_t>(0, length - (payload_at - 1));
    const int64_t wanted = record->kind == RecordKind::kVideo
                               ? std::min(record->length, kFrameBufferSize)
                               : record->length;
    Check(record->payload.size() == std::min(wanted, on_file),
          "payload not what the file holds");
    Check(record->truncated == (payload_at + record->length - 1 > length),
          "truncation misreported");
    expected_position = payload_at + record->length;
    Check(++records <= length / kRecordHeaderSize + 1,
          "more records than headers");
  }
  Check(reader.end() == ReadEnd::kEndOfFile ||
            reader.end() == ReadEnd::kUnknownTag,
        "reading ended without a reason");
  rig.player.OpenMessageForPlay("m.vrc");
  const QList<int16_t> known_twips = {0, 1200, 1800, 2400, 3000, 3600};
  Check(known_twips.contains(rig.state.activity.recorded_width_twips),
        "the probe chose an unknown width");
  Check(rig.state.video.size_change_busy == 0, "the probe stayed busy");
  rig.ReopenCodec();
  // Played to its end one tick at a time, a tick's blocks played at once.
  rig.state.launch.selected_play_file = "m.vrc";
  rig.player.Play();
  Check(rig.state.activity.is_playing == 1, "an existing file does not play");
  for (int tick = 0; tick < records + 2 && rig.state.activity.is_playing;
       ++tick) {
    rig.player.PlayerTick();
    rig.output->Drain(static_cast<size_t>(std::max<int>(
                          rig.state.audio.queued_play_buffers, 0)) *
                      (kAudioBlockSize / kGsmBlockBytes) * kGsmBlockSamples);
    rig.state.audio.queued_play_buffers = 0;
  }
  Check(rig.state.activity.is_playing == 0, "playing does not end");
  return 0;
}
