// Frame records whose headers may lie, decoded in turn by a fresh decoder:
// each piece of the input is one record.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  const InHome in_home;
  static PlayerRig& rig = *new PlayerRig;  // kept for the whole run
  VideoEngine& video = rig.video;
  rig.ReopenCodec();
  for (const std::vector<uint8_t>& record : Pieces(data, size)) {
    const auto length = static_cast<int64_t>(record.size());
    if (!video.DecompressFrameRecord(record.data(), length)) continue;
    const FrameHeader header = ParseFrameHeader(record.data());
    const BitmapInfoHeader& out = video.decompressor_output();
    const int64_t n = header.bitmap.size_image;
    Check(n >= 1 && kFrameHeaderBytes + n <= length,
          "decoded a record that claims more than it holds");
    Check(
        out.width == header.bitmap.width && out.height == header.bitmap.height,
        "the picture is not the record's size");
    Check(out.size_image <= video.decoded_frame().size(),
          "a picture larger than the decoded-frame buffer");
    const bool key = record[kFrameHeaderBytes + n - 1] == 1;
    Check(
        video.last_decompress_flags() == (key ? 0u : kIcDecompressNotKeyFrame),
        "the key-frame flag does not follow the trailer byte");
  }
  return 0;
}
