// Audio records of any bytes through the player's sound path, each record's
// whole 65-byte blocks decoded and played. Each piece of the input is one
// record of at most ten transfer blocks, so the queue never fills.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  constexpr size_t kPiece = kAudioBlockSize / kGsmBlockBytes * kGsmBlockBytes;
  static PlayerRig& rig = *new PlayerRig;  // kept for the whole run
  for (const std::vector<uint8_t>& record :
       Pieces(data, size, DeviceWaveLibrary::kMostQueuedBlocks * kPiece)) {
    rig.audio.PlayAudioBlock(Bytes(record.data(), record.size()));
    rig.output->Drain(record.size() / kGsmBlockBytes * kGsmBlockSamples);
    rig.state.audio.queued_play_buffers = 0;
  }
  return 0;
}
