#include "platform/window_registry/window_registry.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

using WindowRegistryTest = testing::HomeTest;

TEST_F(WindowRegistryTest, CountsExactTitlesOfLivingCopies) {
  const auto dir = temp_.root() / "registry";
  WindowRegistry mine(dir), third(dir);
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0);
  ASSERT_TRUE(mine.Publish({"Vocapost ", "Vocapost"}));
  ASSERT_TRUE(third.Publish({"vocapost ", "Vocapost  ", "Vocapost"}));
  {
    WindowRegistry other(dir);
    ASSERT_TRUE(other.Publish({"Vocapost "}));
    EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 2);
    EXPECT_EQ(mine.CountWindowsTitled("Vocapost"), 2);
  }
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1) << "a copy that ended";
  // A crashed copy's file is held by no lock: not counted, and cleaned away.
  const auto crashed = dir / "999999-0.windows";
  temp_.WriteFile(crashed, "Vocapost \n");
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 1);
  EXPECT_FALSE(std::filesystem::exists(crashed));
  ASSERT_TRUE(mine.Publish({"About"}));
  EXPECT_EQ(mine.CountWindowsTitled("Vocapost "), 0) << "titles replaced";
  EXPECT_EQ(mine.CountWindowsTitled("About"), 1);
}

}  // namespace
}  // namespace vocapost
