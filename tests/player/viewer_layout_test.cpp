#include "player/viewer_layout.h"

#include <gtest/gtest.h>

namespace vocapost {
namespace {

TEST(ViewerLayoutTest, WindowKeepsFourToThreeWithinItsSmallestAndLargestWidth) {
  const struct {
    double width;  // twips, as the user left it
    double window_width, window_height, picture_width, picture_height;
  } cases[] = {
      {1500, 1500, 1500 * 0.75 + 780, 1200, 900},
      {600, 1350, 1350 * 68 / 90.0 + 780, 1050,
       1050 * 68 / 90.0},  // 67.5 -> 68
      {640 * 15, 9600, 9600 * 0.75 + 780, 9300, 9300 * 0.75},
      {641 * 15, 1350, 1350 * 0.75 + 780, 1050, 1050 * 0.75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    ViewerLayoutInput input;
    input.window_width = c.width;
    const ViewerLayout l = ComputeViewerLayout(input);
    EXPECT_EQ(l.window_width, c.window_width);
    EXPECT_DOUBLE_EQ(l.window_height, c.window_height);
    EXPECT_EQ(l.picture_width, c.picture_width);
    EXPECT_DOUBLE_EQ(l.picture_height, c.picture_height);
    EXPECT_DOUBLE_EQ(l.buttons_top, 195 + c.picture_height + 15);
    EXPECT_FALSE(l.label_visible);
  }
}

TEST(FormatZoomTest, OneDecimalRoundedWithoutLeadingZero) {
  const std::pair<double, const char*> cases[] = {
      {1.0, "1.0"},
      {0.5, ".5"},
      {0.04, ".0"},
      {12.25, "12.3"},
  };
  for (const auto& [zoom, shown] : cases) EXPECT_EQ(FormatZoom(zoom), shown);
}

}  // namespace
}  // namespace vocapost
