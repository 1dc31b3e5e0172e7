// WebM export of a message at the file-writing size limit (2,000,000 bytes):
// a recording at 240 x 180 with sound, and one of sound alone, where the
// Opus encoding has the most to do.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

#include "export/webm_export.h"
#include "message/message_writer.h"
#include "platform/codec/bitmap_header.h"
#include "platform/codec/vp8_codec.h"
#include "platform/wave/gsm_codec.h"

namespace {

constexpr int kWidth = 240, kHeight = 180, kFramesPerSound = 13;

// A moving picture, so that difference frames carry something.
std::vector<uint8_t> Picture(int index) {
  std::vector<uint8_t> bgr(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &bgr[static_cast<size_t>((y * kWidth + x) * 3)];
      p[0] = static_cast<uint8_t>(x + index * 3);
      p[1] = static_cast<uint8_t>(y * 2 + index);
      p[2] = static_cast<uint8_t>((x ^ y) + index * 5);
    }
  }
  return bgr;
}

QByteArray FrameRecord(vocapost::Vp8Encoder& encoder, int index) {
  bool key = false;
  const std::vector<uint8_t> picture = Picture(index);
  QByteArray vp8 = encoder.Encode(picture.data(), index % 51 == 0, false, &key);
  vp8.append(key ? '\1' : '\0');
  vocapost::FrameHeader header;
  header.bitmap.size = 48;
  header.bitmap.width = kWidth;
  header.bitmap.height = kHeight;
  header.bitmap.compression = vocapost::FourCCFromText("SMSV");
  header.bitmap.size_image = static_cast<uint32_t>(vp8.size());
  QByteArray record(vocapost::kFrameHeaderBytes, '\0');
  vocapost::WriteFrameHeader(header, reinterpret_cast<uint8_t*>(record.data()));
  return record + vp8;
}

// Writes the message in the current folder; false when it could not.
bool WriteMessage(bool video) {
  vocapost::GsmEncoder gsm;
  vocapost::Vp8Encoder encoder(kWidth, kHeight, 1000);
  vocapost::MessageWriter writer;
  if (!encoder.ok() || !writer.BeginFile("m.vrc")) return false;
  std::vector<int16_t> tone(17 * vocapost::kGsmBlockSamples);
  int frame = 0;
  for (size_t at = 0; writer.recorded_size() < 2000000;) {
    for (int16_t& sample : tone) {
      sample = static_cast<int16_t>(
          6000 * std::sin(2 * std::numbers::pi * 440 * double(at++) / 8000));
    }
    if (!writer.AppendAudio(gsm.Encode(tone.data(), tone.size()))) return false;
    for (int i = 0; video && i < kFramesPerSound; ++i) {
      if (!writer.AppendVideo(FrameRecord(encoder, frame++))) return false;
    }
  }
  return writer.Finish();
}

void BM_ExportWebm(benchmark::State& state) {
  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  if (!WriteMessage(state.range(0) == 1)) {
    state.SkipWithError("could not write the message");
  }
  for (auto _ : state) {
    const vocapost::ExportResult result =
        vocapost::ExportWebm("m.vrc", "m.webm");
    if (result.outcome != vocapost::ExportOutcome::kDone) {
      state.SkipWithError("the export failed");
      break;
    }
    state.counters["seconds_played"] = result.seconds;
    state.counters["size_ratio"] = static_cast<double>(result.webm_bytes) /
                                   static_cast<double>(result.message_bytes);
  }
  QDir::setCurrent(previous);
}
BENCHMARK(BM_ExportWebm)
    ->ArgName("video")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
