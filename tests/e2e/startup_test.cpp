// Launches of the real program that cannot go on.
#include <gtest/gtest.h>

#include "e2e/program_run.h"

namespace vocapost {
namespace {

using testing::ProgramRun;

class StartupE2eTest : public testing::HomeTest {};

// A plain start is the first copy of the copies' test.
TEST_F(StartupE2eTest, LaunchesThatCannotGoOnSayWhyAndEnd) {
  temp_.WriteFile("blocked", "a file where the home should be");
  const struct {
    std::filesystem::path home;
    QStringList arguments;
    QByteArray messages;
    int lines;
  } cases[] = {
      {temp_.home() / "blocked",
       {},
       "Vocapost Message\tVocapost cannot create its folder ",
       1},
      {temp_.home(),
       {"/anywhere/temp-msg.exe"},
       "Vocapost Message\tLoading...\n"
       "Warning\tThere does not appear to be a file to be played.\n",
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.messages.toStdString());
    ProgramRun run(temp_, c.home);
    run.Launch(c.arguments);
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_TRUE(run.Messages().startsWith(c.messages));
    EXPECT_EQ(run.Messages().count('\n'), c.lines);
    std::filesystem::remove(temp_.root() / "messages.log");
  }
}

}  // namespace
}  // namespace vocapost
