#include "video/video_engine.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTimer>

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

// The last format asked for; the Recorder shows its planar frames too.
TEST_F(VideoEngineTest, CameraTakingOnlyYv12IsShownAndCompressed) {
  camera_.LimitFormats({{160, 120, FourCCFromText("YV12")}});
  ASSERT_EQ(Start(), StartResult::kRunning);
  QCoreApplication::processEvents();
  EXPECT_FALSE(app_->capture().window()->image().isNull());
  EXPECT_GT(Next(), 48);
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

// A camera that stops must not freeze the program: a second at most.
TEST_F(VideoEngineTest, CompressionNeverNestsAndWaitsForAFrameASecondAtMost) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  Next();  // the next frame is now on its way
  int32_t nested = -1;
  QTimer::singleShot(0, [&] { nested = video().CompressCurrentFrame(); });
  EXPECT_GT(Next(), 48);
  EXPECT_EQ(nested, 0);
  camera_.Disconnect();
  QCoreApplication::processEvents();
  const double before = clock_.Now();
  EXPECT_EQ(Next(), 0);
  EXPECT_NEAR(clock_.Now() - before, 1.1, 0.1);
  EXPECT_EQ(app_->state().video.compress_busy, 0);
}

long PeakMemoryKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The last payload byte tells a key frame. A key frame lying about its
// picture size gets nothing allocated.
TEST_F(VideoEngineTest, KeyFramesAreToldByTheLastByteAndLyingOnesRefused) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  std::vector<uint8_t> key = Record(Next());
  bool difference_is_key = true;
  const std::vector<uint8_t> difference = Record(Next(&difference_is_key));
  ASSERT_FALSE(difference_is_key);
  const auto size = static_cast<int64_t>(key.size());
  ASSERT_TRUE(video().DecompressFrameRecord(key.data(), size));
  EXPECT_EQ(video().last_decompress_flags(), 0u);
  std::vector<uint8_t> record = key;
  record.back() = 0;
  ASSERT_TRUE(video().DecompressFrameRecord(record.data(), size));
  EXPECT_EQ(video().last_decompress_flags(), kIcDecompressNotKeyFrame);
  // The VP8 key frame header: frame tag, start code, then 14-bit sizes.
  for (const int at : {6, 8}) {
    key[kFrameHeaderBytes + at] = 0xff;
    key[kFrameHeaderBytes + at + 1] = 0x3f;  // 16383
  }
  const long before = PeakMemoryKb();
  EXPECT_FALSE(video().DecompressFrameRecord(key.data(), size));
  EXPECT_LT(PeakMemoryKb() - before, 20 * 1024);
  EXPECT_TRUE(video().DecompressFrameRecord(
      difference.data(), static_cast<int64_t>(difference.size())))
      << "the decoder still builds on the real key frame";
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
