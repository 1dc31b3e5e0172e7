#include "app/startup.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "app/display_check.h"
#include "app/launch_selection.h"
#include "message/message_reader.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class StartupTest : public testing::AppTest {
 protected:
  const LaunchState& launch() { return app_->state().launch; }
  // A message of three sound records; the fake wave library never gives a
  // block back, so it plays for as long as the test runs.
  void WriteMessage(const std::string& name) {
    const QByteArray record = "WAV1105   " + QByteArray(1105, '\x11');
    temp_.WriteFile(name, record + record + record);
  }
};

// Launches that end at once: too few colours say so before any marker is
// touched; beside a running copy a plain launch asks it to come forward and
// a message launch leaves a busy one alone.
TEST_F(StartupTest, TooFewColoursOrARunningCopyEndTheLaunchAtOnce) {
  WriteMessage("m.vrc");
  // Colour bits, another copy runs, line, exit code, marker left.
  const std::tuple<int, bool, QString, int, std::string> cases[] = {
      {8, false, "", 1, "popplay.txt"},
      {32, true, "", 0, "popshow.txt"},
      {32, true, "m.vrc", 0, "popplay.txt"}};
  const std::vector<QString> told{"Vocapost Message\t" +
                                  DisplayMessageText("/usr/lib/")};
  for (const auto& [bits, other_runs, line, code, marker] : cases) {
    SCOPED_TRACE(marker + line.toStdString());
    presenter_.messages.clear();
    if (marker == "popplay.txt") temp_.WriteFile(marker, "popplay");
    display_ = FixedDisplayInfo({bits, 1});
    app_ = MakeApp(wave_);
    WindowRegistry other(registry_dir());
    if (other_runs) other.Publish({"Vocapost "});
    ASSERT_EQ(Start(line), StartResult::kEnded);
    EXPECT_EQ(app_->exit_code(), code);
    EXPECT_EQ(Texts(), code ? told : std::vector<QString>{});
    EXPECT_TRUE(Exists(marker));
    EXPECT_FALSE(Exists("pop.txt"));
    EXPECT_EQ(app_->recorder(), nullptr);
    EXPECT_FALSE(ender_.ended) << "ending at once runs no unload";
    std::filesystem::remove(temp_.home() / marker);
  }
}

TEST_F(StartupTest, CommandLineNamesAMessageFileTheSetupOrNothing) {
  temp_.WriteFile("05143012.Vrc", "WAV0      ");
  // The setup launch shows its notice for five seconds.
  // Only blanks are trimmed.
  const std::tuple<QString, QString, bool> cases[] = {
      {"", {}, false},
      {"  05143012.Vrc  ", "05143012.Vrc", false},
      {"  FROMSET ", {}, true},
      {"\tFROMSET", {}, false}};
  for (const auto& [line, plays, setup] : cases) {
    SCOPED_TRACE(line.toStdString());
    app_ = MakeApp(wave_);
    const double before = clock_.Now();
    ASSERT_EQ(Start(line), StartResult::kRunning);
    EXPECT_EQ(launch().play_file_name, plays);
    EXPECT_EQ(Exists("popplay.txt"), !plays.isEmpty());
    EXPECT_EQ(app_->recorder()->isVisible(), plays.isEmpty());
    EXPECT_EQ(clock_.Now() - before > 5.0, setup);
    EXPECT_EQ(app_->state().values.codec_ratio, 25) << "high quality";
    EXPECT_EQ(launch().message_form_shown, line.isEmpty());
    EXPECT_FALSE(app_->message_form()->isVisible()) << "hidden at the end";
  }
  EXPECT_TRUE(presenter_.messages.empty());
  EXPECT_EQ(temp_.ReadFile("firsview.bmp"), "picture") << "copied home";
}

// The message window answers with the program's procedure while it runs,
// and with the one it had before once the program ends.
TEST_F(StartupTest, EndRequestWhileRecordingOrPlayingStopsItFirst) {
  ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                            "RecordToMemory", "1"));
  WriteMessage("m.vrc");
  for (const bool recording : {true, false}) {
    SCOPED_TRACE(recording);
    ender_.ended = false;
    app_ = MakeApp(wave_);
    app_->SetProcedureFactory([](WindowProcedure previous) {
      return [previous](uint32_t m, uintptr_t w, intptr_t l) {
        return m == 0x3C0 ? intptr_t{7} : previous(m, w, l);
      };
    });
    ASSERT_EQ(Start(recording ? "" : "m.vrc"), StartResult::kRunning);
    EXPECT_EQ(app_->message_form()->CallProcedure(0x3C0, 0, 0), 7);
    QString name;
    if (recording) {
      app_->recorder()->Command(2)->Press();
      name = app_->recorder()->Label(9)->text();
      for (intptr_t header : {1, 2})
        app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, header,
                                          {});
    }
    ASSERT_TRUE(Exists("popplay.txt"));
    temp_.WriteFile("pop.txt", "pop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return ender_.ended; }, 3000));
    EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
    EXPECT_FALSE(Exists("popplay.txt")) << "the copy is busy no more";
    EXPECT_EQ(app_->message_form()->CallProcedure(0x3C0, 0, 0), 0);
    MessageReader reader;
    int sound = 0;
    if (recording && reader.Open(name))
      while (auto record = reader.Next())
        sound += record->kind == RecordKind::kAudio;
    EXPECT_EQ(sound, recording ? 2 : 0) << "a recording is kept whole";
    app_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::filesystem::remove(temp_.home() / "popup.txt");
  }
}

// A message launch asks the running copy to end. One that answers and goes
// hands over (here of a message deleted before Play, which is told); one that
// never answers leaves this copy to ask for another launch.
TEST_F(StartupTest, MessageLaunchWaitsForTheRunningCopyToGo) {
  for (const bool answers : {false, true}) {
    SCOPED_TRACE(answers ? "answers" : "never answers");
    presenter_.messages.clear();
    app_ = MakeApp(wave_);
    WriteMessage("m.vrc");
    auto other = std::make_unique<WindowRegistry>(registry_dir());
    other->Publish({"Vocapost "});
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      // Deleted once chosen, before the Recorder window is loaded.
      std::filesystem::remove(temp_.home() / "m.vrc");
      // It answers and goes; the request it leaves is this copy's to clear.
      if (!answers || !other || !Exists("pop.txt")) return;
      temp_.WriteFile("popup.txt", "popup");
      other.reset();
    });
    answer.start(0);
    const double before = clock_.Now();
    EXPECT_EQ(Start("m.vrc"),
              answers ? StartResult::kRunning : StartResult::kEnded);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_TRUE(Texts()[0].startsWith(
        answers ? "Warning\tThe message m.vrc cannot be played ("
                : "Vocapost Message\tPlease launch again."));
    // The answer is taken; a slow copy still ends when it looks.
    EXPECT_FALSE(Exists("popplay.txt") || Exists("popup.txt"));
    EXPECT_EQ(Exists("pop.txt"), !answers);
    EXPECT_FALSE(ender_.ended);
    // Having taken over from a Recorder, it becomes one.
    EXPECT_EQ(answers && app_->recorder()->isVisible(), answers);
    if (answers) continue;
    EXPECT_EQ(app_->exit_code(), 1);
    EXPECT_NEAR(clock_.Now() - before, 15.0, 0.3);
  }
}

// A package launch takes its message out under a name of its own, never over
// the user's files, or says why it cannot.
TEST_F(StartupTest, PackageLaunchExtractsTheMessageOrSaysWhyNot) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  temp_.WriteFile("05143012.vrc", "the user's own recording");
  const QByteArray long_name = QByteArray(300, 'n') + ".vrc";
  for (const QByteArray& name : {QByteArray("05143012.vrc"), long_name}) {
    const QByteArray header = ("VOCAPOST" + name).leftJustified(1024);
    temp_.WriteFile("temp/voca-MSG05143012.exe",
                    QByteArray(2048, '#') + header + "WAV0      ");
    LaunchState launch;
    launch.command_line = "TEMP-MSG.EXE";
    const bool taken = name != long_name;
    EXPECT_EQ(SelectPlayFile(launch, app_->messages(), "temp"),
              taken ? Selection::kContinue : Selection::kEnd);
    EXPECT_EQ(launch.play_file_name, taken ? "05143013.vrc" : "");
  }
  EXPECT_EQ(temp_.ReadFile("05143013.vrc"), "WAV0      ");
  EXPECT_EQ(temp_.ReadFile("05143012.vrc"), "the user's own recording");
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_TRUE(Texts()[0].startsWith("Warning\tThe message file " + long_name +
                                    " cannot be created in "));
}

}  // namespace
}  // namespace vocapost
