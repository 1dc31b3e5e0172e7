#include "platform/wave/gsm_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/tone.h"

namespace vocapost {
namespace {

TEST(GsmCodecTest, ARecorderBufferIsSeventeenBlocksOfSixtyFiveBytes) {
  const std::vector<int16_t> samples = testing::Tone(440, 5440);
  GsmEncoder encoder;
  const QByteArray coded = encoder.Encode(samples.data(), samples.size());
  EXPECT_EQ(coded.size(), 1105);
  EXPECT_EQ(coded.size(), 17 * 65);
  GsmDecoder decoder;
  EXPECT_EQ(
      decoder.Decode(reinterpret_cast<const uint8_t*>(coded.constData()), 1105)
          .size(),
      5440u);
}

TEST(GsmCodecTest, OnlyWholeBlocksAreCodedOrDecoded) {
  const std::vector<int16_t> samples = testing::Tone(440, 700);
  GsmEncoder encoder;
  EXPECT_EQ(encoder.Encode(samples.data(), samples.size()).size(), 2 * 65);
  GsmDecoder decoder;
  const std::vector<uint8_t> bytes(65 * 3 + 64, 0);
  EXPECT_EQ(decoder.Decode(bytes.data(), bytes.size()).size(), 3u * 320);
  EXPECT_TRUE(decoder.Decode(bytes.data(), 64).empty());
}

TEST(GsmCodecTest, ToneSurvivesTheRoundTrip) {
  for (const double hz : {300.0, 440.0, 1000.0}) {
    const std::vector<int16_t> samples = testing::Tone(hz, 8000);
    GsmEncoder encoder;
    const QByteArray coded = encoder.Encode(samples.data(), samples.size());
    GsmDecoder decoder;
    const std::vector<int16_t> decoded = decoder.Decode(
        reinterpret_cast<const uint8_t*>(coded.constData()), coded.size());
    ASSERT_EQ(decoded.size(), samples.size());
    // The first blocks let the codec settle.
    const std::vector<int16_t> settled(decoded.begin() + 960, decoded.end());
    EXPECT_GE(testing::ToneSnrDb(settled, hz), 12.0) << hz << " Hz";
  }
}

TEST(GsmCodecTest, SilenceStaysQuiet) {
  const std::vector<int16_t> silence(3200, 0);
  GsmEncoder encoder;
  const QByteArray coded = encoder.Encode(silence.data(), silence.size());
  GsmDecoder decoder;
  for (const int16_t s : decoder.Decode(
           reinterpret_cast<const uint8_t*>(coded.constData()), coded.size())) {
    EXPECT_LT(std::abs(s), 64);
  }
}

}  // namespace
}  // namespace vocapost
