#include "platform/wave/gsm_codec.h"

#include <gtest/gtest.h>

#include "support/tone.h"

namespace vocapost {
namespace {

std::vector<int16_t> RoundTrip(const std::vector<int16_t>& samples) {
  GsmEncoder encoder;
  const QByteArray coded = encoder.Encode(samples.data(), samples.size());
  EXPECT_EQ(coded.size(), samples.size() / 320 * 65) << "whole blocks only";
  GsmDecoder decoder;
  return decoder.Decode(reinterpret_cast<const uint8_t*>(coded.constData()),
                        coded.size());
}

TEST(GsmCodecTest, ToneSurvivesTheRoundTripAndSilenceStaysQuiet) {
  for (const double hz : {300.0, 1000.0}) {
    const std::vector<int16_t> decoded = RoundTrip(testing::Tone(hz, 8000));
    ASSERT_EQ(decoded.size(), 8000u);
    // The first blocks let the codec settle.
    EXPECT_GE(testing::ToneSnrDb({decoded.begin() + 960, decoded.end()}, hz),
              12.0)
        << hz << " Hz";
  }
  for (const int16_t s : RoundTrip(std::vector<int16_t>(3200, 0)))
    ASSERT_LT(std::abs(s), 64);
}

TEST(GsmCodecTest, OnlyWholeBlocksAreCodedOrDecoded) {
  EXPECT_EQ(RoundTrip(testing::Tone(440, 700)).size(), 640u);
  GsmDecoder decoder;
  const std::vector<uint8_t> bytes(65 * 3 + 64, 0);
  EXPECT_EQ(decoder.Decode(bytes.data(), bytes.size()).size(), 3u * 320);
  EXPECT_TRUE(decoder.Decode(bytes.data(), 64).empty());
}

}  // namespace
}  // namespace vocapost
