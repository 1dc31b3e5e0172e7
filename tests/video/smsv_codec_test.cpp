#include <gtest/gtest.h>

#include "platform/codec/codec_manager.h"
#include "support/pictures.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

// Drives the codec manager with pictures the camera never gives.
class SmsvCodecTest : public testing::HomeTest {
 protected:
  void Begin(int width, int height, uint32_t ratio) {
    ASSERT_EQ(registry_.SetDword(kCodecKey, "Ratio", ratio),
              RegistryStore::kOk);
    in_ = BitmapInfoHeader{};
    in_.width = width;
    in_.height = height;
    const uint32_t vidc = FourCCFromText("VIDC"), smsv = FourCCFromText("SMSV");
    compressor_ = codecs_.Locate(vidc, smsv, CodecMode::kCompress);
    codecs_.CompressGetFormat(compressor_, in_, out_);
    ASSERT_EQ(codecs_.CompressBegin(compressor_, in_, out_), kIcOk);
  }
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

  IniRegistryStore registry_{QString::fromStdString(temp_.config().string())};
  CodecManager codecs_{registry_};
  CodecManager::Handle compressor_ = 0;
  BitmapInfoHeader in_;
  FrameHeader out_;
};

TEST_F(SmsvCodecTest, NoiseNeverPassesTheLargestRecordAndStillGivesPictures) {
  const std::tuple<int, int, uint32_t> cases[] = {
      {80, 60, 25}, {160, 120, 50}, {240, 180, 100}, {240, 180, 25}};
  for (const auto& [w, h, ratio] : cases) {
    SCOPED_TRACE(std::to_string(w) + " ratio " + std::to_string(ratio));
    Begin(w, h, ratio);
    int records = 0;
    for (uint32_t i = 0; i < 4; ++i) {
      const auto payload = Compress(testing::NoisePicture(w, h, i), i == 0);
      EXPECT_LE(payload.size() + 48, 9991u);
      records += payload.empty() ? 0 : 1;
    }
    EXPECT_GT(records, 0) << "only coarser";
  }
}

}  // namespace
}  // namespace vocapost
