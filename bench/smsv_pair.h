#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <vector>

#include "platform/codec/codec_manager.h"

namespace vocapost::bench {

// An SMSV compressor and decompressor opened for one frame size and ratio,
// as the recorder and the player open them.
struct SmsvPair {
  QTemporaryDir dir;
  IniRegistryStore registry{dir.path()};
  CodecManager codecs{registry};
  CodecManager::Handle compressor{}, decompressor{};
  BitmapInfoHeader in, decoded_format;
  FrameHeader out;

  SmsvPair(int width, int height, uint32_t ratio) {
    registry.SetDword(kCodecKey, "Ratio", ratio);
    const auto vidc = FourCCFromText("VIDC"), smsv = FourCCFromText("SMSV");
    compressor = codecs.Locate(vidc, smsv, CodecMode::kCompress);
    decompressor = codecs.Locate(vidc, smsv, CodecMode::kDecompress);
    in.width = width;
    in.height = height;
    codecs.CompressGetFormat(compressor, in, out);
    codecs.CompressBegin(compressor, in, out);
    codecs.DecompressBegin(decompressor, out, decoded_format);
  }

    void Compress(const uint8_t* source, bool key,
                std::vector<uint8_t>& payload) {
    IcCompress c;
    c.flags = key ? kIcCompressKeyFrame : 0;
    c.output_format = &out;
    c.output = payload.data();
    c.input_format = &in;
    c.input = source;
    codecs.Compress(compressor, c);
  }
  void Decompress(const std::vector<uint8_t>& payload, uint8_t* picture) {
    IcDecompress d;
    d.input_format = &out;
    d.input = payload.data();
    d.output_format = &decoded_format;
    d.output = picture;
    codecs.Decompress(decompressor, d);
  }
};

}  // namespace vocapost::bench
