#include "recorder_ui/mker_form1.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QTest>

#include "player/viewer.h"
#include "recorder_ui/button_art.h"
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

TEST_F(RecorderTest, LoadsAtItsSizeCentredWithItsTimer) {
  EXPECT_EQ(recorder_->windowTitle(), "Vocapost");
  QCoreApplication::processEvents();
  // The platform reports a frame: the outer window is 2760 x 6555 twips.
  EXPECT_EQ(recorder_->frameGeometry().size(), QSize(184, 437));
  EXPECT_NE(recorder_->size(), QSize(184, 437));
  EXPECT_EQ(recorder_->Timer1()->interval(), 500);
  EXPECT_TRUE(recorder_->Timer1()->isActive());
}

TEST_F(RecorderTest, EndRequestEndsThisCopyWithItsAnswer) {
  temp_.WriteFile("pop.txt", "pop");
  temp_.WriteFile("popshow.txt", "popshow");
  recorder_->Timer1_Timer();
  EXPECT_TRUE(ender_.ended);
  EXPECT_FALSE(Exists("pop.txt"));
  EXPECT_TRUE(Exists("popshow.txt")) << "an ending copy leaves other requests";
  EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
  EXPECT_FALSE(Exists("popstop.txt"));
  EXPECT_EQ(app_->state().launch.exit_on_request, 1);
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

TEST_F(RecorderTest, RequestsAreIgnoredOnceAnEndWasAsked) {
  app_->state().launch.exit_on_request = 1;
  temp_.WriteFile("pop.txt", "pop");
  recorder_->Timer1_Timer();
  EXPECT_TRUE(Exists("pop.txt"));
  EXPECT_FALSE(ender_.ended);
}

TEST_F(RecorderTest, ClosingTheWindowEndsTheProgram) {
  recorder_->close();
  EXPECT_TRUE(ender_.ended);
  EXPECT_EQ(app_->state().launch.recorder_closing, 1);
  EXPECT_EQ(app_->state().launch.recorder_loaded, 0);
  EXPECT_EQ(app_->state().launch.viewer_ready, 0);
  EXPECT_FALSE(Exists("popstop.txt"));
}

TEST_F(RecorderTest, EverySecondMessageComesInFrontOfTheRecorder) {
  QString& title = app_->state().messages.message_title;
  app_->messages().ShowMessageForm("first", 0, title);
  ErrorForm1* form = app_->messages().error_form();
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  recorder_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(recorder_));
  app_->messages().ShowMessageForm("Recording, Please Stop First", 0, title);
  EXPECT_EQ(app_->messages().error_form(), form);
  EXPECT_TRUE(QTest::qWaitForWindowActive(form));
  EXPECT_EQ(QApplication::activeWindow(), form);
}

class RecorderAudioTest : public testing::AppTest {
 protected:
  QString Shown() {
    return app_->messages().error_form()
               ? app_->messages().error_form()->Label1()->text()
               : QString();
  }
};

TEST_F(RecorderAudioTest, WorkingAudioGivesNoMessage) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 2);
  EXPECT_EQ(Shown(), "");
}

TEST_F(RecorderAudioTest, NoAudioIsToldAndTheProgramGoesOn) {
  wave_.init_result = -2;
  const double before = clock_.Now();
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 0);
  EXPECT_TRUE(Logged().contains("\tAudio operations are not supported.  "));
  EXPECT_GT(clock_.Now() - before, 2.0) << "time to read it";
  EXPECT_TRUE(app_->recorder()->isVisible());
}

TEST_F(RecorderAudioTest,
       FullDuplexFailureSwitchesToHalfDuplexForTheNextStart) {
  wave_.start_recorder_result = -2;
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 1);
  EXPECT_TRUE(
      Logged().contains("\tFull duplex audio operations are not supported.  "));
  EXPECT_EQ(settings_.Get(kSettingsApplication, kSettingsSection, "FullDuplex"),
            QString("0"));
  EXPECT_EQ(app_->state().settings.full_duplex, 1)
      << "this run keeps what it read";

  // The next start opens half duplex without a word.
  app_.reset();
  testing::FakeWaveLibrary next_wave;
  next_wave.start_recorder_result = -2;
  app_ = MakeApp(next_wave);
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().audio.audio_capability, 2);
  EXPECT_EQ(next_wave.calls, std::vector<QString>{"InitWaveRecorder"});
  EXPECT_EQ(Shown(), "");
  app_.reset();
}

TEST_F(RecorderAudioTest, HalfDuplexWriteKeepsAHandWrittenSettingsFile) {
  const QByteArray by_hand =
      "; set up by hand\r\n"
      "[Properties]\r\n"
      "UseEmailClient=mutt -s \"Vocapost, message\" -a\r\n"
      "recordtomemory=1\r\n"
      "Note=C:\\Program Files\\Mail\\mail.exe, \"x\"\r\n"
      "FullDuplex=1\r\n"
      "; the end";
  const auto path = temp_.config() / "Vocapost Settings.ini";
  temp_.WriteFile(path, by_hand);
  wave_.start_recorder_result = -2;
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().settings.use_email_client,
            "mutt -s \"Vocapost, message\" -a");
  EXPECT_EQ(app_->state().maximum_message_size, 1048576);
  EXPECT_EQ(temp_.ReadFile(path),
            QByteArray(by_hand).replace("FullDuplex=1", "FullDuplex=0"));
}

TEST(ButtonArtTest, EachLookIsItsOwnCrispPicture) {
  const QSize size(22, 22);
  const QImage normal =
      ButtonPicture(ButtonGlyph::kStop, ButtonLook::kNormal, size, 2).toImage();
  const QImage down =
      ButtonPicture(ButtonGlyph::kStop, ButtonLook::kDown, size, 2).toImage();
  const QImage disabled =
      ButtonPicture(ButtonGlyph::kStop, ButtonLook::kDisabled, size, 2)
          .toImage();
  const QImage exit =
      ButtonPicture(ButtonGlyph::kExit, ButtonLook::kNormal, size, 2).toImage();
  EXPECT_EQ(normal.size(), QSize(44, 44));
  EXPECT_NE(normal, down);
  EXPECT_NE(normal, disabled);
  EXPECT_NE(normal, exit);
  // The disabled look has no colour.
  const QColor centre = disabled.pixelColor(22, 22);
  EXPECT_EQ(centre.red(), centre.green());
  EXPECT_EQ(centre.green(), centre.blue());
}

}  // namespace
}  // namespace vocapost
