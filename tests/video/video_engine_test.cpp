#include "video/video_engine.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTimer>
#include <limits>
#include <tuple>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/pictures.h"

namespace vocapost {
namespace {

class VideoEngineTest : public testing::AppTest {
 protected:
  VideoEngine& video() { return app_->video(); }
  // Compresses the next frame; the payload's last byte tells a key frame.
  int32_t Next(bool* key = nullptr) {
    const int32_t length = video().CompressCurrentFrame();
    if (key != nullptr && length > 48)
      *key = video().compressed_frame()[length - 1] == 1;
    return length;
  }
  std::vector<uint8_t> Record(int32_t length) {
    return {video().compressed_frame(), video().compressed_frame() + length};
  }
};

TEST_F(VideoEngineTest, StartUpShowsTheCamerasFirstFrameInTheRecorder) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  QCoreApplication::processEvents();
  ASSERT_NE(app_->capture().window(), nullptr);
  EXPECT_FALSE(app_->capture().window()->image().isNull());
  EXPECT_EQ(app_->capture().window()->parentWidget(),
            app_->recorder()->Picture1());
}

TEST_F(VideoEngineTest, CameraTakingOnlyYv12IsAskedForTheOthersFirst) {
  camera_.LimitFormats({{160, 120, FourCCFromText("YV12")}});
  ASSERT_EQ(Start(), StartResult::kRunning);
  std::vector<std::tuple<int, int, uint32_t>> asked;
  for (const auto& format : camera_.asked())
    asked.emplace_back(format.width, format.height, format.compression);
  asked.resize(4);
  EXPECT_EQ(asked, (std::vector<std::tuple<int, int, uint32_t>>{
                       {160, 120, 0},
                       {176, 144, 0},
                       {160, 120, FourCCFromText("I420")},
                       {160, 120, FourCCFromText("YV12")}}));
  EXPECT_GT(Next(), 48) << "YV12 frames are converted and compressed";
}

TEST_F(VideoEngineTest, NoCameraMeansPlaybackOnlyWithItsMessage) {
  camera_.LimitFormats({{999, 999, 0}});
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().video.video_state, 1);
  EXPECT_EQ(app_->state().video.no_capture, 1);
  EXPECT_TRUE(Logged().contains(
      "\tVideo receive is supported, but no video capture device found.\n"));
}

TEST_F(VideoEngineTest, KeyFramesComeFirstThenEveryFiftyFirstOrWhenForced) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  std::vector<int> keys;
  for (int frame = 1; frame <= 108; ++frame) {
    // Forced for the last five.
    if (frame == 104) app_->state().values.force_key_frame = 1;
    bool key = false;
    ASSERT_GT(Next(&key), 48) << frame;
    if (key) keys.push_back(frame);
  }
  EXPECT_EQ(keys, (std::vector<int>{1, 52, 103, 104, 105, 106, 107, 108}));
}

TEST_F(VideoEngineTest, CompressionInsideACompressionReturnsAtOnce) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  Next();  // the next frame is now on its way
  int32_t nested = -1;
  QTimer::singleShot(0, [&] { nested = video().CompressCurrentFrame(); });
  EXPECT_GT(Next(), 48);
  EXPECT_EQ(nested, 0);
}

TEST_F(VideoEngineTest, CameraThatStopsGivesNoRecordAfterASecond) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  Next();
  camera_.Disconnect();
  QCoreApplication::processEvents();
  const double before = clock_.Now();
  EXPECT_EQ(Next(), 0);
  EXPECT_GT(clock_.Now() - before, 1.0);
  EXPECT_LT(clock_.Now() - before, 1.2);
  EXPECT_EQ(app_->state().video.compress_busy, 0);
}

TEST_F(VideoEngineTest, LastPayloadByteTellsAKeyFrameAndUntrustedRecordsFail) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  std::vector<uint8_t> record = Record(Next());
  const auto size = static_cast<int64_t>(record.size());
  ASSERT_TRUE(video().DecompressFrameRecord(record.data(), size));
  EXPECT_EQ(video().last_decompress_flags(), 0u);
  for (const uint8_t last : {0, 2, 255}) {
    record.back() = last;
    ASSERT_TRUE(video().DecompressFrameRecord(record.data(), size));
    EXPECT_EQ(video().last_decompress_flags(), kIcDecompressNotKeyFrame);
  }
  EXPECT_FALSE(video().DecompressFrameRecord(record.data(), size - 1))
      << "payload runs past";
  EXPECT_FALSE(video().DecompressFrameRecord(record.data(), 40));
  FrameHeader header = ParseFrameHeader(record.data());
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const std::pair<int32_t, int32_t> sizes[] = {
      {1000, 1000}, {-160, 120},  {160, 0},        {kMax, kMax},
      {kMax, kMin}, {1 << 30, 4}, {4, -(1 << 30)}, {288, 289}};
  for (const auto& [width, height] : sizes) {
    header.bitmap.width = width;
    header.bitmap.height = height;
    WriteFrameHeader(header, record.data());
    EXPECT_FALSE(video().DecompressFrameRecord(record.data(), size))
        << width << " x " << height;
  }
}

long PeakMemoryKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST_F(VideoEngineTest, KeyFrameLyingAboutItsSizeIsRefusedAndPlayingGoesOn) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  const std::vector<uint8_t> key = Record(Next());
  bool difference_is_key = true;
  const std::vector<uint8_t> difference = Record(Next(&difference_is_key));
  ASSERT_FALSE(difference_is_key);
  // The VP8 key frame header: frame tag, start code, then 14-bit sizes.
  std::vector<uint8_t> lying = key;
  for (const int at : {6, 8}) {
    lying[kFrameHeaderBytes + at] = 0xff;
    lying[kFrameHeaderBytes + at + 1] = 0x3f;  // 16383
  }
  const auto whole = [](const std::vector<uint8_t>& record) {
    return static_cast<int64_t>(record.size());
  };
  ASSERT_TRUE(video().DecompressFrameRecord(key.data(), whole(key)));
  const long before = PeakMemoryKb();
  EXPECT_FALSE(video().DecompressFrameRecord(lying.data(), whole(lying)));
  EXPECT_LT(PeakMemoryKb() - before, 20 * 1024)
      << "nothing is allocated for the declared picture";
  EXPECT_TRUE(
      video().DecompressFrameRecord(difference.data(), whole(difference)))
      << "the decoder still builds on the real key frame";
}

TEST_F(VideoEngineTest, RecordIsDrawnStretchedToThePicturesOuterSize) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  video().SizeFramePicture();
  EXPECT_EQ(app_->viewer()->Picture2()->size(), QSize(164, 124));
  const std::vector<uint8_t> record = Record(Next());
  video().DecodeAndDrawFrame(record.data(),
                             static_cast<int64_t>(record.size()));
  EXPECT_EQ(app_->viewer()->Picture2()->pixmap().size(), QSize(164, 124));
}

class UnwritableRegistry final : public RegistryStore {
 public:
  bool CreateKey(const QString&) override { return false; }
  int32_t SetDword(const QString&, const QString&, uint32_t) override {
    return kKeyMissing;
  }
  std::optional<uint32_t> GetDword(const QString&, const QString&) override {
    return {};
  }
};

TEST_F(VideoEngineTest, RatioThatCannotBeStoredIsToldButTheCodecOpens) {
  UnwritableRegistry registry;
  CodecManager codecs(registry);
  WidgetCaptureService capture(camera_, [] { return nullptr; });
  VideoEngine engine(app_->state(), codecs, capture, registry, app_->messages(),
                     clock_);
  app_->state().video.capture_width = app_->state().values.display_width = 160;
  app_->state().video.capture_height = app_->state().values.display_height =
      120;
  EXPECT_TRUE(engine.OpenCodec());
  ASSERT_NE(app_->messages().error_form(), nullptr);
  EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
            "You need to run VIDCAP32.EXE at least once");
  engine.CloseCodec();
}

TEST_F(VideoEngineTest, QualityThatCannotBeStoredIsUsedAndToldSo) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  auto mean_payload = [this] {
    double total = 0;
    for (int i = 0; i < 30; ++i) total += Next() - 48;
    return total / 30;
  };
  const double high = mean_payload();
  // A folder in its place: the ratio can be neither stored nor read back.
  const auto stored = temp_.config() / "registry.ini";
  std::filesystem::remove(stored);
  std::filesystem::create_directory(stored);
  app_->recorder()->Command(13)->Press();  // low quality, ratio 100
  ASSERT_NE(app_->messages().error_form(), nullptr);
  EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
            "The recording quality you chose could not be saved; it is used "
            "all the same.");
  EXPECT_LT(mean_payload(), high / 2) << "the codec took the new ratio";
}

}  // namespace
}  // namespace vocapost
