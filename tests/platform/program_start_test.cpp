#include "platform/process/program_start.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTest>

#include "platform/home/program_home.h"
#include "support/recording_program.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using ProgramStartTest = testing::HomeTest;

TEST_F(ProgramStartTest, HomeIsTheExplicitOneThenAnAbsoluteDataFolder) {
  testing::EnvironmentScope env;
  env.Set("HOME", temp_.root());
  const std::tuple<QByteArray, QByteArray, std::filesystem::path> cases[] = {
      {"/some/where", "", "/some/where"},
      {"", QByteArray::fromStdString((temp_.root() / "data").string()),
       temp_.root() / "data" / "vocapost"},
      // Not valid, as the package stub also decides.
      {"", "relative/data", temp_.root() / ".local" / "share" / "vocapost"},
  };
  for (const auto& [home, data_home, expected] : cases) {
    env.Set("VOCAPOST_HOME", home);
    env.Set("XDG_DATA_HOME", data_home);
    EXPECT_EQ(ResolveProgramHome(), expected)
        << home.toStdString() << data_home.toStdString();
  }
}

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

// A script of the program home needs no execute bit; notepad is the
// desktop's text editor, given the file's full path.
TEST_F(ProgramStartTest, HomeScriptsRunThroughShAndNotepadIsTheTextEditor) {
  temp_.WriteFile("tool.exe",
                  "#!/bin/sh\necho \"$1 $2\" > ran.tmp\nmv ran.tmp ran.txt\n");
  DetachedProgramStarter starter;
  ASSERT_TRUE(StartCommandLine(starter, "tool.exe first 'and second'"));
  (void)QTest::qWaitFor([&] { return !temp_.ReadFile("ran.txt").isEmpty(); },
                        10000);
  EXPECT_EQ(temp_.ReadFile("ran.txt"), "first and second\n");
  EXPECT_FALSE(starter.Start("no-such-program-anywhere", {}));
  if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
    GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
  testing::EnvironmentScope env;
  for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                           "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
    env.Unset(name);
  env.Set("XDG_DATA_DIRS", temp_.root() / "share");
  env.Set("XDG_CONFIG_DIRS", temp_.root() / "xdg");
  const auto editor = temp_.root() / "bin" / "editor";
  const auto record = temp_.root() / "editor.args";
  testing::WriteRecordingProgram(editor, record);
  temp_.WriteFile(temp_.config() / "mimeapps.list",
                  "[Default Applications]\ntext/plain=fake-editor.desktop\n");
  temp_.WriteFile(
      temp_.root() / "share" / "applications" / "fake-editor.desktop",
      "[Desktop Entry]\nType=Application\nName=Editor\nExec=" +
          QByteArray::fromStdString(editor.string()) + " --new-window %F\n");
  temp_.WriteFile("readme.vcp", "read me");
  ASSERT_TRUE(StartCommandLine(starter, "notepad.exe readme.vcp"));
  EXPECT_EQ(testing::RecordedArguments(record),
            (QStringList{"--new-window",
                         QString::fromStdString(
                             (temp_.home() / "readme.vcp").string())}));
}

}  // namespace
}  // namespace vocapost
