#include "video/normalise_frame.h"

#include <gtest/gtest.h>

namespace vocapost {
namespace {

BitmapInfoHeader Format(int width, int height, uint32_t compression) {
  BitmapInfoHeader format;
  format.width = width;
  format.height = height;
  format.compression = compression;
  format.bit_count = compression == 0 ? 24 : 12;
  return format;
}

std::vector<uint8_t> Bgr(uint8_t y, uint8_t u, uint8_t v) {
  uint8_t bgr[3];
  YuvToBgr(y, u, v, bgr);
  return {bgr, bgr + 3};
}

TEST(YuvToBgrTest, BlackWhiteAndClampedColours) {
  EXPECT_EQ(Bgr(0, 128, 128), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(Bgr(255, 128, 128), (std::vector<uint8_t>{255, 255, 255}));
  // 255 + 1.77198 × 127 clamps; 255 − 0.344 × 127 = 211.312.
  EXPECT_EQ(Bgr(255, 255, 128), (std::vector<uint8_t>{255, 211, 255}));
  EXPECT_EQ(Bgr(100, 128, 0)[2], 0) << "red below zero clamps";
}

TEST(NormaliseFrameTest, A176By144FrameIsCutToRows24To143) {
  std::vector<uint8_t> frame(176 * 144 * 3), work;
  for (int row = 0; row < 144; ++row) {
    for (int x = 0; x < 176 * 3; ++x)
      frame[row * 176 * 3 + x] = static_cast<uint8_t>(row + x);
  }
  const uint8_t* picture =
      NormaliseFrame(Format(176, 144, 0), {frame.data(), 76032}, work);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(work.size(), 57600u);
  for (const int i : {0, 60, 119}) {
    EXPECT_EQ(picture[i * 480], static_cast<uint8_t>(i + 24)) << i;
    EXPECT_EQ(picture[i * 480 + 479], static_cast<uint8_t>(i + 24 + 479)) << i;
  }
}

TEST(NormaliseFrameTest,
     PlanarFramesAreTurnedUpAndChromaPlanesFollowTheirCode) {
  constexpr int area = 160 * 120;
  std::vector<uint8_t> frame(area * 3 / 2, 128), work;
  frame[area] = 255;  // first chroma plane, top-left block
  const uint8_t* i420 =
      NormaliseFrame(Format(160, 120, FourCCFromText("I420")),
                     {frame.data(), static_cast<uint32_t>(frame.size())}, work);
  ASSERT_NE(i420, nullptr);
  const size_t top_left =
      static_cast<size_t>(119 * 160 * 3);  // last row in memory
  // First plane is U in I420: blue rises.
  EXPECT_EQ(i420[top_left], 255);
  EXPECT_LT(i420[top_left + 2], 255);
  const std::vector<uint8_t> i420_copy(i420, i420 + area * 3);
  const uint8_t* yv12 =
      NormaliseFrame(Format(160, 120, FourCCFromText("YV12")),
                     {frame.data(), static_cast<uint32_t>(frame.size())}, work);
  // First plane is V in YV12: red rises instead.
  EXPECT_EQ(yv12[top_left + 2], 255);
  EXPECT_LT(yv12[top_left], 255);
  EXPECT_NE(std::vector<uint8_t>(yv12, yv12 + area * 3), i420_copy);
  // A plain grey pixel elsewhere.
  EXPECT_EQ(yv12[0], 128);
}

TEST(NormaliseFrameTest, FramesOfTheWrongKindOrTooShortGiveNoPicture) {
  std::vector<uint8_t> frame(57600), work;
  const uint32_t i420 = FourCCFromText("I420");
  const struct {
    int width, height;
    uint32_t code, bytes;
    bool picture;
  } cases[] = {
      {160, 120, 0, 57600, true},  // exactly the size needed
      {240, 180, 0, 1000, false},
      {176, 144, 0, 1000, false},
      {160, 120, i420, 1000, false},
      {320, 240, i420, 1000, false},
      {160, 120, FourCCFromText("MJPG"), 57600, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " " + std::to_string(c.code));
    const uint8_t* picture = NormaliseFrame(Format(c.width, c.height, c.code),
                                            {frame.data(), c.bytes}, work);
    EXPECT_EQ(picture != nullptr, c.picture);
  }
  EXPECT_EQ(NormaliseFrame(Format(160, 120, 0), {frame.data(), 57600}, work),
            frame.data())
      << "RGB frames are the picture themselves";
}

}  // namespace
}  // namespace vocapost
