#include "recorder_ui/mker_form1.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "player/viewer.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class RecorderTest : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), StartResult::kRunning);
    recorder_ = app_->recorder();
  }
  MKERForm1* recorder_ = nullptr;
};

TEST_F(RecorderTest, EndRequestEndsThisCopyWithItsAnswerUnlessEnding) {
  app_->state().launch.exit_on_request = 1;  // an end already asked for
  temp_.WriteFile("pop.txt", "pop");
  recorder_->Timer1_Timer();
  EXPECT_FALSE(ender_.ended);
  app_->state().launch.exit_on_request = 0;
  temp_.WriteFile("popshow.txt", "popshow");
  recorder_->Timer1_Timer();
  EXPECT_TRUE(ender_.ended);
  EXPECT_FALSE(Exists("pop.txt"));
  EXPECT_TRUE(Exists("popshow.txt")) << "an ending copy leaves other requests";
  EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
}

TEST_F(RecorderTest, ShowRequestRestoresAMinimisedWindow) {
  recorder_->showMinimized();
  ASSERT_TRUE(recorder_->isMinimized());
  temp_.WriteFile("popshow.txt", "popshow");
  recorder_->Timer1_Timer();
  EXPECT_FALSE(Exists("popshow.txt"));
  EXPECT_FALSE(recorder_->isMinimized());
  EXPECT_FALSE(ender_.ended);
}

TEST_F(RecorderTest, ClosingTheWindowEndsTheProgram) {
  recorder_->close();
  EXPECT_TRUE(ender_.ended);
  EXPECT_FALSE(Exists("popstop.txt"));
}

// The window's edges turn red while it records, and the size's tooltip
// tells how long and how much of the limit.
TEST_F(RecorderTest, RecordingShowsRedEdgesAndItsProgress) {
  recorder_->show();
  QCoreApplication::processEvents();
  const auto edge = [this] {
    const QImage shot = recorder_->grab().toImage();
    return QColor::fromRgb(shot.pixel(shot.width() / 2, 5));
  };
  const QColor idle = edge();
  recorder_->Command(2)->Press();
  intptr_t header = 100;
  for (int i = 0; i < 12; ++i) {
    app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, ++header, {});
    clock_.Advance(0.1);
    int16_t busy = 1;
    app_->recording().RecordingTick(busy);
  }
  clock_.Advance(65);
  app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, ++header, {});
  EXPECT_GT(edge().red(), 150);
  EXPECT_LT(edge().blue(), 90);
  EXPECT_LT(idle.red(), 90) << "red only while recording";
  const int64_t share = int64_t{app_->state().values.recorded_size} * 100 /
                        app_->state().maximum_message_size;
  // Record itself waits a little, so the time is a second or so longer.
  const QRegularExpression tooltip(
      QString("^Size of recorded file\nRecording for 1:0[5-9], %1% of the "
              "maximum size used$")
          .arg(share));
  EXPECT_TRUE(tooltip.match(recorder_->Label5()->toolTip()).hasMatch())
      << recorder_->Label5()->toolTip().toStdString();
  recorder_->Command(14)->Press();
  QCoreApplication::processEvents();
  EXPECT_EQ(edge(), idle);
  EXPECT_EQ(recorder_->Label5()->toolTip(), "Size of recorded file");
}

using RecorderAudioTest = testing::AppTest;

TEST_F(RecorderAudioTest, NoAudioIsToldAndTheProgramGoesOn) {
  wave_.init_result = -2;
  const double before = clock_.Now();
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 0);
  EXPECT_TRUE(Logged().contains("\tAudio operations are not supported.  "));
  EXPECT_GT(clock_.Now() - before, 2.0) << "time to read it";
}

// The switch is written into the user's own settings file, which keeps
// everything else as it was.
TEST_F(RecorderAudioTest,
       FullDuplexFailureSwitchesToHalfDuplexForTheNextStart) {
  const QByteArray by_hand =
      "; set up by hand\r\n"
      "[Properties]\r\n"
      "UseEmailClient=mutt -s \"Vocapost, message\" -a\r\n"
      "Note=C:\\Program Files\\Mail\\mail.exe, \"x\"\r\n"
      "FullDuplex=1\r\n"
      "; the end";
  const auto path = temp_.config() / "Vocapost Settings.ini";
  temp_.WriteFile(path, by_hand);
  wave_.start_recorder_result = -2;
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 1);
  EXPECT_TRUE(
      Logged().contains("\tFull duplex audio operations are not supported.  "));
  EXPECT_EQ(app_->state().settings.use_email_client,
            "mutt -s \"Vocapost, message\" -a");
  EXPECT_EQ(temp_.ReadFile(path),
            QByteArray(by_hand).replace("FullDuplex=1", "FullDuplex=0"));

  // The next start opens half duplex without a word.
  app_.reset();
  testing::FakeWaveLibrary next_wave;
  next_wave.start_recorder_result = -2;
  app_ = MakeApp(next_wave);
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 2);
  EXPECT_EQ(next_wave.calls, std::vector<QString>{"InitWaveRecorder"});
  EXPECT_EQ(Logged().count("Full duplex"), 1) << "told the first time only";
  app_.reset();
}

}  // namespace
}  // namespace vocapost
