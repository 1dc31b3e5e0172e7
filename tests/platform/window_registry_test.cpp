#include "platform/window_registry/window_registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "support/temp_home.h"

namespace vocapost {
namespace {

class WindowRegistryTest : public testing::HomeTest {
 protected:
  std::filesystem::path dir() const { return temp_.root() / "registry"; }
};

TEST_F(WindowRegistryTest, CountsExactTitlesOfLivingCopies) {
  WindowRegistry mine(dir()), other(dir()), third(dir());
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0);
  ASSERT_TRUE(mine.Publish({"Vocapost ", "Vocapost"}));
  ASSERT_TRUE(other.Publish({"Vocapost "}));
  ASSERT_TRUE(third.Publish({"vocapost ", "Vocapost  ", "Vocapost"}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 2);
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost"), 2);
}

TEST_F(WindowRegistryTest, CopyThatEndsNoLongerCounts) {
  WindowRegistry mine(dir());
  ASSERT_TRUE(mine.Publish({"Vocapost "}));
  {
    WindowRegistry other(dir());
    ASSERT_TRUE(other.Publish({"Vocapost "}));
    EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 2);
  }
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1);
}

TEST_F(WindowRegistryTest, CrashedCopyNoLongerCounts) {
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
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1);
  close(ready[0]);
  close(ready[1]);
}

TEST_F(WindowRegistryTest, FilesOfEndedCopiesAreCleanedAway) {
  WindowRegistry mine(dir());
  ASSERT_TRUE(mine.Publish({"Vocapost "}));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WindowRegistry ended(dir());
    _exit(ended.Publish({"Vocapost "}) ? 0 : 1);  // ends without tidying up
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  auto files = [&] {
    return std::distance(std::filesystem::directory_iterator(dir()),
                         std::filesystem::directory_iterator());
  };
  EXPECT_EQ(files(), 2);
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1);
  EXPECT_EQ(files(), 1);
}

TEST_F(WindowRegistryTest, PublishingWhileOthersCountAlwaysSucceeds) {
  WindowRegistry counter(dir());
  std::atomic<bool> done{false};
  std::thread counting([&] {
    while (!done) counter.CountWindowsTitled("Vocapost ");
  });
  int published = 0;
  for (int i = 0; i < 200; ++i) {
    WindowRegistry copy(dir());
    published += copy.Publish({"Vocapost "}) ? 1 : 0;
  }
  done = true;
  counting.join();
  EXPECT_EQ(published, 200);
}

TEST_F(WindowRegistryTest, FolderOpenToOthersIsNotTrusted) {
  std::filesystem::create_directories(dir());
  std::filesystem::permissions(dir(), std::filesystem::perms::all);
  WindowRegistry planted(dir());
  WindowRegistry mine(dir());
  EXPECT_FALSE(planted.Publish({"Vocapost "}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0);
}

TEST_F(WindowRegistryTest, RepublishingReplacesTheTitles) {
  WindowRegistry mine(dir());
  ASSERT_TRUE(mine.Publish({"Vocapost ", "Vocapost "}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 2);
  ASSERT_TRUE(mine.Publish({"About"}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0);
  EXPECT_EQ(mine.CountWindowsTitled("About"), 1);
}

TEST_F(WindowRegistryTest, UnusableFolderStillCountsThisCopy) {
  temp_.WriteFile("blocker", "a file where the folder should be");
  WindowRegistry mine(temp_.home() / "blocker" / "registry");
  EXPECT_FALSE(mine.Publish({"Vocapost "}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1);
}

}  // namespace
}  // namespace vocapost
