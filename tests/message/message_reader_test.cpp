#include "message/message_reader.h"

#include <gtest/gtest.h>

#include "message_files.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using testing::Payload;
using testing::Record;

class MessageReaderTest : public testing::HomeTest {
 protected:
  // Each record as "position:kind length/payload size", "cut" when truncated;
  // each payload must be the bytes after its header.
  QStringList ReadAll(const QByteArray& bytes) {
    temp_.WriteFile("m.vrc", bytes);
    EXPECT_TRUE(reader_.Open("m.vrc"));
    QStringList records;
    while (auto r = reader_.Next()) {
      records << QString("%1:%2%3/%4%5")
                     .arg(r->position)
                     .arg(r->kind == RecordKind::kAudio ? "A" : "V")
                     .arg(r->length)
                     .arg(r->payload.size())
                     .arg(r->truncated ? "cut" : "");
      EXPECT_EQ(r->payload, bytes.mid(r->position + 9, r->payload.size()));
    }
    return records;
  }
  MessageReader reader_;
};

TEST_F(MessageReaderTest, RecordsAreReadAsFarAsTheFileHoldsThem) {
  const QByteArray wav65 = Record(kAudioTag, Payload(65, 1));
  const struct {
    QByteArray file;
    QStringList records;
    ReadEnd end = ReadEnd::kEndOfFile;
  } cases[] = {
      {Record(kAudioTag, Payload(1105, 1)) + Record(kVideoTag, Payload(49, 2)),
       {"1:A1105/1105", "1116:V49/49"}},
      {wav65 + "img10     " + Payload(10, 0) + wav65,
       {"1:A65/65"},
       ReadEnd::kUnknownTag},
      {wav65 + Record(kAudioTag, Payload(1105, 3)).left(500),
       {"1:A65/65", "76:A1105/490cut"}},
      // Seven digits at most; the rest is payload.
      {"IMG99999999999" + Payload(30, 1), {"1:V9999999/34cut"}},
      // A frame is read only as far as the frame buffer goes.
      {Record(kVideoTag, Payload(12000, 4)) + wav65,
       {"1:V12000/10001", "12011:A65/65"}},
      {wav65 + "W", {"1:A65/65"}},
      // Blanks before the digits; the digits end at a blank or a sign.
      {"IMG  42   " + Payload(42, 2) + "WAV12 34  " + Payload(12, 3),
       {"1:V42/42", "53:A12/12"}},
      {"WAV-5     IMG       WAVabc    " + wav65,
       {"1:A0/0", "11:V0/0", "21:A0/0", "31:A65/65"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(ReadAll(c.file), c.records);
    EXPECT_EQ(reader_.end(), c.end);
  }
  EXPECT_FALSE(reader_.Open("absent.vrc"));
  EXPECT_EQ(reader_.Next(), std::nullopt);
  EXPECT_EQ(reader_.end(), ReadEnd::kReadError);
}

TEST_F(MessageReaderTest, BytesToTextTakesAOneBasedRangeOneCharacterAByte) {
  const QByteArray bytes("VOCAPOSTnam\xff", 12);
  EXPECT_EQ(BytesToText(bytes, 9, 1016), QString::fromLatin1("nam\xff"));
  EXPECT_EQ(BytesToText(bytes, 12, 5), QString(QChar(0xff)));
  for (const auto& [start, count] : {std::pair{13, 5}, {0, 5}, {1, 0}})
    EXPECT_EQ(BytesToText(bytes, start, count), "") << start;
}

}  // namespace
}  // namespace vocapost
