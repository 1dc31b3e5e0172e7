// Two running copies settling through the marker files.
#include <gtest/gtest.h>

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

  ProgramRun first_{temp_, temp_.home()};
};

// The same home by another path is the same home.
TEST_F(CopiesE2eTest, SecondPlainLaunchAsksTheFirstToShowItselfAndEnds) {
  StartFirstCopy();
  const auto link = temp_.root() / "link-home";
  std::filesystem::create_directory_symlink(temp_.home(), link);
  ProgramRun second(temp_, link);
  second.Launch();
  ASSERT_TRUE(second.Ended());
  EXPECT_EQ(second.ExitCode(), 0);
  // The first copy takes the request within a tick of its timer.
  EXPECT_TRUE(Eventually([&] { return !HasFile("popshow.txt"); }, 5000));
  EXPECT_TRUE(first_.Running());
  EXPECT_EQ(first_.Messages(), "");
}

TEST_F(CopiesE2eTest, MessageFileLaunchTakesOverFromAnIdleCopy) {
  StartFirstCopy();
  temp_.WriteFile("05143012.vrc", "WAV0      ");
  ProgramRun second(temp_, temp_.home());
  second.Launch({"05143012.vrc"});
  ASSERT_TRUE(first_.Ended());
  EXPECT_EQ(first_.ExitCode(), 0);
  ASSERT_TRUE(Eventually([&] { return !HasFile("popup.txt"); }, 5000))
      << "the new copy takes the answer";
  EXPECT_TRUE(second.Running());
  EXPECT_TRUE(HasFile("popplay.txt"));
  EXPECT_FALSE(HasFile("pop.txt"));
  EXPECT_FALSE(HasFile("popstop.txt"));
  EXPECT_EQ(second.Messages(), "Vocapost Message\tLoading...\n");
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

}  // namespace
}  // namespace vocapost
