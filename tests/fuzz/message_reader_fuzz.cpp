// Any bytes as a message file, read record by record by the frame-size probe
// and by playing it to its end one record a tick: its sound records go
// through the GSM decoder and the play queue, its frames through the codec.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  const InHome in_home;
  static PlayerRig& rig = *new PlayerRig;  // kept for the whole run
  WriteBytes("m.vrc", Bytes(data, size));
  rig.player.OpenMessageForPlay("m.vrc");
  rig.ReopenCodec();
  // No more records than headers; a tick's blocks are played at once.
  rig.state.launch.selected_play_file = "m.vrc";
  rig.player.Play();
  for (size_t tick = 0;
       tick < size / kRecordHeaderSize + 3 && rig.state.activity.is_playing;
       ++tick) {
    rig.player.PlayerTick();
    const size_t queued = std::max<int>(rig.state.audio.queued_play_buffers, 0);
    rig.output->Drain(queued * (kAudioBlockSize / kGsmBlockBytes) *
                      kGsmBlockSamples);
    rig.state.audio.queued_play_buffers = 0;
  }
  Check(rig.state.activity.is_playing == 0, "playing does not end");
  return 0;
}
