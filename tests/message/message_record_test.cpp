#include "message/message_record.h"

#include <gtest/gtest.h>

namespace vocapost {
namespace {

TEST(MessageRecordTest, HeaderLengthIsLeftAlignedInSevenCharacters) {
  EXPECT_EQ(RecordHeader(kAudioTag, 1105), "WAV1105   ");
  EXPECT_EQ(RecordHeader(kVideoTag, 9999999), "IMG9999999");
}

TEST(MessageRecordTest, LengthFieldIsReadAsDigitsAfterBlanks) {
  const struct {
    const char* header;
    int32_t length;
  } cases[] = {
      {"IMG  42   ", 42},
      {"IMG12 34  ", 12},           // reading stops at a blank
      {"IMG99999999999", 9999999},  // only 7 characters
      {"WAV-5     ", 0},            // never a negative step
      {"WAVabc    ", 0},
      {"WAV", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    EXPECT_EQ(RecordLength(c.header), c.length);
  }
}

TEST(MessageRecordTest, BytesToTextTakesAOneBasedRangeOneCharacterAByte) {
  const QByteArray bytes("VOCAPOSTnam\xff", 12);
  EXPECT_EQ(BytesToText(bytes, 9, 1016), QString::fromLatin1("nam\xff"));
  EXPECT_EQ(BytesToText(bytes, 12, 5), QString(QChar(0xff)));
  EXPECT_EQ(BytesToText(bytes, 13, 5), "");
  EXPECT_EQ(BytesToText(bytes, 0, 5), "");
  EXPECT_EQ(BytesToText(bytes, 1, 0), "");
}

}  // namespace
}  // namespace vocapost
