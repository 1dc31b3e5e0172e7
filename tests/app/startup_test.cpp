#include "app/startup.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "app/launch_selection.h"
#include "message/message_reader.h"
#include "messages/about_form.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

using testing::AppTest;

class StartupTest : public AppTest {
 protected:
  const LaunchState& launch() { return app_->state().launch; }
  // Another running copy of the program, as the registry sees it.
  std::unique_ptr<WindowRegistry> OtherCopy() {
    auto other = std::make_unique<WindowRegistry>(registry_dir());
    other->Publish({"Vocapost "});
    return other;
  }
  // A message of three sound records; the fake wave library never gives a
  // block back, so it plays for as long as the test runs.
  void WriteMessage(const std::string& name) {
    const QByteArray record = "WAV1105   " + QByteArray(1105, '\x11');
    temp_.WriteFile(name, record + record + record);
  }
};

TEST_F(StartupTest, PlainLaunchIsRecorderMode) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_TRUE(presenter_.messages.empty());
  ASSERT_NE(app_->recorder(), nullptr);
  EXPECT_TRUE(app_->recorder()->isVisible());
  EXPECT_FALSE(app_->viewer()->isVisible());
  EXPECT_TRUE(launch().message_form_shown);
  EXPECT_FALSE(app_->message_form()->isVisible()) << "hidden again at the end";
  EXPECT_EQ(launch().recorder_loaded, 1);
  EXPECT_EQ(launch().viewer_ready, 1);
  EXPECT_EQ(launch().exit_enabled, 1);
  EXPECT_EQ(launch().return_to_recorder, 0);
  EXPECT_TRUE(launch().play_file_name.isEmpty());
  EXPECT_FALSE(Exists("popplay.txt"));
}

TEST_F(StartupTest, StartUpValuesAreSetForTheOtherParts) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  const StartupValues& v = app_->state().values;
  EXPECT_EQ(v.codec_ratio, 25);
  EXPECT_EQ(v.display_width, 160);
  EXPECT_EQ(v.display_height, 120);
  EXPECT_EQ(v.chosen_width, 160);
  EXPECT_EQ(v.chosen_height, 120);
  EXPECT_EQ(v.force_key_frame, 0);
  EXPECT_EQ(v.viewer_offset, 240);
  EXPECT_EQ(v.recorder_height, 6555);
  EXPECT_EQ(v.recorder_width, 2760);
  EXPECT_EQ(v.picture_top, 195);
  EXPECT_EQ(v.smallest_viewer_width, 1350);
  EXPECT_EQ(v.data_rate_budget, 2400.0f);
  EXPECT_EQ(v.product_name, "Vocapost");
  EXPECT_EQ(app_->state().maximum_message_size, 2000000);
  EXPECT_EQ(app_->state().messages.viewer_message_title, "Vocapost Message");
  const ExtraTexts& texts = app_->state().extra_texts;
  EXPECT_EQ(app_->state().extra_text_count, 12);
  EXPECT_TRUE(texts[0].isEmpty());
  EXPECT_EQ(texts[1],
            "The attachment you received is a Vocapost Audio/Video message.");
  EXPECT_TRUE(texts[5].startsWith("Get full Vocapost recorder package:  "));
  EXPECT_EQ(texts[10], "C&reate file /w viewer");
  EXPECT_EQ(texts[12],
            "Please wait until special Vocapost text message is added for your "
            "recipient.");
  EXPECT_TRUE(texts[13].isEmpty());
}

TEST_F(StartupTest, WindowsAreReadyAfterStartUp) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  Viewer& viewer = *app_->viewer();
  EXPECT_EQ(viewer.windowTitle(), "Vocapost ");
  EXPECT_EQ(viewer.Timer1()->interval(), 50);
  EXPECT_TRUE(viewer.Timer1()->isActive());
  EXPECT_EQ(viewer.Label1()->text(), "1.0");
  EXPECT_TRUE(viewer.Command6()->isEnabled());
  EXPECT_FALSE(viewer.Command6()->isVisibleTo(&viewer));
  EXPECT_EQ(viewer.Command6()->x(), 0);
  EXPECT_EQ(viewer.Picture5()->toolTip(), "Exit Program");
  EXPECT_EQ(viewer.Picture6()->toolTip(), "Stop playing");
  EXPECT_EQ(viewer.Picture5()->pixmap().cacheKey(),
            viewer.Command6()->pictures().normal.cacheKey());
  EXPECT_EQ(app_->recorder()->Timer1()->interval(), 500);
  ASSERT_NE(app_->about_form(), nullptr);
  EXPECT_FALSE(app_->about_form()->isVisible());
  EXPECT_EQ(app_->about_form()->width(), 162);  // 2430 twips
}

TEST_F(StartupTest, MessageFormProcedureIsReplacedAndRestoredAtTheEnd) {
  std::vector<uint32_t> passed_on;
  app_->SetProcedureFactory([&](WindowProcedure previous) {
    return [&passed_on, previous](uint32_t m, uintptr_t w, intptr_t l) {
      if (m == 0x3C0) return intptr_t{7};
      passed_on.push_back(m);
      return previous(m, w, l);
    };
  });
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->message_form()->CallProcedure(0x3C0, 0, 0), 7);
  EXPECT_EQ(app_->message_form()->CallProcedure(0x10, 0, 0), 0);
  EXPECT_EQ(passed_on, std::vector<uint32_t>{0x10});
  app_->viewer()->Command6()->Press();
  EXPECT_TRUE(ender_.ended);
  EXPECT_EQ(app_->message_form()->CallProcedure(0x3C0, 0, 0), 0);
}

TEST_F(StartupTest, SetupLaunchShowsLoadingForFiveSecondsThenClosesIt) {
  const double before = clock_.Now();
  ASSERT_EQ(Start("  FROMSET "), StartResult::kRunning);
  EXPECT_GT(clock_.Now() - before, 5.0);
  EXPECT_TRUE(launch().command_line.isEmpty());
  EXPECT_EQ(launch().started_from_setup, 0);
  EXPECT_EQ(app_->messages().error_form(), nullptr) << "the notice is closed";
  EXPECT_TRUE(app_->recorder()->isVisible());
  EXPECT_FALSE(launch().message_form_shown)
      << "the raw command line was not empty";
}

TEST_F(StartupTest, OnlyBlanksAreTrimmedFromTheCommandLine) {
  ASSERT_EQ(Start("\tFROMSET"), StartResult::kRunning);
  EXPECT_EQ(launch().started_from_setup, 0);
  EXPECT_EQ(launch().command_line, "\tFROMSET");
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(StartupTest, FirstPackageByNameIsTheOneExtracted) {
  for (const char* name : {"m2.vrc", "m1.vrc"}) {
    QByteArray header = QByteArray("VOCAPOST") + name;
    header += QByteArray(1024 - header.size(), ' ');
    temp_.WriteFile(std::string("temp/voca-MSG") + name + ".exe",
                    QByteArray(2048, '#') + header + name);
  }
  temp_.WriteFile("temp/another.exe", "not a package");
  ASSERT_EQ(Start("TEMP-MSG.EXE"), StartResult::kRunning);
  EXPECT_EQ(launch().play_file_name, "m1.vrc");
  EXPECT_FALSE(Exists("m2.vrc"));
}

TEST_F(StartupTest, MessageFileIsChosenForPlayingInAnyCase) {
  temp_.WriteFile("05143012.Vrc", "WAV0      ");
  ASSERT_EQ(Start("  05143012.Vrc  "), StartResult::kRunning);
  EXPECT_EQ(launch().play_file_name, "05143012.Vrc");
  EXPECT_EQ(temp_.ReadFile("popplay.txt"), "popplay");
  EXPECT_FALSE(app_->recorder()->isVisible());
  EXPECT_EQ(launch().return_to_recorder, 0);
  EXPECT_FALSE(launch().message_form_shown);
}

TEST_F(StartupTest, MissingFileOrFolderIsLikeNoCommandLine) {
  std::filesystem::create_directory(temp_.home() / "folder.vrc");
  for (const QString& line : {QString("absent.vrc"), QString("folder.vrc"),
                              QString("two words.vrc"), QString("*.vrc")}) {
    app_ = MakeApp(wave_);
    ASSERT_EQ(Start(line), StartResult::kRunning) << line.toStdString();
    EXPECT_TRUE(launch().play_file_name.isEmpty()) << line.toStdString();
    EXPECT_TRUE(app_->recorder()->isVisible()) << line.toStdString();
  }
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(StartupTest, OddCharactersInAFileNameAreJustPartOfTheName) {
  const QString name = QString::fromUtf8("odd\tname [1] *?\u00e9\u4e2d.vrc");
  temp_.WriteFile(name.toStdString(), "x");
  ASSERT_EQ(Start(name), StartResult::kRunning);
  EXPECT_EQ(launch().play_file_name, name);
  EXPECT_TRUE(Exists("popplay.txt"));
}

TEST_F(StartupTest, UnreadableMessageFileIsStillChosen) {
  temp_.WriteFile("locked.vrc", "x");
  std::filesystem::permissions(temp_.home() / "locked.vrc",
                               std::filesystem::perms::none);
  ASSERT_EQ(Start("locked.vrc"), StartResult::kRunning);
  EXPECT_EQ(launch().play_file_name, "locked.vrc");
}

TEST_F(StartupTest, PackageLaunchExtractsTheMessageAndPlaysIt) {
  QByteArray header = "VOCAPOST05143012.vrc";
  header += QByteArray(1024 - header.size(), ' ');
  temp_.WriteFile(
      "temp/voca-MSG05143012.exe",
      QByteArray(14336, '#') + QByteArray(1024, '\0') + header + "WAV0      ");
  ASSERT_EQ(Start(QString::fromStdString(
                (temp_.home() / "temp" / "TEMP-MSG.EXE").string())),
            StartResult::kRunning);
  EXPECT_EQ(launch().play_file_name, "05143012.vrc");
  EXPECT_EQ(temp_.ReadFile("05143012.vrc"), "WAV0      ");
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_FALSE(app_->recorder()->isVisible());
  EXPECT_TRUE(Logged().contains("Vocapost Message\tLoading...\n"));
  EXPECT_EQ(app_->state().activity.is_playing, 1) << "the message plays";
  EXPECT_TRUE(app_->viewer()->isVisible());
  EXPECT_EQ(app_->messages().error_form(), nullptr) << "Play closes the notice";
}

TEST_F(StartupTest, StaleMarkersOfAnEndedCopyAreCleared) {
  for (const char* marker :
       {"popplay.txt", "pop.txt", "popup.txt", "popshow.txt"}) {
    temp_.WriteFile(marker, "x");
  }
  temp_.WriteFile("popstop.txt", "popstop");
  ASSERT_EQ(Start(), StartResult::kRunning);
  for (const char* marker :
       {"popplay.txt", "pop.txt", "popup.txt", "popshow.txt"}) {
    EXPECT_FALSE(Exists(marker)) << marker;
  }
  EXPECT_TRUE(Exists("popstop.txt")) << "left alone";
}

TEST_F(StartupTest, HandOverFromAnIdleCopyReturnsToTheRecorderAfterwards) {
  auto other = OtherCopy();
  temp_.WriteFile("m.vrc", "x");
  // The running copy answers the request and ends.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (!Exists("pop.txt")) return;
    std::filesystem::remove(temp_.home() / "pop.txt");
    temp_.WriteFile("popup.txt", "popup");
    other.reset();
  });
  answer.start(0);
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  EXPECT_EQ(launch().return_to_recorder, 1);
  EXPECT_EQ(launch().play_file_name, "m.vrc");
  EXPECT_FALSE(Exists("popup.txt")) << "the answer is taken";
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(StartupTest, CopyThatGoesWithoutAnsweringLeavesNoRequestBehind) {
  auto other = OtherCopy();
  WriteMessage("m.vrc");
  // Already ending, it goes away without reading the request.
  temp_.WriteFile("popstop.txt", "popstop");
  QTimer::singleShot(0, [&] { other.reset(); });
  const double before = clock_.Now();
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  EXPECT_LT(clock_.Now() - before, 1.0) << "no waiting for an answer";
  EXPECT_EQ(launch().return_to_recorder, 0);
  EXPECT_FALSE(Exists("pop.txt"));
  // The Recorder's timer looks at the markers every half second.
  QTest::qWait(700);
  EXPECT_FALSE(ender_.ended) << "its own request ended the new copy";
  EXPECT_EQ(app_->state().activity.is_playing, 1);
  EXPECT_FALSE(Exists("popup.txt"));
}

TEST_F(StartupTest, EndRequestWhileRecordingOrPlayingStopsItFirst) {
  ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                            "RecordToMemory", "1"));
  WriteMessage("m.vrc");
  for (const bool recording : {true, false}) {
    SCOPED_TRACE(recording ? "recording" : "playing");
    ender_.ended = false;
    app_ = MakeApp(wave_);
    ASSERT_EQ(Start(recording ? "" : "m.vrc"), StartResult::kRunning);
    QString name;
    if (recording) {
      app_->recorder()->Command(2)->Press();
      name = app_->recorder()->Label(9)->text();
      for (intptr_t header : {1, 2}) {
        app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, header,
                                          {});
      }
    }
    ASSERT_TRUE(Exists("popplay.txt"));
    temp_.WriteFile("pop.txt", "pop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return ender_.ended; }, 3000));
    EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
    EXPECT_FALSE(Exists("popplay.txt")) << "the copy is busy no more";
    EXPECT_EQ(app_->state().activity.is_recording, 0);
    EXPECT_EQ(app_->state().activity.is_playing, 0);
    if (recording) {
      MessageReader reader;
      ASSERT_TRUE(reader.Open(name));
      int sound = 0;
      while (auto record = reader.Next())
        sound += record->kind == RecordKind::kAudio;
      EXPECT_EQ(sound, 2) << "the recording is kept whole";
    }
    app_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::filesystem::remove(temp_.home() / "popup.txt");
  }
}

TEST_F(StartupTest, LaunchWhoseMessageGoesBeforePlayTellsWhyAndGoes) {
  for (const bool after_hand_over : {false, true}) {
    SCOPED_TRACE(after_hand_over ? "after a hand-over" : "alone");
    ender_.ended = false;
    presenter_.messages.clear();
    app_ = MakeApp(wave_);
    WriteMessage("m.vrc");
    std::unique_ptr<WindowRegistry> other;
    QTimer answer;
    if (after_hand_over) {
      other = OtherCopy();
      QObject::connect(&answer, &QTimer::timeout, [&] {
        if (!Exists("pop.txt")) return;
        std::filesystem::remove(temp_.home() / "pop.txt");
        temp_.WriteFile("popup.txt", "popup");
        other.reset();
      });
      answer.start(0);
    }
    // Deleted once chosen, before the Recorder window is loaded.
    QTimer::singleShot(
        0, [&] { std::filesystem::remove(temp_.home() / "m.vrc"); });
    ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].title, "Warning");
    EXPECT_TRUE(presenter_.messages[0].text.startsWith(
        "The message m.vrc cannot be played ("))
        << presenter_.messages[0].text.toStdString();
    EXPECT_FALSE(Exists("popplay.txt"));
    EXPECT_FALSE(Exists("pop.txt"));
    EXPECT_EQ(app_->messages().error_form(), nullptr) << "Play's hint is gone";
    // Alone it ends; after taking over from a recorder it becomes one.
    EXPECT_EQ(ender_.ended, !after_hand_over);
    EXPECT_EQ(app_->recorder() != nullptr && app_->recorder()->isVisible(),
              after_hand_over);
    app_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(StartupTest, CopyThatNeverAnswersGivesPleaseLaunchAgain) {
  const auto other = OtherCopy();
  temp_.WriteFile("m.vrc", "x");
  const double before = clock_.Now();
  EXPECT_EQ(Start("m.vrc"), StartResult::kEnded);
  EXPECT_EQ(app_->exit_code(), 1);
  EXPECT_NEAR(clock_.Now() - before, 15.0, 0.3);
  EXPECT_EQ(Texts(),
            std::vector<QString>{"Vocapost Message\tPlease launch again."});
  EXPECT_FALSE(Exists("popplay.txt"));
  EXPECT_TRUE(Exists("pop.txt")) << "a slow copy still ends when it looks";
}

TEST_F(StartupTest, PackageLaunchNeverReturnsToTheRecorder) {
  auto other = OtherCopy();
  QByteArray header = "VOCAPOSTm.vrc";
  header += QByteArray(1024 - header.size(), ' ');
  temp_.WriteFile("temp/voca-MSGm.vrc.exe",
                  QByteArray(2048, '#') + header + "x");
  QTimer::singleShot(0, [&] { other.reset(); });
  ASSERT_EQ(Start("TEMP-MSG.EXE"), StartResult::kRunning);
  EXPECT_EQ(launch().return_to_recorder, 0);
  EXPECT_EQ(launch().play_file_name, "m.vrc");
}

TEST_F(StartupTest, RelativeFileNamesAreTakenFromWhereTheProgramStarted) {
  temp_.WriteFile(temp_.root() / "mail" / "m.vrc", "x");
  std::filesystem::current_path(temp_.root());
  const QString line = CommandLineFromArguments({"mail/m.vrc"});
  EXPECT_EQ(line,
            QString::fromStdString((temp_.root() / "mail" / "m.vrc").string()));
  EXPECT_EQ(CommandLineFromArguments({"absent.vrc"}), "absent.vrc");
  EXPECT_EQ(CommandLineFromArguments({"FROMSET"}), "FROMSET");
  EXPECT_EQ(CommandLineFromArguments({"two", "words.vrc"}), "two words.vrc");
  EXPECT_EQ(CommandLineFromArguments({}), "");
  ASSERT_EQ(Start(line), StartResult::kRunning);
  EXPECT_EQ(launch().play_file_name, line);
}

}  // namespace
}  // namespace vocapost
