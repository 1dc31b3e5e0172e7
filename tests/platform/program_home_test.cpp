#include "platform/home/program_home.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

class ProgramHomeTest : public testing::HomeTest {
 protected:
  ProgramHomeTest() {
    fs::create_directories(shipped());
    Ship("firsview.bmp", "shipped picture");
    Ship("readme.vcp", "shipped readme");
    fs::create_directories(shipped() / "a-folder");
  }
  fs::path shipped() const { return temp_.root() / "shipped"; }
  void Ship(const std::string& name, const QByteArray& bytes) const {
    temp_.WriteFile(shipped() / name, bytes);
  }
};

TEST_F(ProgramHomeTest, ExplicitHomeWins) {
  qputenv("VOCAPOST_HOME", "/some/where");
  EXPECT_EQ(ResolveProgramHome(), fs::path("/some/where"));
}

TEST_F(ProgramHomeTest, WithoutExplicitHomeUsesTheUsersDataFolder) {
  qunsetenv("VOCAPOST_HOME");
  const QByteArray old_home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(temp_.root().string()));
  const fs::path standard = temp_.root() / ".local" / "share" / "vocapost";
  const struct {
    QByteArray data_home;
    fs::path expected;
  } cases[] = {
      {QByteArray::fromStdString((temp_.root() / "data").string()),
       temp_.root() / "data" / "vocapost"},
      // Not valid, as the package stub also decides.
      {"relative/data", standard},
      {"", standard},
  };
  for (const auto& c : cases) {
    qputenv("XDG_DATA_HOME", c.data_home);
    EXPECT_EQ(ResolveProgramHome(), c.expected) << c.data_home.toStdString();
  }
  qputenv("HOME", old_home);
}

TEST_F(ProgramHomeTest, CreatesHomeCopiesShippedFilesAndEntersIt) {
  const fs::path home = temp_.root() / "new" / "vocapost";
  ASSERT_TRUE(PrepareProgramHome(home, shipped()).ok);
  EXPECT_EQ(fs::current_path(), home);
  EXPECT_EQ(temp_.ReadFile(home / "firsview.bmp"), "shipped picture");
  EXPECT_EQ(temp_.ReadFile(home / "readme.vcp"), "shipped readme");
  EXPECT_FALSE(fs::exists(home / "a-folder"));
}

TEST_F(ProgramHomeTest, NeverOverwritesTheUsersFiles) {
  temp_.WriteFile("firsview.bmp", "user's own picture");
  ASSERT_TRUE(PrepareProgramHome(temp_.home(), shipped()).ok);
  EXPECT_EQ(temp_.ReadFile("firsview.bmp"), "user's own picture");
  EXPECT_EQ(temp_.ReadFile("readme.vcp"), "shipped readme");
}

TEST_F(ProgramHomeTest, MissingShippedFolderStillGivesAHome) {
  const fs::path home = temp_.root() / "bare";
  EXPECT_TRUE(PrepareProgramHome(home, temp_.root() / "nothing-here").ok);
  EXPECT_TRUE(fs::is_directory(home));
}

TEST_F(ProgramHomeTest, HomeThatIsAFileIsReportedNotEntered) {
  temp_.WriteFile("plain-file", "x");
  const fs::path before = fs::current_path();
  const HomeResult result =
      PrepareProgramHome(temp_.home() / "plain-file", shipped());
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.error.contains("plain-file"))
      << result.error.toStdString();
  EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
}  // namespace vocapost
