// Two running copies settling through the marker files.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "e2e/program_run.h"
#include "platform/window_registry/window_registry.h"

namespace vocapost {
namespace {

using testing::Eventually;
using testing::ProgramRun;

class CopiesE2eTest : public testing::HomeTest {
 protected:
  bool HasFile(const std::string& name) const {
    return std::filesystem::exists(temp_.home() / name);
  }
  // Starts the first copy and waits until its Recorder window is up.
  void StartFirstCopy() {
    first_.Launch();
    ASSERT_TRUE(Eventually(
        [&] { return first_.Windows().contains("shown\tMKERForm1"); }));
  }
  // A copy of the same program home that runs but never looks at the
  // markers.
  std::unique_ptr<WindowRegistry> DeafCopy() {
    std::filesystem::create_directories(temp_.root() / "runtime");
    auto copy = std::make_unique<WindowRegistry>(
        HomeRegistryDir(temp_.root() / "runtime" / "vocapost", temp_.home()));
    copy->Publish({"Vocapost "});
    return copy;
  }
  // Three records of sound, about two seconds.
  void WriteMessage(const std::string& name) {
    const QByteArray record = "WAV1105   " + QByteArray(1105, '\x11');
    temp_.WriteFile(name, record + record + record);
  }

  ProgramRun first_{temp_, temp_.home()};
  ProgramRun second_{temp_, temp_.home()};
};

TEST_F(CopiesE2eTest, SecondPlainLaunchAsksTheFirstToShowItselfAndEnds) {
  StartFirstCopy();
  second_.Launch();
  ASSERT_TRUE(second_.Ended());
  EXPECT_EQ(second_.ExitCode(), 0);
  // The first copy takes the request within a tick of its timer.
  EXPECT_TRUE(Eventually([&] { return !HasFile("popshow.txt"); }, 5000));
  EXPECT_TRUE(first_.Running());
  EXPECT_EQ(first_.Messages(), "");
}

TEST_F(CopiesE2eTest, MessageFileLaunchTakesOverFromAnIdleCopy) {
  StartFirstCopy();
  temp_.WriteFile("05143012.vrc", "WAV0      ");
  second_.Launch({"05143012.vrc"});
  ASSERT_TRUE(first_.Ended());
  EXPECT_EQ(first_.ExitCode(), 0);
  ASSERT_TRUE(Eventually([&] { return !HasFile("popup.txt"); }, 5000))
      << "the new copy takes the answer";
  EXPECT_TRUE(second_.Running());
  EXPECT_TRUE(HasFile("popplay.txt"));
  EXPECT_FALSE(HasFile("pop.txt"));
  EXPECT_FALSE(HasFile("popstop.txt"));
  EXPECT_EQ(second_.Messages(), "Vocapost Message\tLoading...\n");
}

TEST_F(CopiesE2eTest, HandOverThatNobodyAnswersStillPlaysTheWholeMessage) {
  auto gone = DeafCopy();
  WriteMessage("05143012.vrc");
  second_.Launch({"05143012.vrc"});
  ASSERT_TRUE(Eventually([&] { return HasFile("pop.txt"); }));
  // The other copy goes without reading the request, as in a crash.
  gone.reset();
  ASSERT_TRUE(Eventually(
      [&] { return second_.Windows().contains("shown\tViewer"); }, 5000))
      << "the new copy waits for an answer that cannot come";
  EXPECT_FALSE(HasFile("pop.txt"));
  // After the playback it stays as the recorder the other copy was.
  ASSERT_TRUE(Eventually(
      [&] { return second_.Windows().contains("shown\tMKERForm1"); }, 10000));
  EXPECT_TRUE(second_.Running());
  EXPECT_FALSE(HasFile("popup.txt"));
  EXPECT_FALSE(HasFile("popplay.txt"));
  EXPECT_EQ(second_.Messages(), "Vocapost Message\tLoading...\n");
}

TEST_F(CopiesE2eTest, OnlyCopiesOfTheSameProgramHomeCount) {
  StartFirstCopy();
  const auto other_home = temp_.root() / "other-home";
  ProgramRun elsewhere(temp_, other_home);
  elsewhere.SetEnvironment(
      "VOCAPOST_WINDOW_LOG",
      QString::fromStdString((temp_.root() / "elsewhere.log").string()));
  elsewhere.Launch();
  ASSERT_TRUE(Eventually([&] {
    return temp_.ReadFile(temp_.root() / "elsewhere.log")
        .contains("shown\tMKERForm1");
  })) << "a copy of another home is a recorder of its own";
  EXPECT_TRUE(elsewhere.Running());
  EXPECT_FALSE(std::filesystem::exists(other_home / "popshow.txt"));
  // The same home by another path is the same home.
  const auto link = temp_.root() / "link-home";
  std::filesystem::create_directory_symlink(temp_.home(), link);
  ProgramRun same(temp_, link);
  same.Launch();
  ASSERT_TRUE(same.Ended());
  EXPECT_EQ(same.ExitCode(), 0);
  EXPECT_TRUE(Eventually([&] { return !HasFile("popshow.txt"); }, 5000))
      << "the first copy took the request";
  EXPECT_TRUE(first_.Running());
}

TEST_F(CopiesE2eTest, CopyEndingOnRequestLeavesItsAnswer) {
  StartFirstCopy();
  temp_.WriteFile("pop.txt", "pop");
  ASSERT_TRUE(first_.Ended(5000));
  EXPECT_EQ(first_.ExitCode(), 0);
  EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
  EXPECT_FALSE(HasFile("popstop.txt"));
  EXPECT_FALSE(HasFile("pop.txt"));
}

TEST_F(CopiesE2eTest, AnyLaunchWhileACopyIsBusyEndsSilently) {
  const auto busy = DeafCopy();
  temp_.WriteFile("popplay.txt", "popplay");
  temp_.WriteFile("05143012.vrc", "WAV0      ");
  for (const QStringList& args : {QStringList{}, QStringList{"05143012.vrc"},
                                  QStringList{"TEMP-MSG.EXE"}}) {
    ProgramRun run(temp_, temp_.home());
    run.Launch(args);
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0);
  }
  EXPECT_EQ(first_.Messages(), "");
  EXPECT_EQ(first_.Windows(), "");
  EXPECT_TRUE(HasFile("popplay.txt"));
  EXPECT_FALSE(HasFile("pop.txt"));
  EXPECT_FALSE(HasFile("popshow.txt"));
}

TEST_F(CopiesE2eTest, CopyThatNeverAnswersGivesPleaseLaunchAgain) {
  const auto deaf = DeafCopy();
  temp_.WriteFile("05143012.vrc", "WAV0      ");
  QElapsedTimer timer;
  timer.start();
  first_.Launch({"05143012.vrc"});
  ASSERT_TRUE(first_.Ended(40000));
  EXPECT_GE(timer.elapsed(), 14500);
  EXPECT_LE(timer.elapsed(), 20000);
  EXPECT_EQ(first_.ExitCode(), 1);
  EXPECT_EQ(
      first_.Messages(),
      "Vocapost Message\tLoading...\nVocapost Message\tPlease launch again.\n");
  EXPECT_FALSE(HasFile("popplay.txt"));
  EXPECT_TRUE(HasFile("pop.txt"));
}

}  // namespace
}  // namespace vocapost
