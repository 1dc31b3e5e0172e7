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
  // Each record as "position:kind length/payload size", "cut" when truncated.
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
      payloads_.push_back(r->payload);
    }
    return records;
  }
  MessageReader reader_;
  std::vector<QByteArray> payloads_;
};

TEST_F(MessageReaderTest, RecordsAreReadInOrderWithTheirOwnPayloads) {
  const QByteArray audio = Payload(1105, 1), frame = Payload(49, 2);
  EXPECT_EQ(ReadAll(Record(kAudioTag, audio) + Record(kVideoTag, frame)),
            QStringList({"1:A1105/1105", "1116:V49/49"}));
  EXPECT_EQ(payloads_, (std::vector<QByteArray>{audio, frame}));
  EXPECT_EQ(reader_.read_position(), reader_.file_length() + 1);
}

TEST_F(MessageReaderTest, OddFilesGiveWhatIsThereAndNoMore) {
  const QByteArray wav65 = Record(kAudioTag, Payload(65, 1));
  const struct {
    const char* label;
    QByteArray file;
    QStringList records;
    ReadEnd end;
  } cases[] = {
      {"empty", "", {}, ReadEnd::kEndOfFile},
      {"first tag unknown",
       "RIFF1105  " + Payload(1105, 1),
       {},
       ReadEnd::kUnknownTag},
      {"unknown tag after a record",
       wav65 + "img10     " + Payload(10, 0) + wav65,
       {"1:A65/65"},
       ReadEnd::kUnknownTag},
      {"last record cut",
       wav65 + Record(kAudioTag, Payload(1105, 3)).left(500),
       {"1:A65/65", "76:A1105/490cut"},
       ReadEnd::kEndOfFile},
      {"length beyond the file",
       "IMG9999999" + Payload(30, 1),
       {"1:V9999999/30cut"},
       ReadEnd::kEndOfFile},
      {"frame longer than the frame buffer",
       Record(kVideoTag, Payload(12000, 4)) + wav65,
       {"1:V12000/10001", "12011:A65/65"},
       ReadEnd::kEndOfFile},
      {"one byte left", wav65 + "W", {"1:A65/65"}, ReadEnd::kEndOfFile},
      {"zero lengths still advance",
       "WAV0      IMG       " + wav65,
       {"1:A0/0", "11:V0/0", "21:A65/65"},
       ReadEnd::kEndOfFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(ReadAll(c.file), c.records);
    EXPECT_EQ(reader_.end(), c.end);
  }
}

TEST_F(MessageReaderTest, MissingFileCannotBeOpened) {
  EXPECT_FALSE(reader_.Open("absent.vrc"));
  EXPECT_EQ(reader_.Next(), std::nullopt);
  EXPECT_EQ(reader_.end(), ReadEnd::kReadError);
}

}  // namespace
}  // namespace vocapost
