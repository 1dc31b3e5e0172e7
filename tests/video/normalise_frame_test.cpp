#include "video/normalise_frame.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vocapost
