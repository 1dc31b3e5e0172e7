// One frame through the SMSV codec, compressed and decompressed, for each
// frame size and quality ratio, with the payload size and PSNR it reached.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cmath>

#include "platform/capture/test_pattern_driver.h"
#include "smsv_pair.h"

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
  vocapost::bench::SmsvPair pair(width, height, ratio);
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 0; i < 32; ++i) frames.push_back(Pattern(width, height, i));
  std::vector<uint8_t> payload(vocapost::kLongestPayload),
      picture(frames[0].size());
  double bytes = 0, psnr = 0;
  int64_t n = 0;
  for (auto _ : state) {
    const std::vector<uint8_t>& source = frames[static_cast<size_t>(n % 32)];
    pair.Compress(source.data(), n % 51 == 0, payload);
    pair.Decompress(payload, picture.data());
    state.PauseTiming();
    double squared = 0;
    for (size_t i = 0; i < source.size(); ++i) {
      squared += (source[i] - picture[i]) * double(source[i] - picture[i]);
    }
    psnr += 10 * std::log10(255.0 * 255.0 * static_cast<double>(source.size()) /
                            std::max(squared, 1.0));
    bytes += pair.out.bitmap.size_image;
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
