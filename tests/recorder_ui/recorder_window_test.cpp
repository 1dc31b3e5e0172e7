// The Recorder window: start-up, requests, buttons, pictures, the frame
// size and quality, and the file lists.
#include <gtest/gtest.h>

#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/recording_program.h"

namespace vocapost {
namespace {

class RecorderTest : public testing::AppTest {
 protected:
  void Run() { ASSERT_EQ(Start(), StartResult::kRunning); }
  qint64 Shown(int picture) {
    return recorder().ImagePicture(picture)->pixmap().cacheKey();
  }
  qint64 Model(int command, QPixmap ButtonPictures::*look) {
    return (recorder().Command(command)->pictures().*look).cacheKey();
  }
  // Which buttons work, by number, in their order.
  QString Enabled(std::initializer_list<int> buttons) {
    QString on;
    for (const int button : buttons)
      on += recorder().Command(button)->isEnabled() ? '1' : '0';
    return on;
  }
};

// Without sound, without full duplex (the next start opens half duplex
// without a word) or without a codec the program says so and goes on;
// closing the window then ends it.
TEST_F(RecorderTest, MissingDevicesAreToldAndTheProgramGoesOn) {
  const struct {
    int16_t init, start_recorder, codec, capability;
    const char* told;
  } cases[] = {
      {-2, 0, 1, 0, "\tAudio operations are not supported.  "},
      {0, -2, 1, 1, "\tFull duplex audio operations are not supported.  "},
      {0, -2, 0, 2, "\tVideo operations are not supported.  "},
  };
  testing::FakeWaveLibrary waves[3];
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(cases[i].told);
    waves[i].init_result = cases[i].init;
    waves[i].start_recorder_result = cases[i].start_recorder;
    app_.reset();
    app_ = MakeApp(waves[i]);
    if (cases[i].codec == 0) app_->codecs().Uninstall();
    Run();
    EXPECT_EQ(app_->state().audio.audio_capability, cases[i].capability);
    EXPECT_TRUE(Logged().contains(cases[i].told));
  }
  EXPECT_EQ(Logged().count("Full duplex"), 1) << "told the first time only";
  EXPECT_TRUE(recorder().Picture2()->isVisibleTo(&recorder()));
  recorder().close();
  EXPECT_TRUE(ender_.ended);
  app_.reset();
}

// A show request restores a minimised window; an end request ends this copy
// with its answer, unless it is ending already, and leaves other requests.
TEST_F(RecorderTest, ShowAndEndRequests) {
  Run();
  recorder().showMinimized();
  temp_.WriteFile("popshow.txt", "popshow");
  recorder().Timer1_Timer();
  EXPECT_FALSE(recorder().isMinimized());
  app_->state().launch.exit_on_request = 1;  // an end already asked for
  temp_.WriteFile("pop.txt", "pop");
  recorder().Timer1_Timer();
  EXPECT_FALSE(ender_.ended);
  app_->state().launch.exit_on_request = 0;
  temp_.WriteFile("popshow.txt", "popshow");
  recorder().Timer1_Timer();
  EXPECT_TRUE(ender_.ended);
  EXPECT_TRUE(Exists("popshow.txt"));
  EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
}

// The window's edges turn red while it records, and the size's tooltip
// tells how long and how much of the limit.
TEST_F(RecorderTest, RecordingShowsRedEdgesAndItsProgress) {
  Run();
  recorder().show();
  const auto edge = [this] {
    const QImage shot = recorder().grab().toImage();
    return QColor::fromRgb(shot.pixel(shot.width() / 2, 5));
  };
  const QColor idle = edge();
  recorder().Command(2)->Press();
  app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, 101, {});
  clock_.Advance(65);
  app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, 102, {});
  EXPECT_GT(edge().red(), 150);
  EXPECT_LT(idle.red(), 90) << "red only while recording";
  // Record itself waits a little, so the time is a second or so longer.
  EXPECT_TRUE(recorder().Label5()->toolTip().contains(QRegularExpression(
      "^Size of recorded file\nRecording for 1:0[5-9], \\d+% of the maximum "
      "size used$")));
  recorder().Command(14)->Press();
  EXPECT_EQ(edge(), idle);
}

// Start-up shows high quality and the highest speed. An activity switches
// off its buttons only, Record still shows its press; after it the quality
// shown is the one in use.
TEST_F(RecorderTest, ActivitySwitchesTheirButtonsOnlyAndRestoresTheQuality) {
  Run();
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::down));
  EXPECT_EQ(Shown(19), Model(21, &ButtonPictures::down));
  EXPECT_EQ(recorder().Combo1()->currentText(), "30000");
  int records = 0;
  recorder().Command(2)->SetHandler([&] { ++records; });
  recorder().show();
  const auto buttons = {2, 4, 6, 11, 12, 13, 16, 17, 14, 5, 18, 22, 28};
  recorder().DisableForActivity();
  EXPECT_EQ(Enabled(buttons), "0000000011111");
  QTest::mousePress(recorder().ImagePicture(12), Qt::LeftButton);
  EXPECT_EQ(Shown(12), Model(2, &ButtonPictures::down));
  QTest::mouseRelease(recorder().ImagePicture(12), Qt::LeftButton);
  EXPECT_EQ(records, 0);
  app_->state().values.codec_ratio = 50;
  recorder().EnableAfterActivity();
  EXPECT_EQ(Enabled(buttons), "1111111111111");
  EXPECT_EQ(Shown(14), Model(12, &ButtonPictures::down));
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::normal));
  QTest::mouseClick(recorder().ImagePicture(12), Qt::LeftButton);
  EXPECT_EQ(records, 1);
}

// Setup hands over to the settings tool and ends; without the tool, or when
// it will not start, it says so.
TEST_F(RecorderTest, SetupStartsTheSettingsToolAndEndsOrSaysItIsMissing) {
  Run();
  temp_.WriteFile("setmail.exe", "#!/bin/sh\n");
  for (const bool starts : {false, true}) {
    starter_.result = starts;
    recorder().Command(15)->Press();
    EXPECT_EQ(starter_.started.back(),
              (QStringList{"setmail.exe", "vocapost.exe"}));
    EXPECT_EQ(ender_.ended, starts);
  }
  EXPECT_EQ(Texts(), std::vector<QString>{"Vocapost Message\tThe SETMAIL.EXE "
                                          "Program Seems To Be Missing."});
}

// Send mails through the desktop's composer and Exit ends the program.
TEST_F(RecorderTest, SendMailsTheFileAndExitEndsTheProgram) {
  testing::EnvironmentScope env;
  const auto record = temp_.root() / "composer.args";
  testing::WriteRecordingProgram(temp_.root() / "composer", record);
  env.Set("VOCAPOST_MAIL_COMPOSER", temp_.root() / "composer");
  temp_.WriteFile("05143012.vrc", "message");
  Run();
  recorder().File2()->SetListIndex(0);
  recorder().Command(25)->Press();
  const auto arguments = testing::RecordedArguments(record);
  ASSERT_TRUE(arguments);
  EXPECT_EQ(arguments->value(1),
            QString::fromStdString((temp_.home() / "05143012.vrc").string()));
  recorder().Command(5)->Press();
  EXPECT_TRUE(ender_.ended);
}

// Each quality button stores its codec ratio, and a key frame of the moving
// test picture is the smaller the higher the ratio.
TEST_F(RecorderTest, QualityButtonsStoreTheRatioTheCodecUses) {
  Run();
  const std::pair<int, uint32_t> ratios[] = {{12, 50}, {13, 100}, {11, 25}};
  int32_t bytes[3];  // medium, low, high
  for (int i = 0; i < 3; ++i) {
    recorder().Command(ratios[i].first)->Press();
    EXPECT_EQ(registry_store_.GetDword(kCodecKey, "Ratio"), ratios[i].second);
    app_->state().values.force_key_frame = 1;
    bytes[i] = app_->video().CompressCurrentFrame();
  }
  // The moving picture alone changes a key frame by less than half.
  EXPECT_GT(bytes[1], 48) << "a frame, not its header alone";
  EXPECT_LT(2 * bytes[1], bytes[0]);
  EXPECT_LT(2 * bytes[1], bytes[2]);
}

// A size the device refuses is told and not applied; a chosen size is
// applied only to a normal window. The zoom label is the shown width, the
// picture's and its border's ((160 + 4) x 15 twips), over the recorded one.
TEST_F(RecorderTest, SizesAreAppliedWhenSupportedAndShowTheirZoom) {
  Run();
  app_->state().video.size_supported[0] = 0;
  recorder().Command(6)->Press();
  EXPECT_TRUE(Logged().contains(
      "\tYou video capture device does not support capture at this size.\n"));
  EXPECT_EQ(app_->state().video.capture_width, 160);
  app_->state().values.chosen_width = 80;
  app_->state().values.chosen_height = 60;
  recorder().showMinimized();
  recorder().ApplyChosenFrameSize();
  EXPECT_EQ(app_->state().video.applied_width, 160);
  recorder().showNormal();
  recorder().ApplyChosenFrameSize();
  EXPECT_EQ(app_->state().video.capture_width, 80);
  app_->state().activity.recorded_width_twips = 3600;
  recorder().Command(8)->Press();
  EXPECT_EQ(app_->viewer()->Label1()->text(), ".7");
}

// The file lists' buttons, menus and refreshes.
class FileListsTest : public RecorderTest {
 protected:
  void SetUp() override {
    temp_.WriteFile("vocap.exe", QByteArray(14336, '#'));
    temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
    temp_.WriteFile("06000000.vrc", QByteArray(2100, 'n'));
    Run();
    recorder().SetSendFile([this](const QString& name) { sent_ << name; });
    recorder().show();
  }
  void SelectAll() {
    recorder().File1()->SetPattern("05143012.vrc");
    recorder().File1()->SetListIndex(0);
    recorder().File2()->SetListIndex(1);  // 06000000.vrc
    recorder().File3()->SetPattern("vocap.exe");
    recorder().File3()->SetListIndex(0);
  }
  QStringList sent_;
};

TEST_F(FileListsTest, FileButtonsNeedASelectionAndActOnTheSelectedFile) {
  // A button without a selection only says so.
  recorder().Command(27)->Press();
  SelectAll();
  recorder().findChild<QAction*>("mnuSendMake")->trigger();
  EXPECT_EQ(sent_.takeFirst(), "05143012.vrc");
  const std::pair<int, QString> cases[] = {
      // What each button did, with every list selected.
      {22, "package voca-MSG05143012.exe"}, {23, "sent 05143012.vrc"},
      {24, "package voca-MSG06000000.exe"}, {25, "sent 06000000.vrc"},
      {26, "playing 2100 bytes"},           {28, "sent vocap.exe"},
      {27, "deleted 06000000.vrc"},  // last: the file is gone
  };
  for (const auto& [command, what] : cases) {
    SelectAll();
    recorder().Command(command)->Press();
    QString done;
    if (!sent_.isEmpty()) done = "sent " + sent_.takeFirst();
    if (app_->state().activity.is_playing == 1) {
      done =
          QString("playing %1 bytes").arg(app_->player().message_file_length());
      recorder().Command14()->Press();
    }
    if (recorder().File3()->pattern().startsWith("voca-MSG"))
      done = "package " + recorder().File3()->SelectedName();
    if (!Exists("06000000.vrc")) done = "deleted 06000000.vrc";
    EXPECT_EQ(done, what) << command;
  }
  // A package of a file gone meanwhile is refused in the message window.
  recorder().File2()->SetListIndex(0);
  std::filesystem::remove(temp_.home() / "05143012.vrc");
  recorder().Command(24)->Press();
  EXPECT_EQ(Logged(),
            "Vocapost Message\tNo file selected\n"
            "Vocapost Message\tRecordedfile does not exist.\n");
  EXPECT_TRUE(presenter_.messages.empty()) << "not a modal box";
}

// A right click or Shift+F10 opens a list's menu naming the file; all but
// the package list's clear the package list, as does choosing a speed.
TEST_F(FileListsTest, MenusNameTheFileAndClearPackages) {
  SelectAll();
  QTest::mouseClick(recorder().File2()->viewport(), Qt::RightButton, {},
                    QPoint(5, 5));
  ASSERT_TRUE(recorder().mnuDelete()->isVisible());
  QStringList captions;
  for (QAction* item : recorder().mnuDelete()->actions())
    captions << item->text();
  EXPECT_EQ(captions.join('|'),
            "C&reate file /w viewer|&Play 06000000.vrc|&Delete 06000000.vrc|"
            "&Send 06000000.vrc|&Cancel|Export as WebM…");
  recorder().mnuDelete()->hide();
  EXPECT_EQ(recorder().File3()->pattern(), "*.goo");
  for (FileList* list : {recorder().File1(), recorder().File3()}) {
    SelectAll();
    const bool packages = list == recorder().File3();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = packages ? recorder().mnuOutlook() : recorder().mnuMake();
    ASSERT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_EQ(recorder().File3()->pattern(), packages ? "vocap.exe" : "*.goo");
  }
  emit recorder().Combo1()->activated(1);
  EXPECT_EQ(recorder().File3()->pattern(), "*.goo");
  // Other keys move in the list as ever.
  QTest::keyClick(recorder().File2(), Qt::Key_Up);
  EXPECT_EQ(recorder().File2()->SelectedName(), "05143012.vrc");
  std::unique_ptr<QMimeData> text(recorder().Text1()->DragData());
  EXPECT_TRUE(text->text().contains("  https://vocapost.org\r\n"));
}

TEST_F(FileListsTest, DoubleClickPlaysButNotWhilePlaying) {
  QListWidget* list = recorder().File2();
  const QPoint first = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
  ASSERT_EQ(app_->state().activity.is_playing, 1);
  const int32_t length = app_->player().message_file_length();
  list->setEnabled(true);
  recorder().File2()->SetListIndex(1);
  recorder().File2_DblClick();
  EXPECT_EQ(app_->state().launch.selected_play_file, "");
  EXPECT_EQ(app_->player().message_file_length(), length);
}

TEST_F(FileListsTest, ListsFollowTheFolderAndKeepTheirSelection) {
  recorder().File2()->SetListIndex(1);
  temp_.WriteFile("07000000.vrc", "x");
  temp_.WriteFile("pop.txt", "x");
  QTRY_COMPARE_WITH_TIMEOUT(recorder().File2()->ListCount(), 3, 1000);
  EXPECT_EQ(recorder().File2()->SelectedName(), "06000000.vrc");
  EXPECT_EQ(recorder().File1()->ListCount(), 0) << "its pattern stays";
}

}  // namespace
}  // namespace vocapost
