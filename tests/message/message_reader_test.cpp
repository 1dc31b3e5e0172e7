#include "message/message_reader.h"

#include <gtest/gtest.h>

#include "message_files.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using testing::FrameRecord;
using testing::Payload;
using testing::Record;

class MessageReaderTest : public testing::HomeTest {
 protected:
  std::vector<MessageRecord> ReadAll(const QByteArray& bytes) {
    temp_.WriteFile("m.vrc", bytes);
    EXPECT_TRUE(reader_.Open("m.vrc"));
    std::vector<MessageRecord> records;
    while (auto record = reader_.Next()) records.push_back(*record);
    return records;
  }
  MessageReader reader_;
};

TEST_F(MessageReaderTest, ReadsRecordsInOrderWithOneBasedPositions) {
  const QByteArray audio = Payload(1105, 1),
                   frame = FrameRecord(160, 120, 2352);
  const auto records =
      ReadAll(Record(kAudioTag, audio) + Record(kVideoTag, frame) +
              Record(kAudioTag, Payload(1105, 2)));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].kind, RecordKind::kAudio);
  EXPECT_EQ(records[0].position, 1);
  EXPECT_EQ(records[0].payload, audio);
  EXPECT_EQ(records[1].kind, RecordKind::kVideo);
  EXPECT_EQ(records[1].position, 1116);
  EXPECT_EQ(records[1].length, 2352);
  EXPECT_EQ(records[1].payload, frame);
  EXPECT_EQ(records[2].position, 1116 + 2362);
  EXPECT_FALSE(records[2].truncated);
  EXPECT_EQ(reader_.end(), ReadEnd::kEndOfFile);
  EXPECT_EQ(reader_.read_position(), reader_.file_length() + 1);
}

TEST_F(MessageReaderTest, FirstTagNeitherWavNorImgReadsNothing) {
  const auto records = ReadAll("RIFF1105  " + Payload(1105, 1));
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(reader_.end(), ReadEnd::kUnknownTag);
  EXPECT_EQ(reader_.stop_header().left(4), "RIFF");
}

TEST_F(MessageReaderTest, UnknownTagEndsReadingAfterTheRecordsBeforeIt) {
  const auto records =
      ReadAll(Record(kAudioTag, Payload(65, 1)) + "img10     " +
              Payload(10, 0) + Record(kAudioTag, Payload(65, 2)));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(reader_.end(), ReadEnd::kUnknownTag);
  EXPECT_EQ(reader_.read_position(), 76);
}

TEST_F(MessageReaderTest, EmptyFileHoldsNoRecord) {
  EXPECT_TRUE(ReadAll("").empty());
  EXPECT_EQ(reader_.end(), ReadEnd::kEndOfFile);
}

TEST_F(MessageReaderTest, TruncatedLastRecordGivesWhatIsThere) {
  const QByteArray audio = Payload(1105, 3);
  const auto records = ReadAll(Record(kAudioTag, Payload(1105, 1)) +
                               Record(kAudioTag, audio).left(500));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_TRUE(records[1].truncated);
  EXPECT_EQ(records[1].length, 1105);
  EXPECT_EQ(records[1].payload, audio.left(490));
  EXPECT_EQ(reader_.end(), ReadEnd::kEndOfFile);
}

TEST_F(MessageReaderTest, LengthFieldsNeverMakeItReadBeyondTheFile) {
  const auto records = ReadAll("IMG9999999" + Payload(30, 1));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].payload.size(), 30);
  EXPECT_TRUE(records[0].truncated);
}

TEST_F(MessageReaderTest, VideoPayloadIsCutToTheFrameBuffer) {
  const QByteArray big = Payload(12000, 4);
  const auto records =
      ReadAll(Record(kVideoTag, big) + Record(kAudioTag, Payload(65, 5)));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].payload, big.left(kFrameBufferSize));
  EXPECT_EQ(records[1].position, 12011);  // still advances by the whole length
  EXPECT_EQ(records[1].kind, RecordKind::kAudio);
}

TEST_F(MessageReaderTest, OneByteLeftIsNotARecord) {
  const auto records = ReadAll(Record(kAudioTag, Payload(65, 1)) + "W");
  EXPECT_EQ(records.size(), 1u);
  EXPECT_EQ(reader_.end(), ReadEnd::kEndOfFile);
}

TEST_F(MessageReaderTest, ZeroLengthRecordsStillAdvance) {
  const auto records = ReadAll(QByteArray("WAV0      ") + "IMG       " +
                               Record(kAudioTag, Payload(65, 1)));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].position, 11);
  EXPECT_EQ(records[2].payload.size(), 65);
}

TEST_F(MessageReaderTest, MissingFileCannotBeOpened) {
  EXPECT_FALSE(reader_.Open("absent.vrc"));
  EXPECT_EQ(reader_.Next(), std::nullopt);
  EXPECT_EQ(reader_.end(), ReadEnd::kReadError);
}

}  // namespace
}  // namespace vocapost
