#include "app/display_check.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

TEST(ColourCountTest, CountsColoursFromBitsAndPlanes) {
  EXPECT_EQ(ColourCount({8, 1}), 256);
  EXPECT_EQ(ColourCount({16, 1}), 65536);
  EXPECT_EQ(ColourCount({24, 1}), 16777216);
  EXPECT_EQ(ColourCount({4, 4}), 64);
  EXPECT_EQ(ColourCount({30, 1}), 1073741824);
}

TEST(ColourCountTest, CountsThatDoNotFitGiveSixteenMillion) {
  EXPECT_EQ(ColourCount({32, 1}), 16000000);
  EXPECT_EQ(ColourCount({31, 1}), 16000000);
  EXPECT_EQ(ColourCount({30, 4}), 16000000);
  EXPECT_EQ(ColourCount({100000, 1}), 16000000);
}

TEST(DisplayCheckTest, EightBitsFailSixteenAndThirtyTwoPass) {
  FixedDisplayInfo eight({8, 1}), sixteen({16, 1}), thirty_two({32, 1});
  EXPECT_FALSE(DisplayHasEnoughColours(eight));
  EXPECT_TRUE(DisplayHasEnoughColours(sixteen));
  EXPECT_TRUE(DisplayHasEnoughColours(thirty_two));
}

TEST(DisplayCheckTest, SystemDirectoryEndsInOneSeparator) {
  EXPECT_EQ(WithTrailingSeparator("/usr/lib"), "/usr/lib/");
  EXPECT_EQ(WithTrailingSeparator("/usr/lib/"), "/usr/lib/");
  EXPECT_TRUE(SystemDirectory().endsWith('/'));
  EXPECT_FALSE(SystemDirectory().endsWith("//"));
}

TEST(DisplayCheckTest, OnThisSystemTheMessageGivesTheSecondHint) {
  EXPECT_EQ(
      DisplayMessageText(SystemDirectory()),
      "Your VGA Display Drivers Must Be Set To At Least Hi-color (16 bit or "
      "32000 colors) For This Program To Run.  For Win31, check "
      "MAIN|WINDOWS SETUP|OPTIONS|CHANGE SYSTEM SETTINGS|DISPLAY and select "
      "a VGA driver with colors above 32000.  Alternately, your VGA card "
      "may have its own utility program to do this.");
}

using DisplayHintTest = testing::HomeTest;

TEST_F(DisplayHintTest, FolderHoldingTheDriverFileGivesTheFirstHint) {
  temp_.WriteFile("VMM32.VXD", "");
  const QString dir = QString::fromStdString(temp_.home().string()) + "/";
  EXPECT_TRUE(DisplayMessageText(dir).endsWith(
      "  For Win95, check CONTROL PANEL|DISPLAY|SETTINGS|Color palette and "
      "select a VGA driver with colors Set To At Least Hi-color (16 bit or "
      "32000 colors)."));
}

}  // namespace
}  // namespace vocapost
