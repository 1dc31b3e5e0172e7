// The Recorder window's buttons and pictures, and what start-up finds.
#include <gtest/gtest.h>

#include <QTest>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/recording_program.h"

namespace vocapost {
namespace {

class RecorderWindowTest : public testing::AppTest {
 protected:
  MKERForm1& recorder() { return *app_->recorder(); }
  qint64 Shown(int picture) {
    return recorder().ImagePicture(picture)->pixmap().cacheKey();
  }
  qint64 Model(int command, QPixmap ButtonPictures::*look) {
    return (recorder().Command(command)->pictures().*look).cacheKey();
  }
};

TEST_F(RecorderWindowTest, StartsWithHighQualityHighSpeedAndItsRecordings) {
  for (const char* name : {"06000000.vrc", "05143012.vrc", "notes.txt"})
    temp_.WriteFile(name, "x");
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::down));
  EXPECT_EQ(Shown(19), Model(21, &ButtonPictures::down));
  EXPECT_EQ(recorder().Combo1()->currentText(), "30000");
  ASSERT_EQ(recorder().File2()->ListCount(), 2);
  EXPECT_EQ(recorder().File2()->List(0), "05143012.vrc");
}

TEST_F(RecorderWindowTest, DisabledRecordShowsPressFeedbackButDoesNotRecord) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  int records = 0;
  recorder().Command(2)->SetHandler([&] { ++records; });
  recorder().show();
  recorder().DisableForActivity();
  EXPECT_EQ(Shown(12), Model(2, &ButtonPictures::disabled));
  QTest::mousePress(recorder().ImagePicture(12), Qt::LeftButton);
  EXPECT_EQ(Shown(12), Model(2, &ButtonPictures::down));
  QTest::mouseRelease(recorder().ImagePicture(12), Qt::LeftButton);
  EXPECT_EQ(Shown(12), Model(2, &ButtonPictures::normal));
  EXPECT_EQ(records, 0);
  recorder().EnableAfterActivity();
  QTest::mouseClick(recorder().ImagePicture(12), Qt::LeftButton);
  EXPECT_EQ(records, 1);
}

// Which buttons work, by number, in their order.
QString Enabled(MKERForm1& recorder, std::initializer_list<int> buttons) {
  QString on;
  for (const int button : buttons)
    on += recorder.Command(button)->isEnabled() ? '1' : '0';
  return on;
}

TEST_F(RecorderWindowTest,
       ActivitySwitchesTheirButtonsOnlyAndRestoresTheQuality) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  const auto buttons = {2, 4, 6, 11, 12, 13, 16, 17, 14, 5, 18, 22, 28};
  recorder().DisableForActivity();
  EXPECT_EQ(Enabled(recorder(), buttons), "0000000011111");
  EXPECT_FALSE(recorder().File1()->isEnabled());
  EXPECT_FALSE(recorder().Combo1()->isEnabled());
  app_->state().values.codec_ratio = 50;
  recorder().EnableAfterActivity();
  EXPECT_EQ(Enabled(recorder(), buttons), "1111111111111");
  EXPECT_EQ(Shown(14), Model(12, &ButtonPictures::down));
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::normal));
  EXPECT_EQ(Shown(13), Model(13, &ButtonPictures::normal));
}

TEST_F(RecorderWindowTest, NoCodecIsToldAndTheAudioOnlyPictureShows) {
  app_->codecs().Uninstall();
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_TRUE(Logged().contains("\tVideo operations are not supported.  "));
  EXPECT_FALSE(recorder().Picture1()->isVisibleTo(&recorder()));
  EXPECT_TRUE(recorder().Picture2()->isVisibleTo(&recorder()));
}

TEST_F(RecorderWindowTest, SetupStartsTheSettingsToolAndEndsOrSaysItIsMissing) {
  const struct {
    const char* file;  // made in the program home
    bool starts;
  } cases[] = {
      {"", true},
      {"setmail.exe", false},  // will not start
      {"setmail.exe", true},   // last: the program ends
  };
  ASSERT_EQ(Start(), StartResult::kRunning);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.file << " " << c.starts);
    presenter_.messages.clear();
    starter_ = {};
    starter_.result = c.starts;
    std::filesystem::remove_all(temp_.home() / "setmail.exe");
    const std::string file = c.file;
    const bool tried = !file.empty();
    if (tried) temp_.WriteFile(file, "#!/bin/sh\n");
    recorder().Command(15)->Press();
    const std::vector<QStringList> started = {{"setmail.exe", "vocapost.exe"}};
    EXPECT_EQ(starter_.started, tried ? started : std::vector<QStringList>{});
    const bool ends = tried && c.starts;
    EXPECT_EQ(ender_.ended, ends);
    const std::vector<QString> missing = {
        "Vocapost Message\tThe SETMAIL.EXE Program Seems To Be Missing."};
    EXPECT_EQ(Texts(), ends ? std::vector<QString>{} : missing);
  }
}

// Send mails through the desktop's composer, the Viewer keeps beside the
// window and Exit ends the program.
TEST_F(RecorderWindowTest, SendMailsTheFileAndExitEndsTheProgram) {
  testing::EnvironmentScope env;
  const auto record = temp_.root() / "composer.args";
  testing::WriteRecordingProgram(temp_.root() / "composer", record);
  env.Set("VOCAPOST_MAIL_COMPOSER", temp_.root() / "composer");
  temp_.WriteFile("05143012.vrc", "message");
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().File2()->SetListIndex(0);
  recorder().Command(25)->Press();
  const auto arguments = testing::RecordedArguments(record);
  ASSERT_TRUE(arguments);
  EXPECT_EQ(arguments->value(1),
            QString::fromStdString((temp_.home() / "05143012.vrc").string()));
  EXPECT_TRUE(arguments->value(3).startsWith(
      "\n\nThe attachment you received is a Vocapost Audio/Video message.\n"));

  app_->viewer()->move(0, 0);
  recorder().Form_Resize();
  EXPECT_EQ(app_->viewer()->x(), recorder().frameGeometry().right() + 1 + 2);
  recorder().Command(5)->Press();
  EXPECT_TRUE(ender_.ended);
}

}  // namespace
}  // namespace vocapost
