// Frames from the camera: their normalising, the codec and the engine.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTimer>

#include "platform/codec/codec_manager.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/pictures.h"
#include "support/temp_home.h"
#include "video/normalise_frame.h"
#include "video/video_engine.h"

namespace vocapost {
namespace {

const uint8_t* Normalise(int width, int height, uint32_t code,
                         std::vector<uint8_t>& frame, uint32_t bytes,
                         std::vector<uint8_t>& work) {
  BitmapInfoHeader format;
  format.width = width;
  format.height = height;
  format.compression = code;
  format.bit_count = code == 0 ? 24 : 12;
  return NormaliseFrame(format, {frame.data(), bytes}, work);
}

TEST(NormaliseFrameTest, A176By144FrameIsCutToRows24To143) {
  std::vector<uint8_t> frame(176 * 144 * 3), work;
  for (size_t i = 0; i < frame.size(); ++i)
    frame[i] = static_cast<uint8_t>(i / (176 * 3) + i % (176 * 3));
  const uint8_t* picture = Normalise(176, 144, 0, frame, 76032, work);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(work.size(), 57600u);
  for (const int i : {0, 60, 119}) {
    EXPECT_EQ(picture[i * 480], static_cast<uint8_t>(i + 24)) << i;
    EXPECT_EQ(picture[i * 480 + 479], static_cast<uint8_t>(i + 24 + 479)) << i;
  }
}

// The top-left chroma block is raised: U (blue) in I420, V (red) in YV12.
// Planar rows come top first, so that block ends up in the last row.
TEST(NormaliseFrameTest, PlanarFramesAreTurnedUpAndChromaFollowsTheCode) {
  std::vector<uint8_t> frame(160 * 120 * 3 / 2, 128), work;
  frame[160 * 120] = 255;
  const size_t last_row = 119 * 160 * 3;
  for (const auto& [code, raised, other] :
       {std::tuple{FourCCFromText("I420"), 0, 2},
        std::tuple{FourCCFromText("YV12"), 2, 0}}) {
    const uint8_t* picture = Normalise(160, 120, code, frame, 28800, work);
    ASSERT_NE(picture, nullptr) << code;
    EXPECT_EQ(picture[last_row + raised], 255) << code;
    EXPECT_LT(picture[last_row + other], 255) << code;
    EXPECT_EQ(picture[0], 128) << code;
  }
}

TEST(NormaliseFrameTest, FramesOfTheWrongKindOrTooShortGiveNoPicture) {
  std::vector<uint8_t> frame(57600), work;
  const uint32_t i420 = FourCCFromText("I420"), mjpg = FourCCFromText("MJPG");
  const struct {
    int width, height;
    uint32_t code, bytes;
  } refused[] = {
      {240, 180, 0, 1000},    {176, 144, 0, 1000},     {160, 120, i420, 1000},
      {320, 240, i420, 1000}, {160, 120, mjpg, 57600},
  };
  for (const auto& c : refused) {
    EXPECT_EQ(Normalise(c.width, c.height, c.code, frame, c.bytes, work),
              nullptr)
        << c.width << " " << c.code;
  }
  EXPECT_EQ(Normalise(160, 120, 0, frame, 57600, work), frame.data())
      << "an RGB frame of exactly the size needed is the picture itself";
}

// Noise, a picture the camera never gives, drives the codec manager.
class SmsvCodecTest : public testing::HomeTest {
 protected:
  IniRegistryStore registry_{QString::fromStdString(temp_.config().string())};
  CodecManager codecs_{registry_};
};

TEST_F(SmsvCodecTest, NoiseNeverPassesTheLargestRecordAndStillGivesPictures) {
  const std::tuple<int, int, uint32_t> cases[] = {
      {80, 60, 25}, {160, 120, 50}, {240, 180, 100}, {240, 180, 25}};
  for (const auto& [w, h, ratio] : cases) {
    SCOPED_TRACE(std::to_string(w) + " ratio " + std::to_string(ratio));
    ASSERT_EQ(registry_.SetDword(kCodecKey, "Ratio", ratio),
              RegistryStore::kOk);
    BitmapInfoHeader in;
    in.width = w;
    in.height = h;
    FrameHeader out;
    const CodecManager::Handle compressor = codecs_.Locate(
        FourCCFromText("VIDC"), FourCCFromText("SMSV"), CodecMode::kCompress);
    codecs_.CompressGetFormat(compressor, in, out);
    ASSERT_EQ(codecs_.CompressBegin(compressor, in, out), kIcOk);
    int records = 0;
    for (uint32_t i = 0; i < 4; ++i) {
      const std::vector<uint8_t> picture = testing::NoisePicture(w, h, i);
      std::vector<uint8_t> payload(kLongestPayload);
      IcCompress c{i == 0 ? kIcCompressKeyFrame : 0, &out, payload.data(),
                   &in, picture.data()};
      EXPECT_EQ(codecs_.Compress(compressor, c), kIcOk);
      EXPECT_LE(out.bitmap.size_image + 48, 9991u);
      records += out.bitmap.size_image == 0 ? 0 : 1;
    }
    EXPECT_GT(records, 0) << "only coarser";
  }
}

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

// Key frames come first, then every fifty-first or when forced, and the last
// payload byte tells them. A key frame lying about its picture size gets
// nothing allocated.
TEST_F(VideoEngineTest, KeyFramesComeFirstThenEveryFiftyFirstOrWhenForced) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  std::vector<int> keys;
  std::vector<uint8_t> records[2];  // the first key frame and the next
  for (int frame = 1; frame <= 108; ++frame) {
    // Forced for the last five.
    if (frame == 104) app_->state().values.force_key_frame = 1;
    bool key = false;
    const int32_t length = Next(&key);
    ASSERT_GT(length, 48) << frame;
    if (key) keys.push_back(frame);
    if (frame <= 2)
      records[frame - 1].assign(video().compressed_frame(),
                                video().compressed_frame() + length);
  }
  EXPECT_EQ(keys, (std::vector<int>{1, 52, 103, 104, 105, 106, 107, 108}));
  std::vector<uint8_t>& key = records[0];
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
      records[1].data(), static_cast<int64_t>(records[1].size())))
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
