#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/codec/bitmap_header.h"
#include "platform/registry/registry_store.h"

namespace vocapost {

// Results of codec operations.
inline constexpr int32_t kIcOk = 0;
inline constexpr int32_t kIcUnsupported = -1;
inline constexpr int32_t kIcBadFormat = -2;
inline constexpr int32_t kIcError = -4;

inline constexpr uint32_t kIcCompressKeyFrame = 1;
inline constexpr uint32_t kIcDecompressNotKeyFrame = 0x08000000;
inline constexpr uint32_t kIcUserPrivate = 0x4065;
// Our own: the ratio for the codec's next Begin in `first`, in place of the
// stored "Ratio", so that a ratio that could not be stored is used anyway.
inline constexpr uint32_t kIcSetRatio = kIcUserPrivate + 1;

// The longest payload a frame may have, so that header and payload always
// fit a message file's 10,001-byte frame slots (with the record header).
inline constexpr int32_t kLongestPayload = 9943;

// The largest 24-bit picture a decompression may produce: the size of the
// program's decoded-frame buffer.
inline constexpr int32_t kLargestPictureBytes = 250000;

inline const QString kCodecKey = "Software\\SMSV\\Video\\vfwcodec";

enum class CodecMode { kCompress, kDecompress };

struct IcCompress {
  uint32_t flags = 0;
  FrameHeader* output_format = nullptr;  // receives size_image = payload length
  uint8_t* output = nullptr;             // room for kLongestPayload bytes
  const BitmapInfoHeader* input_format = nullptr;
  const uint8_t* input = nullptr;  // 24-bit bottom-up BGR
  uint32_t* out_flags = nullptr;
  int32_t frame_num = 0;
};

struct IcDecompress {
  uint32_t flags = 0;
  const FrameHeader* input_format = nullptr;
  const uint8_t* input = nullptr;  // size_image bytes
  BitmapInfoHeader* output_format = nullptr;
  uint8_t* output = nullptr;  // width × height × 3 bytes
};

class SmsvInstance;

// The video compression manager with the one codec the program uses,
// handler SMSV: VP8 with a trailer byte (1 for a key frame, else 0).
class CodecManager {
 public:
  using Handle = intptr_t;

  // Loading the codec creates its settings key.
  explicit CodecManager(RegistryStore& registry);
  ~CodecManager();

  Handle Locate(uint32_t type, uint32_t handler, CodecMode mode);
  // Takes the codec away, as on a machine where it was never installed.
  void Uninstall() { installed_ = false; }
  void Close(Handle handle);

  int32_t CompressGetSize(Handle h, const BitmapInfoHeader& in,
                          FrameHeader& out);
  int32_t CompressGetFormat(Handle h, const BitmapInfoHeader& in,
                            FrameHeader& out);
  int32_t CompressBegin(Handle h, const BitmapInfoHeader& in,
                        const FrameHeader& out);
  int32_t Compress(Handle h, IcCompress& compress);
  int32_t CompressEnd(Handle h);
  int32_t DecompressGetFormat(Handle h, const FrameHeader& in,
                              BitmapInfoHeader& out);
  int32_t DecompressBegin(Handle h, const FrameHeader& in,
                          const BitmapInfoHeader& out);
  int32_t Decompress(Handle h, IcDecompress& decompress);
  int32_t DecompressEnd(Handle h);
  int32_t SendPrivate(Handle h, uint32_t message, intptr_t first,
                      intptr_t second);

 private:
  SmsvInstance* Find(Handle h);

  RegistryStore& registry_;
  std::map<Handle, std::unique_ptr<SmsvInstance>> instances_;
  Handle next_ = 1;
  bool installed_ = true;
};

}  // namespace vocapost
