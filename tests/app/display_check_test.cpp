#include "app/display_check.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

TEST(DisplayCheckTest, ColoursComeFromBitsAndPlanesAndMoreThan256Pass) {
  const struct {
    int bits, planes;
    int32_t colours;
    bool enough;
  } cases[] = {
      {8, 1, 256, false},          {4, 4, 64, false},
      {16, 1, 65536, true},        {30, 1, 1073741824, true},
      {31, 1, 16000000, true},     {30, 4, 16000000, true},
      {100000, 1, 16000000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.bits << " x " << c.planes);
    EXPECT_EQ(ColourCount({c.bits, c.planes}), c.colours);
    FixedDisplayInfo display({c.bits, c.planes});
    EXPECT_EQ(DisplayHasEnoughColours(display), c.enough);
  }
}

using DisplayHintTest = testing::HomeTest;

TEST_F(DisplayHintTest, FolderHoldingTheDriverFileGivesTheFirstHint) {
  const QString dir = QString::fromStdString(temp_.home().string()) + "/";
  EXPECT_TRUE(DisplayMessageText(dir).endsWith(
      "your VGA card may have its own utility program to do this."));
  temp_.WriteFile("VMM32.VXD", "");
  EXPECT_TRUE(DisplayMessageText(dir).endsWith(
      "  For Win95, check CONTROL PANEL|DISPLAY|SETTINGS|Color palette and "
      "select a VGA driver with colors Set To At Least Hi-color (16 bit or "
      "32000 colors)."));
}

}  // namespace
}  // namespace vocapost
