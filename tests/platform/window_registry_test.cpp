#include "platform/window_registry/window_registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

class WindowRegistryTest : public testing::HomeTest {
 protected:
  std::filesystem::path dir() const { return temp_.root() / "registry"; }
};

TEST_F(WindowRegistryTest, CountsExactTitlesOfLivingCopies) {
  WindowRegistry mine(dir()), third(dir());
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0);
  ASSERT_TRUE(mine.Publish({"Vocapost ", "Vocapost"}));
  ASSERT_TRUE(third.Publish({"vocapost ", "Vocapost  ", "Vocapost"}));
  {
    WindowRegistry other(dir());
    ASSERT_TRUE(other.Publish({"Vocapost "}));
    EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 2);
    EXPECT_EQ(mine.CountWindowsTitled("Vocapost"), 2);
  }
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1) << "a copy that ended";
  ASSERT_TRUE(mine.Publish({"About"}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0) << "titles replaced";
  EXPECT_EQ(mine.CountWindowsTitled("About"), 1);
}

TEST_F(WindowRegistryTest, CrashedCopyNoLongerCountsAndItsFileIsCleanedAway) {
  WindowRegistry mine(dir());
  ASSERT_TRUE(mine.Publish({"Vocapost "}));
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WindowRegistry crashed(dir());
    const char ok = crashed.Publish({"Vocapost "}) ? 'y' : 'n';
    if (write(ready[1], &ok, 1) != 1) _exit(2);
    pause();  // killed below, without any clean-up
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  EXPECT_EQ(ok, 'y');
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 2);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  auto files = [&] {
    return std::distance(std::filesystem::directory_iterator(dir()),
                         std::filesystem::directory_iterator());
  };
  EXPECT_EQ(files(), 2);
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1);
  EXPECT_EQ(files(), 1);
}

TEST_F(WindowRegistryTest, UntrustedOrUnusableFolderCountsOnlyThisCopy) {
  std::filesystem::create_directories(dir());
  std::filesystem::permissions(dir(), std::filesystem::perms::all);
  WindowRegistry planted(dir()), mine(dir());
  EXPECT_FALSE(planted.Publish({"Vocapost "}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0);
  temp_.WriteFile("blocker", "a file where the folder should be");
  WindowRegistry blocked(temp_.home() / "blocker" / "registry");
  EXPECT_FALSE(blocked.Publish({"Vocapost "}));
  EXPECT_EQ(blocked.CountWindowsTitled("Vocapost "), 1);
}

}  // namespace
}  // namespace vocapost
