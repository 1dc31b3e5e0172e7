#include "message/message_writer.h"

#include <gtest/gtest.h>

#include "message_files.h"
#include "support/file_size_limit.h"
#include "support/temp_home.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

using testing::Payload;
using testing::Record;

class MessageWriterTest : public testing::HomeTest {
 protected:
  MemoryImage image_;
};

// Both modes keep the same records, and on a full disk only whole ones:
// here the disk is full exactly at the end of the frame record.
TEST_F(MessageWriterTest, BothModesKeepTheSameWholeRecordsUpToAFullDisk) {
  temp_.WriteFile("direct.vrc", QByteArray(5000, 'x'));  // replaced
  MessageWriter direct, memory;
  ASSERT_TRUE(direct.BeginFile("direct.vrc"));
  ASSERT_TRUE(memory.BeginMemory("memory.vrc", image_, 1048576));
  EXPECT_EQ(fs::file_size(temp_.home() / "memory.vrc"), 0u)
      << "made empty at once; the image is written only at the end";
  const QByteArray audio = Payload(1105, 1), frame = Payload(900, 2);
  const QByteArray too_long(kLargestPayload + 1, 'x');
  {
    const testing::FileSizeLimit full_after(1115 + 910);
    for (MessageWriter* writer : {&direct, &memory}) {
      EXPECT_TRUE(writer->AppendAudio(audio));
      EXPECT_FALSE(writer->AppendVideo(too_long)) << "no room in the length";
      EXPECT_TRUE(writer->AppendVideo(frame));
      EXPECT_EQ(writer->AppendAudio(audio), writer == &memory);
    }
    EXPECT_FALSE(memory.Finish());
  }
  EXPECT_FALSE(direct.active());
  EXPECT_FALSE(direct.Finish());
  EXPECT_TRUE(direct.error().startsWith("Cannot write"));
  for (MessageWriter* writer : {&direct, &memory}) {
    SCOPED_TRACE(writer == &direct ? "direct" : "memory");
    EXPECT_EQ(writer->result(), FinishResult::kCut);
    EXPECT_EQ(writer->kept_size(), 2025);
    EXPECT_EQ(writer->kept_audio_bytes(), 1105);
    EXPECT_EQ(temp_.ReadFile(writer == &direct ? "direct.vrc" : "memory.vrc"),
              "WAV1105   " + audio + "IMG900    " + frame);
  }
}

TEST_F(MessageWriterTest, ImageIsKeptForTheNextRecordingAndItsEndRespected) {
  MessageWriter first, second;
  ASSERT_TRUE(first.BeginMemory("a.vrc", image_, 2300));
  const char* buffer = image_.Buffer(2300).constData();
  ASSERT_TRUE(first.AppendAudio(Payload(1105, 1)));
  ASSERT_TRUE(first.AppendAudio(Payload(1105, 2)));
  EXPECT_FALSE(first.AppendAudio(Payload(1105, 3)));
  EXPECT_TRUE(first.full());
  EXPECT_TRUE(first.error().isEmpty()) << "the size limit is no failure";
  ASSERT_TRUE(first.AppendAudio(Payload(60, 4)));  // fills it exactly
  ASSERT_TRUE(first.Finish());
  EXPECT_EQ(temp_.ReadFile("a.vrc").size(), 2300);
  ASSERT_TRUE(second.BeginMemory("b.vrc", image_, 2300));
  EXPECT_EQ(image_.Buffer(2300).constData(), buffer);
  ASSERT_TRUE(second.AppendAudio(Payload(65, 3)));
  // The file made at the start takes the image though its folder has
  // turned read-only since.
  fs::permissions(temp_.home() / "b.vrc", fs::perms::all);
  fs::permissions(temp_.home(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read |
                                    fs::perms::others_exec);
  {
    const testing::UnprivilegedFiles nobody;
    EXPECT_TRUE(second.Finish()) << second.error().toStdString();
  }
  fs::permissions(temp_.home(), fs::perms::owner_all);
  // Only this recording's bytes, none left over from the first.
  EXPECT_EQ(temp_.ReadFile("b.vrc"), Record(kAudioTag, Payload(65, 3)));
}

TEST_F(MessageWriterTest, FileThatCannotBeMadeIsFoundAtTheStartInBothModes) {
  fs::create_directory(temp_.home() / "folder.vrc");  // cannot be replaced
  MessageWriter direct, memory;
  EXPECT_FALSE(direct.BeginFile("folder.vrc"));
  EXPECT_FALSE(memory.BeginMemory("no-such-folder/m.vrc", image_, 4096));
  EXPECT_FALSE(memory.AppendAudio(Payload(65, 1)));
  EXPECT_FALSE(memory.Finish());
  EXPECT_EQ(memory.result(), FinishResult::kNotCreated);
  EXPECT_FALSE(memory.reason().isEmpty());
}

}  // namespace
}  // namespace vocapost
