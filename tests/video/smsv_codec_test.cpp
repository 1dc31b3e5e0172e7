#include <gtest/gtest.h>

#include "platform/codec/codec_manager.h"
#include "support/pictures.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

// Compresses pictures through the codec manager as the program does.
class SmsvCodecTest : public testing::HomeTest {
 protected:
  void Begin(int width, int height, uint32_t ratio) {
    ASSERT_EQ(registry_.SetDword(kCodecKey, "Ratio", ratio),
              RegistryStore::kOk);
    in_ = BitmapInfoHeader{};
    in_.width = width;
    in_.height = height;
    compressor_ = codecs_.Locate(FourCCFromText("VIDC"), FourCCFromText("SMSV"),
                                 CodecMode::kCompress);
    ASSERT_NE(compressor_, 0);
    codecs_.CompressGetFormat(compressor_, in_, out_);
    ASSERT_EQ(codecs_.CompressBegin(compressor_, in_, out_), kIcOk);
    decompressor_ = codecs_.Locate(
        FourCCFromText("VIDC"), FourCCFromText("SMSV"), CodecMode::kDecompress);
    BitmapInfoHeader decoded_format;
    ASSERT_EQ(codecs_.DecompressBegin(decompressor_, out_, decoded_format),
              kIcOk);
  }
  // The payload for `picture` (trailer included).
  std::vector<uint8_t> Compress(const std::vector<uint8_t>& picture, bool key) {
    std::vector<uint8_t> payload(kLongestPayload);
    IcCompress c;
    c.flags = key ? kIcCompressKeyFrame : 0;
    c.output_format = &out_;
    c.output = payload.data();
    c.input_format = &in_;
    c.input = picture.data();
    EXPECT_EQ(codecs_.Compress(compressor_, c), kIcOk);
    payload.resize(out_.bitmap.size_image);
    return payload;
  }
  std::vector<uint8_t> Decompress(const std::vector<uint8_t>& payload,
                                  int32_t* result = nullptr) {
    FrameHeader header = out_;
    header.bitmap.size_image = static_cast<uint32_t>(payload.size());
    BitmapInfoHeader decoded_format;
    std::vector<uint8_t> picture(
        static_cast<size_t>(in_.width * in_.height * 3));
    IcDecompress d;
    d.input_format = &header;
    d.input = payload.data();
    d.output_format = &decoded_format;
    d.output = picture.data();
    const int32_t r = codecs_.Decompress(decompressor_, d);
    if (result != nullptr) *result = r;
    return picture;
  }

  IniRegistryStore registry_{QString::fromStdString(temp_.config().string())};
  CodecManager codecs_{registry_};
  CodecManager::Handle compressor_ = 0, decompressor_ = 0;
  BitmapInfoHeader in_;
  FrameHeader out_;
};

TEST_F(SmsvCodecTest, OnlyTheSmsvVideoCodecIsFoundAndItsFormatIsTheHeader) {
  EXPECT_EQ(FourCCFromText("SMSV"), 0x56534D53u) << "first character lowest";
  EXPECT_EQ(codecs_.Locate(FourCCFromText("VIDC"), FourCCFromText("MSVC"),
                           CodecMode::kCompress),
            0);
  EXPECT_EQ(codecs_.Locate(FourCCFromText("AUDC"), FourCCFromText("SMSV"),
                           CodecMode::kCompress),
            0);
  Begin(160, 120, 25);
  EXPECT_EQ(out_.bitmap.size, 48u);
  EXPECT_EQ(out_.bitmap.compression, FourCCFromText("SMSV"));
  EXPECT_EQ(out_.bitmap.width, 160);
  EXPECT_EQ(out_.codec[0], 1) << "codec version";
}

// The mean payload meets the ratio's target; noise never passes the cap.
TEST_F(SmsvCodecTest, PayloadsFollowTheRatioForEverySize) {
  const struct {
    int w, h;
    uint32_t ratio;
  } cases[] = {{80, 60, 25}, {160, 120, 50}, {240, 180, 100}, {240, 180, 25}};
  for (const auto& [w, h, ratio] : cases) {
    SCOPED_TRACE(std::to_string(w) + " ratio " + std::to_string(ratio));
    Begin(w, h, ratio);
    double total = 0;
    constexpr int kFrames = 60;
    for (int i = 0; i < kFrames; ++i) {
      total += static_cast<double>(
          Compress(testing::PatternPicture(w, h, i), i == 0).size());
    }
    const double target = w * h * 3.0 / ratio;
    EXPECT_NEAR(total / kFrames, target, 0.25 * target);
    int records = 0;
    for (int i = 0; i < 4; ++i) {
      const auto payload = Compress(
          testing::NoisePicture(w, h, static_cast<uint32_t>(i)), i == 0);
      EXPECT_LE(payload.size() + 48, 9991u);
      records += payload.empty() ? 0 : 1;
    }
    EXPECT_GT(records, 0) << "noise still gives pictures, only coarser";
  }
}

TEST_F(SmsvCodecTest, HighQualityPicturesAreFaithful) {
  Begin(160, 120, 25);
  double total = 0;
  constexpr int kFrames = 30;
  for (int i = 0; i < kFrames; ++i) {
    const auto picture = testing::PatternPicture(160, 120, i);
    const auto decoded = Decompress(Compress(picture, i == 0));
    const double psnr =
        testing::Psnr(picture.data(), decoded.data(), picture.size());
    total += psnr;
  }
  EXPECT_GE(total / kFrames, 32.0);
}

TEST_F(SmsvCodecTest, DifferenceFrameWithoutItsReferenceDoesNotCrash) {
  Begin(160, 120, 25);
  Compress(testing::PatternPicture(160, 120, 0), true);
  const auto difference = Compress(testing::PatternPicture(160, 120, 1), false);
  int32_t result = kIcOk;
  Decompress(difference, &result);  // a fresh decoder has no reference
  EXPECT_NE(result, kIcOk);
  std::vector<uint8_t> garbage(500, 0x5a);
  garbage.back() = 0;
  Decompress(garbage, &result);
  EXPECT_NE(result, kIcOk);
}

}  // namespace
}  // namespace vocapost
