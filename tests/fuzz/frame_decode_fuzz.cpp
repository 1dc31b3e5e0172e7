// Frame records whose headers may lie, decoded and drawn in turn by a fresh
// decoder: each piece of the input is one record.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  const InHome in_home;
  static PlayerRig& rig = *new PlayerRig;  // kept for the whole run
  rig.ReopenCodec();
  for (const std::vector<uint8_t>& record : Pieces(data, size))
    rig.video.DecodeAndDrawFrame(record.data(), int64_t(record.size()));
  return 0;
}
