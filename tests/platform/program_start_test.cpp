#include "platform/process/program_start.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "support/temp_home.h"

namespace vocapost {
namespace {

class ProgramStartTest : public testing::HomeTest {};

TEST_F(ProgramStartTest, CommandLineIsSplitAsAShellWould) {
  RecordingStarter starter;
  EXPECT_TRUE(StartCommandLine(
      starter, R"(  mail -a "two \"words\" \n" 'x "y\' z\ z a""b )"));
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0], QStringList({"mail", "-a", R"(two "words" \n)",
                                             R"(x "y\)", "z z", "ab"}));
  EXPECT_FALSE(StartCommandLine(starter, "   "));
  EXPECT_EQ(starter.started.size(), 1u);
}

TEST_F(ProgramStartTest, ScriptOfTheProgramHomeRunsThroughShWithItsArguments) {
  // No execute bit, and a name that no PATH program has.
  temp_.WriteFile("tool.exe",
                  "#!/bin/sh\necho \"$1 $2\" > ran.tmp\nmv ran.tmp ran.txt\n");
  DetachedProgramStarter starter;
  ASSERT_TRUE(StartCommandLine(starter, "tool.exe first 'and second'"));
  QElapsedTimer waited;
  waited.start();
  while (temp_.ReadFile("ran.txt").isEmpty() && waited.elapsed() < 10000)
    QTest::qWait(20);
  EXPECT_EQ(temp_.ReadFile("ran.txt"), "first and second\n");
  EXPECT_FALSE(starter.Start("no-such-program-anywhere", {}));
}

}  // namespace
}  // namespace vocapost
