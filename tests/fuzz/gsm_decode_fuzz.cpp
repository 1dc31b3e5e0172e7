// Audio records of any bytes through the player's sound path: what comes out
// of the device must be each record's whole 65-byte blocks decoded in order.
// Each piece of the input is one record of at most ten transfer blocks, so
// the queue never fills.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  constexpr size_t kPiece = kAudioBlockSize / kGsmBlockBytes * kGsmBlockBytes;
  SoundRig rig;
  GsmDecoder reference;
  for (const std::vector<uint8_t>& record :
       Pieces(data, size, DeviceWaveLibrary::kMostQueuedBlocks * kPiece)) {
    Check(rig.audio.PlayAudioBlock(Bytes(record.data(), record.size())) == 0,
          "a record was refused");
    const std::vector<int16_t> expected =
        reference.Decode(record.data(), record.size());
    const size_t whole = record.size() / kGsmBlockBytes * kGsmBlockBytes;
    Check(rig.state.audio.queued_play_buffers ==
              static_cast<int>((whole + kPiece - 1) / kPiece),
          "not one queued block per transfer piece");
    Check(rig.output->Drain(expected.size()) == expected,
          "the played sound is not the decoded record");
    rig.state.audio.queued_play_buffers = 0;
  }
  return 0;
}
