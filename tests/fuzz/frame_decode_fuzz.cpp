// Frame records whose headers may lie, decoded in turn by a fresh decoder.
// The input is a run of pieces, each a 2-byte little-endian length and that
// many bytes (cut at the end of the input); each piece is one record, held
// in a buffer of its own size so that any read past it is caught.
#include <QtEndian>
#include <algorithm>
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost;
  using namespace vocapost::fuzz;
  const InHome in_home;
  static PlayerRig* rig = new PlayerRig;  // kept for the whole run
  VideoEngine& video = rig->video();
  rig->ReopenCodec();
  size_t at = 0;
  while (at + 2 <= size) {
    const size_t wanted = qFromLittleEndian<quint16>(data + at);
    at += 2;
    const size_t length = std::min(wanted, size - at);
    const std::vector<uint8_t> record(data + at, data + at + length);
    at += length;
    if (!video.DecompressFrameRecord(record.data(),
                                     static_cast<int64_t>(record.size()))) {
      continue;
    }
    const FrameHeader header = ParseFrameHeader(record.data());
    const BitmapInfoHeader& out = video.decompressor_output();
    const int64_t n = header.bitmap.size_image;
    Check(n >= 1 && kFrameHeaderBytes + n <= static_cast<int64_t>(length),
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
