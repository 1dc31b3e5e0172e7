#include "record/recording_cycle.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <optional>

#include "message/message_reader.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/file_size_limit.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {

class RecordingCycleTest : public testing::AppTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), StartResult::kRunning); }
  const ActivityState& activity() { return app_->state().activity; }
  void Record() { recorder().Command(2)->Press(); }
  void Stop() { recorder().Command(14)->Press(); }
  // One recorded buffer from the wave library, as its message would bring it.
  void Audio() {
    app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, ++header_, {});
  }
  // One tick of the 50 ms timer.
  void Tick() {
    clock_.Advance(0.05);
    int16_t busy = 1;
    app_->recording().RecordingTick(busy);
    EXPECT_EQ(busy, 0);
  }
  void ExpectIdleAndFree() {
    EXPECT_EQ(activity().is_recording, 0);
    EXPECT_FALSE(Exists("popplay.txt"));
    EXPECT_TRUE(recorder().Command(2)->isEnabled());
    EXPECT_TRUE(recorder().Command(5)->isEnabled());
  }
  // The kinds of the records, "A" or "V" ("K" for a key frame), of a file of
  // whole records only, read to its last byte.
  static QString Read(const QString& name) {
    QString kinds;
    MessageReader reader;
    EXPECT_TRUE(reader.Open(name));
    while (auto record = reader.Next()) {
      EXPECT_FALSE(record->truncated) << "record at " << record->position;
      kinds += record->kind == RecordKind::kAudio ? 'A'
               : record->payload.endsWith('\x01') ? 'K'
                                                  : 'V';
    }
    EXPECT_EQ(reader.read_position(), reader.file_length() + 1)
        << "stopped before the end of the file";
    return kinds;
  }
  intptr_t header_ = 100;
  const QString kName = "05143012.vrc";
  const std::filesystem::path file_ = temp_.home() / kName.toStdString();
};

TEST_F(RecordingCycleTest, FramesFollowTheAudioFourFramesLateWithinTheBudget) {
  recorder().Combo1()->setCurrentText("2000");
  Record();
  for (int tick = 0; tick < 100; ++tick) {
    if (tick % 14 == 0) Audio();  // a buffer every 0.68 s
    Tick();
  }
  Stop();
  // The sound alone takes most of that budget.
  EXPECT_LT(Read(kName).remove('A').size(), 4);

  recorder().Combo1()->setCurrentText("30000");
  recorder().Command(13)->Press();  // small frames: every tick in the budget
  Stop();                           // while idle: nothing to stop
  Record();
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_EQ(recorder().Label(9)->text(), kName);
  EXPECT_FALSE(recorder().Command(5)->isEnabled()) << "no Exit while recording";
  EXPECT_FALSE(recorder().Command(2)->isEnabled());
  Tick();  // no audio yet: no frame stored
  Audio();
  for (int i = 0; i < 10; ++i) Tick();
  Record();  // while recording: goes on with the same file
  EXPECT_EQ(activity().is_recording, 1);
  Stop();
  ExpectIdleAndFree();
  // Ten frames after the audio, the last four still in the ring at Stop.
  EXPECT_EQ(Read(kName), "AKKKKKK");
  EXPECT_EQ(recorder().Label5()->text(),
            QString::number(std::filesystem::file_size(file_)));
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QString::fromStdString(file_.string()));
  EXPECT_EQ(recorder().File2()->List(0), kName);
}

// What stops or refuses a recording, to the file and from memory at Stop.
TEST_F(RecordingCycleTest, LimitsAndFailuresKeepWholeRecordsAndSaySo) {
  namespace fs = std::filesystem;
  auto kLimit = "The recording reached its maximum size and was stopped.";
  auto kCut =
      "The message file 05143012.vrc could not be written in full (%1).  It "
      "holds the first 1.4 seconds of the recording (2230 bytes).";
  const int32_t kMost = 2000000;  // the usual largest message
  const struct {
    const char* label;  // names the trouble, if any
    int to_memory, maximum, disk, buffers, ticks;
    const char *kinds, *shown;  // kinds nullptr: no file
  } cases[] = {
      {"playing", 0, kMost, 0, 0, 0, nullptr, "Playing, Please Stop First"},
      {"no room", 0, kMost, 0, 0, 0, nullptr,
       "Must have at least  2000000 free space"},
      // The record that crossed the limit is the last.
      {"limit, audio side", 0, 3000, 0, 5, 0, "AAA", kLimit},
      {"limit, video side", 0, 2000, 0, 1, 10, "AK", kLimit},
      // Made as large as the limit, the image takes records that fill it
      // exactly and none past it.
      {"limit, memory image", 1, 2230, 0, 4, 0, "AA", kLimit},
      {"full disk", 0, kMost, 3000, 4, 0, "AA", kCut},
      {"full disk, memory", 1, kMost, 3000, 4, 0, "AA", kCut},
      {"full at a record's end", 1, kMost, 2230, 4, 0, "AA", kCut},
      {"read-only home", 0, kMost, 0, 0, 0, nullptr,
       "The message file 05143012.vrc cannot be created in %2 (%1), so nothing "
       "can be recorded.  Make room on the disk or allow writing to the "
       "folder, then press Record again."},
      {"folder in the way", 1, kMost, 0, 1, 0, nullptr,
       "The message file 05143012.vrc could not be written (%1), so the "
       "recording could not be kept."},
  };
  const QString home = QString::fromStdString(temp_.home());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string_view trouble = c.label;
    app_->state().activity.is_playing = trouble == "playing";
    // Room beyond 32 bits is plenty.
    free_space_.Set(trouble == "no room" ? 1999999 : uint64_t{5} << 32);
    app_->state().settings.record_to_memory = c.to_memory;
    app_->state().recording.image = MemoryImage();
    app_->state().maximum_message_size = c.maximum;
    fs::remove_all(file_);
    if (trouble == "read-only home")
      fs::permissions(temp_.home(), fs::perms(0555));
    {
      std::optional<testing::UnprivilegedFiles> nobody;
      if (trouble == "read-only home") nobody.emplace();
      std::optional<testing::FileSizeLimit> full;
      if (c.disk > 0) full.emplace(c.disk);
      Record();
      for (int i = 0; i < c.buffers; ++i) Audio();
      for (int i = 0; i < c.ticks && activity().is_recording == 1; ++i) Tick();
      // Only from memory does a failure wait for Stop.
      EXPECT_EQ(activity().is_recording, c.to_memory && c.shown != kLimit);
      if (trouble == "folder in the way" && fs::remove(file_))
        fs::create_directory(file_);
      if (activity().is_recording == 1) Stop();
    }
    fs::permissions(temp_.home(), fs::perms::owner_all);
    ExpectIdleAndFree();
    EXPECT_EQ(c.kinds ? Read(kName) : QString(), c.kinds);
    EXPECT_EQ(fs::is_regular_file(file_), c.kinds != nullptr);
    const QString reason = app_->state().recording.writer.reason();
    EXPECT_EQ(reason.isEmpty(), !QString(c.shown).contains("%1"));
    ASSERT_TRUE(app_->messages().error_form());
    EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
              QString(c.shown).replace("%1", reason).replace("%2", home));
    app_->messages().UnloadErrorForm();
  }
  EXPECT_EQ(Logged().count("could not be written"), 4);  // not at the limit
}

TEST_F(RecordingCycleTest, HalfDuplexStopClosesTheRecorderIfOneBlockCameBack) {
  app_.reset();
  settings_.Set(kSettingsApplication, kSettingsSection, "FullDuplex", "0");
  wave_.calls.clear();
  app_ = MakeApp(wave_);
  ASSERT_EQ(Start(), StartResult::kRunning);
  for (const int returned : {1, 2}) {
    Record();
    ASSERT_EQ(wave_.calls.back(), "StartWaveRecorderRaw");  // at Record
    // Buffers on their way come back during Stop's pause.
    for (int i = 0; i < returned; ++i)
      QTimer::singleShot(0, [this] { Audio(); });
    Stop();
    EXPECT_EQ(app_->state().audio.returned_block_count, returned);
    EXPECT_EQ(std::ranges::count(wave_.calls, QString("CloseWaveRecorder")), 1)
        << "only after the one block back";
  }
}

}  // namespace
}  // namespace vocapost
