#include "record/recording_cycle.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include "message/message_reader.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/file_size_limit.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {

class RecordingCycleTest : public testing::AppTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), StartResult::kRunning); }
  MKERForm1& recorder() { return *app_->recorder(); }
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
  QString Shown() {
    return app_->messages().error_form()
               ? app_->messages().error_form()->Label1()->text()
               : QString();
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
    EXPECT_EQ(reader.end(), ReadEnd::kEndOfFile);
    EXPECT_EQ(reader.read_position(), reader.file_length() + 1)
        << "stopped before the end of the file";
    return kinds;
  }
  static int Frames(const QString& kinds) {
    return static_cast<int>(kinds.count('V') + kinds.count('K'));
  }
  intptr_t header_ = 100;
  const QString kName = "05143012.vrc";
};

TEST_F(RecordingCycleTest, RecordMarksTheCopyBusyAndStopBeforeAudioKeepsNone) {
  Record();
  EXPECT_EQ(activity().is_recording, 1);
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_EQ(recorder().Label(9)->text(), kName);
  EXPECT_FALSE(recorder().Command(5)->isEnabled()) << "no Exit while recording";
  EXPECT_FALSE(recorder().Command(2)->isEnabled());
  EXPECT_EQ(app_->state().values.data_rate_budget, 30000.0f);
  Tick();
  Tick();
  Stop();
  EXPECT_EQ(activity().is_recording, 0);
  EXPECT_EQ(temp_.ReadFile(kName.toStdString()), "");
  EXPECT_FALSE(Exists("popplay.txt"));
  EXPECT_TRUE(recorder().Command(2)->isEnabled());
  EXPECT_TRUE(recorder().Command(5)->isEnabled());
}

TEST_F(RecordingCycleTest, FramesWaitForAudioAndFourFramesAndStartWithAKey) {
  // Small frames, so that every tick stays within the budget.
  app_->state().values.codec_ratio = 100;
  app_->video().CloseCodec();
  ASSERT_TRUE(app_->video().OpenCodec());
  Record();
  Tick();  // no audio yet: no frame stored
  Audio();
  for (int i = 0; i < 10; ++i) Tick();
  Stop();
  const QString kinds = Read(kName);
  EXPECT_TRUE(kinds.startsWith("AK")) << kinds.toStdString();
  EXPECT_EQ(kinds.size(), 7) << "the last four frames in the ring not written";
  EXPECT_EQ(recorder().Label5()->text(),
            QString::number(std::filesystem::file_size(temp_.home() /
                                                       kName.toStdString())));
  // The path is on the clipboard, and the file listed.
  EXPECT_EQ(
      QGuiApplication::clipboard()->text(),
      QString::fromStdString((temp_.home() / kName.toStdString()).string()));
  EXPECT_EQ(recorder().File1()->ListCount(), 1);
  EXPECT_EQ(recorder().File1()->ListIndex(), 0);
  EXPECT_EQ(recorder().File2()->List(0), kName);
}

TEST_F(RecordingCycleTest, LowBudgetStoresFramesFarApart) {
  auto frames_with = [this](const QString& rate) {
    recorder().Combo1()->setCurrentText(rate);
    Record();
    for (int tick = 0; tick < 100; ++tick) {
      if (tick % 14 == 0) Audio();  // a buffer every 0.68 s
      Tick();
    }
    Stop();
    return Frames(Read(kName));
  };
  const int low = frames_with("2000");
  const int high = frames_with("30000");
  EXPECT_LT(low * 4, high);
  EXPECT_GT(high, 20);
}

TEST_F(RecordingCycleTest, MaximumSizeStopsTheRecordingFromEitherSide) {
  const struct {
    const char* label;
    int16_t to_memory;
    int32_t maximum;
    int buffers, ticks;
    const char* kinds;
  } cases[] = {
      // The record that crossed the limit is the last.
      {"audio side", 0, 3000, 5, 0, "AAA"},
      {"video side", 0, 2000, 1, 10, "AK"},
      // Made as large as the limit, the image takes no record past it.
      {"full memory image", 1, 3000, 4, 0, "AA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    app_->state().settings.record_to_memory = c.to_memory;
    app_->state().recording.image = MemoryImage();
    app_->state().maximum_message_size = c.maximum;
    Record();
    for (int i = 0; i < c.buffers; ++i) Audio();
    for (int i = 0; i < c.ticks && activity().is_recording == 1; ++i) Tick();
    EXPECT_EQ(activity().is_recording, 0);
    EXPECT_EQ(Read(kName), c.kinds);
    EXPECT_EQ(Shown(),
              "The recording reached its maximum size and was stopped.");
    app_->messages().UnloadErrorForm();
  }
  EXPECT_FALSE(Logged().contains("could not be written"))
      << "reaching the limit is normal";
}

TEST_F(RecordingCycleTest,
       HalfDuplexStopClosesTheRecorderWhenExactlyOneBlockCameBack) {
  app_.reset();
  ASSERT_TRUE(
      settings_.Set(kSettingsApplication, kSettingsSection, "FullDuplex", "0"));
  for (const int returned : {1, 2}) {
    testing::FakeWaveLibrary wave;
    app_ = MakeApp(wave);
    ASSERT_EQ(Start(), StartResult::kRunning);
    Record();
    ASSERT_EQ(wave.calls.back(), "StartWaveRecorderRaw")
        << "half duplex starts it at Record";
    // Buffers on their way come back during Stop's pause.
    for (int i = 0; i < returned; ++i) {
      QTimer::singleShot(0, [&, i] {
        app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, 900 + i,
                                          {});
      });
    }
    Stop();
    const bool closed = std::count(wave.calls.begin(), wave.calls.end(),
                                   "CloseWaveRecorder") == 1;
    EXPECT_EQ(closed, returned == 1) << returned << " block(s) back";
    EXPECT_EQ(app_->state().audio.returned_block_count, returned);
    app_.reset();
  }
}

TEST_F(RecordingCycleTest, RecordWhileRecordingAndStopWhileIdleOnlyTidyUp) {
  QString title;
  app_->messages().ShowMessageForm("old note", 0, title);
  Stop();
  EXPECT_EQ(app_->messages().error_form(), nullptr);
  EXPECT_FALSE(Exists("popplay.txt"));
  Record();
  Audio();
  const int32_t size = app_->state().values.recorded_size;
  app_->messages().ShowMessageForm("old note", 0, title);
  Record();
  EXPECT_EQ(app_->messages().error_form(), nullptr);
  EXPECT_EQ(app_->state().values.recorded_size, size);
  EXPECT_EQ(activity().is_recording, 1);
}

TEST_F(RecordingCycleTest, NoRecordingWhilePlayingOrWithoutRoom) {
  app_->state().activity.is_playing = 1;
  Record();
  EXPECT_EQ(Shown(), "Playing, Please Stop First");
  app_->state().activity.is_playing = 0;
  free_space_.Set(1999999);
  Record();
  EXPECT_EQ(Shown(), "Must have at least  2000000 free space");
  EXPECT_EQ(activity().is_recording, 0);
  EXPECT_FALSE(Exists("popplay.txt"));
  free_space_.Set(uint64_t{5} << 32);  // beyond 32 bits: plenty
  Record();
  EXPECT_EQ(activity().is_recording, 1);
}

// Both ways of writing: straight to the file, and from memory at Stop.
class RecordingFailureTest : public RecordingCycleTest,
                             public ::testing::WithParamInterface<int16_t> {
 protected:
  void SetUp() override {
    RecordingCycleTest::SetUp();
    app_->state().settings.record_to_memory = GetParam();
  }
  void ExpectIdleAndFree() {
    EXPECT_EQ(activity().is_recording, 0);
    EXPECT_FALSE(Exists("popplay.txt"));
    EXPECT_TRUE(recorder().Command(2)->isEnabled());
    EXPECT_TRUE(recorder().Command(5)->isEnabled());
  }
};
INSTANTIATE_TEST_SUITE_P(ToFileAndFromMemory, RecordingFailureTest,
                         ::testing::Values(int16_t{0}, int16_t{1}));

TEST_P(RecordingFailureTest, FolderThatCannotBeWrittenRefusesBeforeRecording) {
  namespace fs = std::filesystem;
  fs::permissions(temp_.home(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read |
                                    fs::perms::others_exec);
  {
    const testing::UnprivilegedFiles nobody;
    Record();
  }
  fs::permissions(temp_.home(), fs::perms::owner_all);
  const QString reason = app_->state().recording.writer.reason();
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(Shown(), CannotCreateBeforeRecording(kName, reason));
  ExpectIdleAndFree();
  EXPECT_FALSE(Exists(kName.toStdString()));
}

TEST_P(RecordingFailureTest, FullDiskLeavesWholeRecordsAndSaysHowMuch) {
  Record();
  {
    const testing::FileSizeLimit full_after(3000);
    for (int i = 0; i < 4; ++i) Audio();
    // Straight to the file, the failed write has ended the recording.
    EXPECT_EQ(activity().is_recording, GetParam());
    if (activity().is_recording == 1) Stop();
  }
  ExpectIdleAndFree();
  EXPECT_EQ(std::filesystem::file_size(temp_.home() / kName.toStdString()),
            2230u)
      << "cut back to the last whole record";
  EXPECT_EQ(Read(kName), "AA");
  EXPECT_TRUE(
      Shown().startsWith("The message file 05143012.vrc could not be "
                         "written in full ("));
  EXPECT_TRUE(Shown().endsWith(
      ").  It holds the first 1.4 seconds of the recording (2230 bytes)."))
      << Shown().toStdString();
}

TEST_F(RecordingCycleTest, MemoryRecordingWhoseFileVanishedIsNotCalledKept) {
  app_->state().settings.record_to_memory = 1;
  Record();
  Audio();
  std::filesystem::remove(temp_.home() / kName.toStdString());
  std::filesystem::create_directory(temp_.home() / kName.toStdString());
  Stop();
  EXPECT_EQ(Shown(),
            RecordingNotKept(kName, app_->state().recording.writer.reason()));
  EXPECT_EQ(activity().is_recording, 0);
}

}  // namespace
}  // namespace vocapost
