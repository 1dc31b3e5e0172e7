#include "message/message_writer.h"

#include <gtest/gtest.h>

#include "message/message_reader.h"
#include "message_files.h"
#include "support/file_size_limit.h"
#include "support/temp_home.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {

using testing::FrameRecord;
using testing::Payload;

class MessageWriterTest : public testing::HomeTest {
 protected:
  // The same recording, as the recording cycle would store it.
  static bool Record(MessageWriter& writer) {
    return writer.AppendAudio(Payload(1105, 1)) &&
           writer.AppendVideo(FrameRecord(160, 120, 2352)) &&
           writer.AppendVideo(FrameRecord(160, 120, 49)) &&
           writer.AppendAudio(Payload(1105, 2)) &&
           writer.AppendAudio(Payload(650, 3));
  }
  MemoryImage image_;
};

TEST_F(MessageWriterTest, MemoryImageAndDirectFileAreByteIdentical) {
  MessageWriter direct, memory;
  ASSERT_TRUE(direct.BeginFile("direct.vrc"));
  ASSERT_TRUE(memory.BeginMemory("memory.vrc", image_, 1048576));
  ASSERT_TRUE(Record(direct));
  ASSERT_TRUE(Record(memory));
  EXPECT_EQ(std::filesystem::file_size(temp_.home() / "memory.vrc"), 0u)
      << "made empty at once; the image is written only at the end";
  ASSERT_TRUE(direct.Finish());
  ASSERT_TRUE(memory.Finish());
  const QByteArray bytes = temp_.ReadFile("direct.vrc");
  EXPECT_EQ(temp_.ReadFile("memory.vrc"), bytes);
  EXPECT_EQ(direct.recorded_size(), bytes.size());
  EXPECT_EQ(memory.recorded_size(), bytes.size());
  EXPECT_EQ(bytes.left(10), "WAV1105   ");
  EXPECT_EQ(bytes.mid(1115, 10), "IMG2352   ");
  EXPECT_EQ(bytes.mid(1115 + 2362, 10), "IMG49     ");
}

TEST_F(MessageWriterTest, WrittenFileReadsBackRecordForRecord) {
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginFile("m.vrc"));
  ASSERT_TRUE(Record(writer));
  ASSERT_TRUE(writer.Finish());
  MessageReader reader;
  ASSERT_TRUE(reader.Open("m.vrc"));
  std::vector<int32_t> lengths;
  while (auto record = reader.Next()) lengths.push_back(record->length);
  EXPECT_EQ(lengths, (std::vector<int32_t>{1105, 2352, 49, 1105, 650}));
  EXPECT_EQ(reader.end(), ReadEnd::kEndOfFile);
}

TEST_F(MessageWriterTest, ImageIsMadeOnceAndKeptForTheNextRecording) {
  MessageWriter first, second;
  ASSERT_TRUE(first.BeginMemory("a.vrc", image_, 4096));
  const char* buffer = image_.Buffer(4096).constData();
  ASSERT_TRUE(first.AppendAudio(Payload(1105, 1)));
  ASSERT_TRUE(first.AppendAudio(Payload(1105, 2)));
  ASSERT_TRUE(first.Finish());
  ASSERT_TRUE(second.BeginMemory("b.vrc", image_, 4096));
  EXPECT_EQ(image_.Buffer(4096).constData(), buffer);
  ASSERT_TRUE(second.AppendAudio(Payload(65, 3)));
  ASSERT_TRUE(second.Finish());
  // Only this recording's bytes, none left over from the first.
  EXPECT_EQ(temp_.ReadFile("b.vrc"), "WAV65     " + Payload(65, 3));
}

TEST_F(MessageWriterTest, RecordThatWouldRunPastTheImageIsNotWritten) {
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginMemory("m.vrc", image_, 2300));
  ASSERT_TRUE(writer.AppendAudio(Payload(1105, 1)));
  ASSERT_TRUE(writer.AppendAudio(Payload(1105, 2)));  // exactly 2230 bytes
  EXPECT_FALSE(writer.AppendAudio(Payload(1105, 3)));
  EXPECT_TRUE(writer.full());
  EXPECT_TRUE(writer.error().isEmpty()) << "the size limit is no failure";
  EXPECT_EQ(writer.recorded_size(), 2230);
  ASSERT_TRUE(writer.AppendAudio(Payload(60, 4)));  // 70 bytes still fit
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(temp_.ReadFile("m.vrc").size(), 2300);
}

TEST_F(MessageWriterTest, ExistingFileIsReplaced) {
  temp_.WriteFile("m.vrc", QByteArray(5000, 'x'));
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginFile("m.vrc"));
  ASSERT_TRUE(writer.AppendAudio(Payload(65, 1)));
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(temp_.ReadFile("m.vrc").size(), 75);
}

TEST_F(MessageWriterTest, EmptyRecordingGivesAnEmptyFile) {
  MessageWriter direct, memory;
  ASSERT_TRUE(direct.BeginFile("a.vrc"));
  ASSERT_TRUE(memory.BeginMemory("b.vrc", image_, 1048576));
  ASSERT_TRUE(direct.Finish());
  ASSERT_TRUE(memory.Finish());
  EXPECT_TRUE(std::filesystem::exists(temp_.home() / "b.vrc"));
  EXPECT_EQ(std::filesystem::file_size(temp_.home() / "a.vrc"), 0u);
  EXPECT_EQ(std::filesystem::file_size(temp_.home() / "b.vrc"), 0u);
}

TEST_F(MessageWriterTest, FileThatCannotBeMadeIsFoundAtTheStartInBothModes) {
  std::filesystem::create_directory(temp_.home() / "folder.vrc");
  for (const QString path : {"no-such-folder/m.vrc", "folder.vrc"}) {
    MessageWriter direct, memory;
    EXPECT_FALSE(direct.BeginFile(path)) << path.toStdString();
    EXPECT_FALSE(memory.BeginMemory(path, image_, 4096)) << path.toStdString();
    EXPECT_FALSE(memory.AppendAudio(Payload(65, 1)));
    EXPECT_FALSE(memory.Finish());
    EXPECT_EQ(memory.result(), FinishResult::kNotCreated);
    EXPECT_FALSE(memory.reason().isEmpty());
  }
}

TEST_F(MessageWriterTest, FullDiskLeavesOnlyWholeRecordsInBothModes) {
  MessageWriter direct, memory;
  ASSERT_TRUE(direct.BeginFile("direct.vrc"));
  ASSERT_TRUE(memory.BeginMemory("memory.vrc", image_, 1048576));
  bool direct_stored = true;
  {
    const testing::FileSizeLimit full_after(2000);
    direct_stored = direct.AppendAudio(Payload(1105, 1)) &&
                    direct.AppendAudio(Payload(1105, 2));
    ASSERT_TRUE(memory.AppendAudio(Payload(1105, 1)));
    ASSERT_TRUE(memory.AppendVideo(FrameRecord(160, 120, 900)));
    ASSERT_TRUE(memory.AppendAudio(Payload(1105, 2)));
    EXPECT_FALSE(memory.Finish());
  }
  EXPECT_FALSE(direct_stored);
  EXPECT_FALSE(direct.active());
  EXPECT_FALSE(direct.Finish());
  EXPECT_TRUE(direct.error().startsWith("Cannot write"))
      << direct.error().toStdString();
  // The second audio record and the frame record each ran past 2000 bytes.
  const std::pair<MessageWriter*, const char*> cases[] = {
      {&direct, "direct.vrc"}, {&memory, "memory.vrc"}};
  for (const auto& [writer, name] : cases) {
    EXPECT_EQ(writer->result(), FinishResult::kCut) << name;
    EXPECT_EQ(writer->kept_size(), 1115) << name;
    EXPECT_EQ(writer->kept_audio_bytes(), 1105) << name;
    EXPECT_EQ(temp_.ReadFile(name), "WAV1105   " + Payload(1105, 1)) << name;
  }
}

TEST_F(MessageWriterTest, ImageReachesAFileMadeBeforeItsFolderTurnedReadOnly) {
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginMemory("m.vrc", image_, 4096));
  ASSERT_TRUE(writer.AppendAudio(Payload(1105, 1)));
  std::filesystem::permissions(temp_.home() / "m.vrc",
                               std::filesystem::perms::all);
  std::filesystem::permissions(
      temp_.home(), std::filesystem::perms::owner_read |
                        std::filesystem::perms::owner_exec |
                        std::filesystem::perms::others_read |
                        std::filesystem::perms::others_exec);
  bool finished = false;
  {
    const testing::UnprivilegedFiles nobody;
    finished = writer.Finish();
  }
  std::filesystem::permissions(temp_.home(), std::filesystem::perms::owner_all);
  EXPECT_TRUE(finished) << writer.error().toStdString();
  EXPECT_EQ(temp_.ReadFile("m.vrc").size(), 1115);
}

TEST_F(MessageWriterTest, PayloadTooLongForTheLengthFieldIsRefused) {
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginFile("m.vrc"));
  EXPECT_FALSE(writer.AppendVideo(QByteArray(kLargestPayload + 1, 'x')));
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(temp_.ReadFile("m.vrc"), "");
}

}  // namespace
}  // namespace vocapost
