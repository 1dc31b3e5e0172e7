// Start-up of the real program on its own.
#include <gtest/gtest.h>

#include "e2e/program_run.h"

namespace vocapost {
namespace {

using testing::Eventually;
using testing::ProgramRun;

class StartupE2eTest : public testing::HomeTest {
 protected:
  bool HasFile(const std::string& name) const {
    return std::filesystem::exists(temp_.home() / name);
  }
  ProgramRun run_{temp_, temp_.home()};
};

TEST_F(StartupE2eTest,
       PlainStartShowsThePictureThenTheRecorderAndKeepsRunning) {
  const auto home = temp_.root() / "fresh-home";
  ProgramRun fresh(temp_, home);
  fresh.Launch();
  ASSERT_TRUE(
      Eventually([&] { return fresh.Windows().contains("shown\tMKERForm1"); }));
  EXPECT_TRUE(std::filesystem::exists(home / "firsview.bmp"));
  EXPECT_TRUE(std::filesystem::exists(home / "vocap.exe"));
  EXPECT_FALSE(fresh.Ended(500)) << "the program ended on its own";
  EXPECT_EQ(fresh.Windows(),
            "shown\tMessageForm\nshown\tMKERForm1\nhidden\tMessageForm\n");
  EXPECT_EQ(fresh.Messages(), "") << "a plain start shows no message";
}

TEST_F(StartupE2eTest, UnusableHomeGivesAMessageAndEnds) {
  temp_.WriteFile("blocked", "a file where the home should be");
  ProgramRun blocked(temp_, temp_.home() / "blocked");
  blocked.Launch();
  ASSERT_TRUE(blocked.Ended());
  EXPECT_EQ(blocked.ExitCode(), 1);
  const QByteArray log = blocked.Messages();
  EXPECT_TRUE(
      log.startsWith("Vocapost Message\tVocapost cannot create its folder "))
      << log.toStdString();
  EXPECT_EQ(log.count('\n'), 1);
}

TEST_F(StartupE2eTest, MessageFileAloneIsPlayModeWithoutTheRecorder) {
  temp_.WriteFile("05143012.VRC", "WAV0      ");
  run_.Launch({"05143012.VRC"});
  ASSERT_TRUE(run_.Ended()) << "the program ends after the playback";
  EXPECT_EQ(run_.ExitCode(), 0);
  EXPECT_EQ(run_.Windows(), "shown\tViewer\nhidden\tViewer\n")
      << "neither the start-up picture nor the Recorder";
  EXPECT_EQ(run_.Messages(), "");
  EXPECT_FALSE(HasFile("popplay.txt"));
}

TEST_F(StartupE2eTest, FileNamedFromAnotherFolderIsFound) {
  temp_.WriteFile(temp_.root() / "mail" / "message.vrc", "WAV0      ");
  ProgramRun from_mail(temp_, temp_.root() / "other-home");
  std::filesystem::current_path(temp_.root());
  from_mail.Launch({"mail/message.vrc"});
  ASSERT_TRUE(Eventually([&] {
    return std::filesystem::exists(temp_.root() / "other-home" / "popplay.txt");
  }));
  EXPECT_FALSE(from_mail.Windows().contains("MKERForm1"));
}

TEST_F(StartupE2eTest, MissingFileIsAPlainRecorderLaunch) {
  run_.Launch({"absent.vrc"});
  ASSERT_TRUE(
      Eventually([&] { return run_.Windows().contains("shown\tMKERForm1"); }));
  EXPECT_FALSE(HasFile("popplay.txt"));
}

TEST_F(StartupE2eTest, LowerCaseFromsetIsAFileNameNotTheSetupLaunch) {
  run_.Launch({"fromset"});
  ASSERT_TRUE(
      Eventually([&] { return run_.Windows().contains("shown\tMKERForm1"); }));
  EXPECT_EQ(run_.Messages(), "");
}

TEST_F(StartupE2eTest, SetupLaunchShowsLoadingThenTheRecorder) {
  run_.Launch({"FROMSET"});
  ASSERT_TRUE(
      Eventually([&] { return run_.Windows().contains("shown\tMKERForm1"); }));
  EXPECT_EQ(run_.Messages(), "Vocapost Message\tLoading...\n");
  EXPECT_TRUE(run_.Windows().startsWith("shown\tErrorForm1\n"));
  EXPECT_TRUE(run_.Windows().contains("hidden\tErrorForm1\n"));
}

TEST_F(StartupE2eTest, TextFileIsRefused) {
  temp_.WriteFile("notes.txt", "hello");
  run_.Launch({"notes.txt"});
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(run_.ExitCode(), 1);
  EXPECT_EQ(run_.Messages(),
            "Warning\tIncorrect file type selected.  Cannot be played.\n");
  EXPECT_FALSE(HasFile("popplay.txt"));
}

TEST_F(StartupE2eTest, PackageLaunchWithoutAPackageSaysThereIsNothingToPlay) {
  run_.Launch({"/anywhere/temp-msg.exe"});
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(run_.ExitCode(), 1);
  EXPECT_EQ(run_.Messages(),
            "Vocapost Message\tLoading...\n"
            "Warning\tThere does not appear to be a file to be played.\n");
}

TEST_F(StartupE2eTest, PackageWithoutAMessageSaysSo) {
  temp_.WriteFile("temp/voca-MSGbroken.exe", QByteArray(3000, 'x'));
  run_.Launch({"TEMP-MSG.EXE"});
  ASSERT_TRUE(run_.Ended());
  EXPECT_TRUE(
      run_.Messages().endsWith("Warning\tThere does not appear to be a message "
                               "in that file.  Cannot be played.\n"));
}

TEST_F(StartupE2eTest, PackageLaunchTakesTheMessageOut) {
  QByteArray header = "VOCAPOST05143012.vrc";
  header += QByteArray(1024 - header.size(), ' ');
  temp_.WriteFile(
      "temp/voca-MSG05143012.exe",
      QByteArray(14336, '#') + QByteArray(1024, '\0') + header + "WAV0      ");
  run_.Launch({QString::fromStdString(
      (temp_.home() / "temp" / "TEMP-MSG.EXE").string())});
  ASSERT_TRUE(Eventually([&] { return HasFile("popplay.txt"); }));
  EXPECT_EQ(temp_.ReadFile("05143012.vrc"), "WAV0      ");
  EXPECT_FALSE(run_.Windows().contains("MKERForm1"));
}

}  // namespace
}  // namespace vocapost
