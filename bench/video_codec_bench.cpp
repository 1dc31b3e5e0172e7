// One frame through the SMSV codec, compressed and decompressed, for each
// frame size and quality ratio, with the payload size and PSNR it reached.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cmath>

#include "platform/capture/test_pattern_driver.h"
#include "platform/codec/codec_manager.h"

namespace {

std::vector<uint8_t> Pattern(int width, int height, int index) {
  vocapost::TestPatternDriver driver;
  driver.Connect();
  vocapost::BitmapInfoHeader format;
  format.width = width;
  format.height = height;
  driver.SetFormat(format);
  std::vector<uint8_t> picture;
  driver.SetFrameCallback([&](const vocapost::VideoFrame& frame) {
    picture.assign(frame.data, frame.data + frame.bytes_used);
  });
  for (int i = 0; i <= index; ++i) {
    driver.GrabFrame();
    QCoreApplication::processEvents();
  }
  return picture;
}

void BM_CompressAndDecompress(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = width * 3 / 4;
  const auto ratio = static_cast<uint32_t>(state.range(1));
  QTemporaryDir dir;
  vocapost::IniRegistryStore registry(dir.path());
  vocapost::CodecManager codecs(registry);
  registry.SetDword(vocapost::kCodecKey, "Ratio", ratio);
  using vocapost::FourCCFromText;
  const auto compressor =
      codecs.Locate(FourCCFromText("VIDC"), FourCCFromText("SMSV"),
                    vocapost::CodecMode::kCompress);
  const auto decompressor =
      codecs.Locate(FourCCFromText("VIDC"), FourCCFromText("SMSV"),
                    vocapost::CodecMode::kDecompress);
  vocapost::BitmapInfoHeader in, decoded_format;
  in.width = width;
  in.height = height;
  vocapost::FrameHeader out;
  codecs.CompressGetFormat(compressor, in, out);
  codecs.CompressBegin(compressor, in, out);
  codecs.DecompressBegin(decompressor, out, decoded_format);
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 0; i < 32; ++i) frames.push_back(Pattern(width, height, i));
  std::vector<uint8_t> payload(vocapost::kLongestPayload),
      picture(frames[0].size());
  double bytes = 0, psnr = 0;
  int64_t n = 0;
  for (auto _ : state) {
    const std::vector<uint8_t>& source = frames[static_cast<size_t>(n % 32)];
    vocapost::IcCompress c;
    c.flags = n % 51 == 0 ? vocapost::kIcCompressKeyFrame : 0;
    c.output_format = &out;
    c.output = payload.data();
    c.input_format = &in;
    c.input = source.data();
    codecs.Compress(compressor, c);
    vocapost::IcDecompress d;
    d.input_format = &out;
    d.input = payload.data();
    d.output_format = &decoded_format;
    d.output = picture.data();
    codecs.Decompress(decompressor, d);
    state.PauseTiming();
    double squared = 0;
    for (size_t i = 0; i < source.size(); ++i) {
      squared += (source[i] - picture[i]) * double(source[i] - picture[i]);
    }
    psnr += 10 * std::log10(255.0 * 255.0 * static_cast<double>(source.size()) /
                            std::max(squared, 1.0));
    bytes += out.bitmap.size_image;
    ++n;
    state.ResumeTiming();
  }
  state.counters["bytes"] = bytes / static_cast<double>(n);
  state.counters["target"] = width * height * 3.0 / ratio;
  state.counters["psnr_db"] = psnr / static_cast<double>(n);
}
BENCHMARK(BM_CompressAndDecompress)
    ->ArgsProduct({{80, 160, 240}, {25, 50, 100}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
