#include "message/message_record.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

TEST(RecordHeaderTest, LengthIsLeftAlignedAndPaddedToSevenCharacters) {
  EXPECT_EQ(RecordHeader(kAudioTag, 1105), "WAV1105   ");
  EXPECT_EQ(RecordHeader(kVideoTag, 49), "IMG49     ");
  EXPECT_EQ(RecordHeader(kVideoTag, 2352), "IMG2352   ");
  EXPECT_EQ(RecordHeader(kAudioTag, 0), "WAV0      ");
  EXPECT_EQ(RecordHeader(kVideoTag, 9999999), "IMG9999999");
}

TEST(RecordLengthTest, ReadsTheDigitsOfTheField) {
  EXPECT_EQ(RecordLength("WAV1105   "), 1105);
  EXPECT_EQ(RecordLength("IMG49     "), 49);
  EXPECT_EQ(RecordLength("IMG9999999"), 9999999);
  EXPECT_EQ(RecordLength("IMG  42   "), 42);  // blanks before digits
  EXPECT_EQ(RecordLength("IMG12 34  "), 12);  // reading stops at a blank
  EXPECT_EQ(RecordLength("IMG99999999999"), 9999999);  // only 7 characters
}

TEST(RecordLengthTest, FieldsWithoutDigitsOrWithSignsGiveZero) {
  EXPECT_EQ(RecordLength("WAV       "), 0);
  EXPECT_EQ(RecordLength("WAV-5     "), 0);  // never a negative step
  EXPECT_EQ(RecordLength("WAVabc    "), 0);
  EXPECT_EQ(RecordLength("WAV"), 0);
  EXPECT_EQ(RecordLength(""), 0);
}

TEST(KindOfHeaderTest, OnlyUpperCaseWavAndImgAreRecords) {
  EXPECT_EQ(KindOfHeader("WAV1105   "), RecordKind::kAudio);
  EXPECT_EQ(KindOfHeader("IMG49     "), RecordKind::kVideo);
  EXPECT_EQ(KindOfHeader("wav1105   "), RecordKind::kOther);
  EXPECT_EQ(KindOfHeader("WA"), RecordKind::kOther);
  EXPECT_EQ(KindOfHeader("RIFF"), RecordKind::kOther);
}

TEST(BytesToTextTest, TakesAOneBasedRangeStoppingAtTheEnd) {
  const QByteArray bytes("VOCAPOSTname", 12);
  EXPECT_EQ(BytesToText(bytes, 1, 8), "VOCAPOST");
  EXPECT_EQ(BytesToText(bytes, 9, 1016), "name");
  EXPECT_EQ(BytesToText(bytes, 12, 5), "e");
  EXPECT_EQ(BytesToText(bytes, 13, 5), "");
  EXPECT_EQ(BytesToText(bytes, 0, 5), "");
  EXPECT_EQ(BytesToText(bytes, 1, 0), "");
}

TEST(BytesToTextTest, EveryByteBecomesOneCharacter) {
  const QByteArray bytes("\0\xff\x1a", 3);
  const QString text = BytesToText(bytes, 1, 3);
  ASSERT_EQ(text.size(), 3);
  EXPECT_EQ(text[0].unicode(), 0);
  EXPECT_EQ(text[1].unicode(), 0xff);
  EXPECT_EQ(text[2].unicode(), 0x1a);
}

}  // namespace
}  // namespace vocapost
