#include "platform/home/program_home.h"

#include <gtest/gtest.h>

#include "support/recording_program.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

using ProgramHomeTest = testing::HomeTest;

TEST_F(ProgramHomeTest, ExplicitHomeWinsThenAnAbsoluteDataFolder) {
  testing::EnvironmentScope env;
  env.Set("HOME", temp_.root());
  const fs::path standard = temp_.root() / ".local" / "share" / "vocapost";
  const struct {
    QByteArray home, data_home;
    fs::path expected;
  } cases[] = {
      {"/some/where", "", "/some/where"},
      {"", QByteArray::fromStdString((temp_.root() / "data").string()),
       temp_.root() / "data" / "vocapost"},
      // Not valid, as the package stub also decides.
      {"", "relative/data", standard},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.home.toStdString() + " " + c.data_home.toStdString());
    env.Set("VOCAPOST_HOME", c.home);
    env.Set("XDG_DATA_HOME", c.data_home);
    EXPECT_EQ(ResolveProgramHome(), c.expected);
  }
}

TEST_F(ProgramHomeTest, ShippedFilesAreCopiedButNeverOverTheUsersOwn) {
  const fs::path shipped = temp_.root() / "shipped";
  fs::create_directories(shipped / "a-folder");
  temp_.WriteFile(shipped / "firsview.bmp", "shipped picture");
  temp_.WriteFile(shipped / "readme.vcp", "shipped readme");
  temp_.WriteFile("firsview.bmp", "user's own picture");
  ASSERT_TRUE(PrepareProgramHome(temp_.home(), shipped).ok);
  EXPECT_EQ(temp_.ReadFile("firsview.bmp"), "user's own picture");
  EXPECT_EQ(temp_.ReadFile("readme.vcp"), "shipped readme");
  EXPECT_FALSE(fs::exists(temp_.home() / "a-folder"));
  // Without a shipped folder there is still a home, and it is entered.
  const fs::path bare = temp_.root() / "new" / "bare";
  EXPECT_TRUE(PrepareProgramHome(bare, temp_.root() / "nothing-here").ok);
  EXPECT_EQ(fs::current_path(), bare);
}

}  // namespace
}  // namespace vocapost
