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
};

// A plain start fills the home and shows the picture, then the Recorder.
// The same home by another path is the same home: a second plain launch
// asks the first copy to show itself and ends, a message file takes over.
TEST_F(CopiesE2eTest, PlainStartIsAskedToShowItselfThenToEndForAMessage) {
  ProgramRun first(temp_, temp_.home());
  first.Launch();
  ASSERT_TRUE(
      Eventually([&] { return first.Windows().contains("shown\tMKERForm1"); }));
  EXPECT_TRUE(HasFile("firsview.bmp"));
  EXPECT_TRUE(HasFile("vocap.exe"));
  const auto link = temp_.root() / "link-home";
  std::filesystem::create_directory_symlink(temp_.home(), link);
  ProgramRun plain(temp_, link);
  plain.Launch();
  ASSERT_TRUE(plain.Ended());
  EXPECT_EQ(plain.ExitCode(), 0);
  // The first copy takes the request within a tick of its timer.
  EXPECT_TRUE(Eventually([&] { return !HasFile("popshow.txt"); }, 5000));
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(first.Windows(),
            "shown\tMessageForm\nshown\tMKERForm1\nhidden\tMessageForm\n");
  EXPECT_EQ(first.Messages(), "");

  temp_.WriteFile("05143012.vrc", "WAV0      ");
  ProgramRun second(temp_, link);
  second.Launch({"05143012.vrc"});
  ASSERT_TRUE(first.Ended());
  EXPECT_EQ(first.ExitCode(), 0);
  ASSERT_TRUE(Eventually([&] { return !HasFile("popup.txt"); }, 5000))
      << "the new copy takes the answer";
  EXPECT_TRUE(second.Running());
  EXPECT_TRUE(HasFile("popplay.txt"));
  EXPECT_FALSE(HasFile("pop.txt"));
  EXPECT_EQ(second.Messages(), "Vocapost Message\tLoading...\n");
}

TEST_F(CopiesE2eTest, LaunchWhileACopyIsBusyEndsSilently) {
  // A copy of the same home that runs but never looks at the markers.
  std::filesystem::create_directories(temp_.root() / "runtime");
  WindowRegistry busy(
      HomeRegistryDir(temp_.root() / "runtime" / "vocapost", temp_.home()));
  busy.Publish({"Vocapost "});
  temp_.WriteFile("popplay.txt", "popplay");
  temp_.WriteFile("05143012.vrc", "WAV0      ");
  ProgramRun run(temp_, temp_.home());
  run.Launch({"05143012.vrc"});
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_EQ(run.Messages() + run.Windows(), "");
  EXPECT_TRUE(HasFile("popplay.txt"));
  EXPECT_FALSE(HasFile("pop.txt"));
}

}  // namespace
}  // namespace vocapost
