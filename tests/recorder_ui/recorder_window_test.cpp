// The Recorder window's controls, image buttons and start-up detection.
#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include "messages/about_form.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/artifacts.h"
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
  QString Message() {
    return app_->messages().error_form()
               ? app_->messages().error_form()->Label1()->text()
               : QString();
  }
};

TEST_F(RecorderWindowTest, EveryControlHasItsNameCaptionAndTooltip) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(recorder().Command(2)->text(), "Record");
  EXPECT_EQ(recorder().Command(14)->toolTip(), "Stop recording or playing");
  EXPECT_EQ(recorder().Command(10)->toolTip(), "Set capture size to 240x180");
  EXPECT_EQ(recorder().Command(15)->text(), "Setup");
  EXPECT_EQ(recorder().Label5()->toolTip(), "Size of recorded file");
  EXPECT_EQ(recorder().Picture2()->toolTip(), "Audio only recording");
  EXPECT_EQ(
      recorder().File2()->toolTip(),
      "Previous recordings:  Right click to view send options.  Drag enabled.");
  for (int picture = 10; picture <= 29; ++picture) {
    EXPECT_NE(
        recorder().findChild<ImageButton*>(QString("Picture%1").arg(picture)),
        nullptr)
        << picture;
  }
  EXPECT_EQ(recorder().ImagePicture(29)->toolTip(),
            "Send selected file w/ viewer via e-mail.  Recipient needs viewer "
            "only once to view "
            "subsequent .vrc files.");
  EXPECT_EQ(recorder().ImagePicture(20)->toolTip(), "Exit program");
}

TEST_F(RecorderWindowTest,
       StartsWithHighQualityHighSpeedAndThirtyThousandBytes) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::down));
  EXPECT_EQ(Shown(19), Model(21, &ButtonPictures::down));
  EXPECT_EQ(Shown(14), Model(12, &ButtonPictures::normal));
  EXPECT_EQ(Shown(12), Model(2, &ButtonPictures::normal));
  EXPECT_EQ(recorder().Combo1()->currentText(), "30000");
  EXPECT_EQ(recorder().Combo1()->count(), 4);
  EXPECT_EQ(recorder().File2()->pattern(), "*.vrc");
  EXPECT_EQ(recorder().File1()->ListCount(), 0);
  EXPECT_EQ(recorder().File1()->ListIndex(), -1);
}

TEST_F(RecorderWindowTest, PreviousRecordingsAreListedByName) {
  for (const char* name : {"06000000.vrc", "05143012.vrc", "notes.txt"})
    temp_.WriteFile(name, "x");
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(recorder().File2()->ListCount(), 2);
  EXPECT_EQ(recorder().File2()->List(0), "05143012.vrc");
  EXPECT_EQ(recorder().File2()->List(1), "06000000.vrc");
}

TEST_F(RecorderWindowTest, WindowSnapsBackToItsSizeButNotWhileMinimised) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  QCoreApplication::processEvents();
  recorder().resize(400, 200);
  EXPECT_EQ(recorder().frameGeometry().size(), QSize(184, 437));
  recorder().showMinimized();
  recorder().resize(300, 300);
  EXPECT_EQ(recorder().size(), QSize(300, 300)) << "left alone while minimised";
  recorder().showNormal();
  recorder().Form_Resize();
  EXPECT_EQ(recorder().frameGeometry().size(), QSize(184, 437));
}

TEST_F(RecorderWindowTest, UntilAFrameIsReportedTheClientAreaIsTheDesignedOne) {
  temp_.WriteFile("m.vrc", "WAV0      ");
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  ASSERT_FALSE(recorder().isVisible())
      << "a launch's playback shows no Recorder";
  EXPECT_EQ(recorder().size(), QSize(176, 410));  // 2640 x 6150 twips
  recorder().resize(300, 300);
  recorder().Form_Resize();
  EXPECT_EQ(recorder().size(), QSize(176, 410));
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

TEST_F(RecorderWindowTest, DisabledQualityPictureDoesNothing) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  int presses = 0;
  recorder().Command(13)->SetHandler([&] { ++presses; });
  recorder().show();
  recorder().DisableForActivity();
  const qint64 before = Shown(13);
  QTest::mouseClick(recorder().ImagePicture(13), Qt::LeftButton);
  EXPECT_EQ(presses, 0);
  EXPECT_EQ(Shown(13), before) << "radio pictures give no press feedback";
}

TEST_F(RecorderWindowTest,
       ActivitySwitchesTheirButtonsOnlyAndRestoresTheQuality) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().DisableForActivity();
  for (const int off : {2, 4, 16, 17, 6, 7, 8, 9, 10, 11, 12, 13}) {
    EXPECT_FALSE(recorder().Command(off)->isEnabled()) << off;
  }
  for (const int on : {14, 5, 18, 19, 20, 21, 22, 28}) {
    EXPECT_TRUE(recorder().Command(on)->isEnabled()) << on;
  }
  EXPECT_FALSE(recorder().File1()->isEnabled());
  EXPECT_FALSE(recorder().Combo1()->isEnabled());
  app_->state().values.codec_ratio = 50;
  recorder().EnableAfterActivity();
  EXPECT_EQ(Shown(14), Model(12, &ButtonPictures::down));
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::normal));
  EXPECT_EQ(Shown(13), Model(13, &ButtonPictures::normal));
  for (const int on : {2, 4, 5, 16, 17, 6, 10, 11, 13}) {
    EXPECT_TRUE(recorder().Command(on)->isEnabled()) << on;
  }
}

TEST_F(RecorderWindowTest, WithoutCaptureStopLeavesSizeAndQualityOff) {
  camera_.LimitFormats({{999, 999, 0}});
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().DisableForActivity();
  recorder().EnableAfterActivity();
  for (const int on : {2, 4, 5, 16, 17})
    EXPECT_TRUE(recorder().Command(on)->isEnabled()) << on;
  EXPECT_TRUE(recorder().File2()->isEnabled());
  EXPECT_TRUE(recorder().Combo1()->isEnabled());
  for (const int off : {6, 8, 10, 11, 12, 13}) {
    EXPECT_FALSE(recorder().Command(off)->isEnabled()) << off;
  }
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::disabled));
}

TEST_F(RecorderWindowTest, NoCodecIsToldAndAudioGoesOn) {
  app_->codecs().Uninstall();
  QImage picture(32, 16, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  ASSERT_TRUE(picture.save(
      QString::fromStdString((temp_.home() / "firsview.bmp").string()), "BMP"));
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().video.video_state, 0);
  EXPECT_TRUE(Logged().contains("\tVideo operations are not supported.  "));
  EXPECT_TRUE(recorder().Picture2()->isVisibleTo(&recorder()));
  EXPECT_FALSE(recorder().Picture1()->isVisibleTo(&recorder()));
  EXPECT_FALSE(recorder().Picture2()->pixmap().isNull())
      << "firsview.bmp in its place";
}

TEST_F(RecorderWindowTest, MissingAudioOnlyPictureLeavesItEmpty) {
  camera_.LimitFormats({{999, 999, 0}});
  std::filesystem::remove(temp_.root() / "shipped" / "firsview.bmp");
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_TRUE(recorder().Picture2()->pixmap().isNull());
}

TEST_F(RecorderWindowTest, MessageFileLaunchWithoutCameraShowsNoVideoMessage) {
  camera_.LimitFormats({{999, 999, 0}});
  temp_.WriteFile("m.vrc", "WAV0      ");
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  EXPECT_EQ(app_->state().video.video_state, 1);
  EXPECT_FALSE(Logged().contains("Video"));
}

TEST_F(RecorderWindowTest, ButtonsClearThePackageListButFileButtonsDoNot) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  temp_.WriteFile("voca-MSGx.exe", "x");
  recorder().File3()->SetPattern("voca-MSGx.exe");
  recorder().Label(2)->show();
  recorder().Command(22)->Press();
  EXPECT_EQ(recorder().File3()->ListCount(), 1);
  recorder().Command(4)->Press();
  EXPECT_EQ(recorder().File3()->ListCount(), 0);
  EXPECT_FALSE(recorder().Label(2)->isVisibleTo(&recorder()));
}

TEST_F(RecorderWindowTest, ExitButtonEndsTheProgramThroughTheViewer) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().show();
  QTest::mouseClick(recorder().ImagePicture(20), Qt::LeftButton);
  EXPECT_TRUE(ender_.ended);
  EXPECT_FALSE(app_->viewer()->Timer1()->isActive());
}

TEST_F(RecorderWindowTest,
       SetupStartsTheSettingsProgramAndEndsOrSaysItIsMissing) {
  const QString missing =
      "Vocapost Message\tThe SETMAIL.EXE Program Seems To Be Missing.";
  struct Case {
    const char* what;
    const char* file;  // made in the program home; a folder when it ends in /
    bool starts;
    bool ends;
  };
  const Case cases[] = {
      {"no tool", "", true, false},
      {"a folder of that name", "setmail.exe/", true, false},
      {"tool that will not start", "setmail.exe", false, false},
      {"tool present", "setmail.exe", true, true},  // last: the program ends
  };
  ASSERT_EQ(Start(), StartResult::kRunning);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    presenter_.messages.clear();
    starter_ = {};
    starter_.result = c.starts;
    std::filesystem::remove_all(temp_.home() / "setmail.exe");
    const std::string file = c.file;
    if (file.ends_with('/')) {
      std::filesystem::create_directories(temp_.home() / file);
    } else if (!file.empty()) {
      temp_.WriteFile(file, "#!/bin/sh\n");
    }
    recorder().Command(15)->Press();
    const bool tried = !file.empty() && !file.ends_with('/');
    ASSERT_EQ(starter_.started.size(), tried ? 1u : 0u);
    if (tried) {
      EXPECT_EQ(starter_.started[0],
                QStringList({"setmail.exe", "vocapost.exe"}));
    }
    EXPECT_EQ(ender_.ended, c.ends);
    EXPECT_EQ(Texts(),
              c.ends ? std::vector<QString>{} : std::vector<QString>{missing});
  }
}

TEST_F(RecorderWindowTest, AboutOpensBesideTheRecorder) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().Command(17)->Press();
  recorder().Command(17)->Press();
  ASSERT_NE(app_->about_form(), nullptr);
  EXPECT_TRUE(app_->about_form()->isVisible());
  EXPECT_EQ(app_->about_form()->x(),
            recorder().frameGeometry().right() + 1 + 2);
  EXPECT_EQ(app_->about_form()->y(), recorder().y());
}

TEST_F(RecorderWindowTest, ScreenshotShowsTheLivePictureAndBothPanels) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  for (int i = 0; i < 5; ++i) {
    app_->video().CompressCurrentFrame();
    QCoreApplication::processEvents();
  }
  const QImage shot = recorder().grab().toImage();
  EXPECT_TRUE(testing::SaveArtifact(recorder(), "recorder-idle"));
  // The live picture has many colours; the panels show their buttons.
  const QRect video = recorder().Picture1()->geometry().adjusted(8, 8, -8, -8);
  QSet<QRgb> colours;
  for (int y = video.top(); y < video.bottom(); y += 4) {
    for (int x = video.left(); x < video.right(); x += 4)
      colours.insert(shot.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 20);
  const QPoint record =
      recorder().ImagePicture(12)->mapTo(&recorder(), QPoint(10, 10));
  const QPoint exit =
      recorder().ImagePicture(20)->mapTo(&recorder(), QPoint(10, 10));
  EXPECT_NE(shot.pixel(record), shot.pixel(QPoint(record.x(), 2)));
  EXPECT_NE(QColor(shot.pixel(exit)).red(), QColor(shot.pixel(exit)).blue())
      << "coloured";
}

TEST_F(RecorderWindowTest, SendPictureMailsTheCurrentRecording) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  testing::EnvironmentScope env;
  const auto record = temp_.root() / "composer.args";
  testing::WriteRecordingProgram(temp_.root() / "composer", record);
  env.Set("VOCAPOST_MAIL_COMPOSER", temp_.root() / "composer");
  recorder().show();
  QTest::mouseClick(recorder().ImagePicture(24), Qt::LeftButton);
  EXPECT_EQ(Message(), "No file selected");
  EXPECT_EQ(app_->messages().error_form()->windowTitle(), "Vocapost Message");

  temp_.WriteFile("05143012.vrc", "message");
  recorder().ShowNewRecording("05143012.vrc");
  QTest::mouseClick(recorder().ImagePicture(24), Qt::LeftButton);
  const auto arguments = testing::RecordedArguments(record);
  ASSERT_TRUE(arguments);
  ASSERT_EQ(arguments->size(), 4);
  EXPECT_EQ(arguments->at(1),
            QString::fromStdString((temp_.home() / "05143012.vrc").string()));
  EXPECT_TRUE(arguments->at(3).startsWith(
      "\n\nThe attachment you received is a Vocapost Audio/Video message.\n"));
  EXPECT_EQ(app_->messages().error_form(), nullptr);
}

}  // namespace
}  // namespace vocapost
