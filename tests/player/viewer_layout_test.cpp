#include "player/viewer_layout.h"

#include <gtest/gtest.h>

namespace vocapost {
namespace {

ViewerLayout LayoutFor(double width, int16_t recorded_width_twips = 0) {
  ViewerLayoutInput input;
  input.window_width = width;
  input.recorded_width_twips = recorded_width_twips;
  return ComputeViewerLayout(input);
}

TEST(ViewerLayoutTest,
     FifteenHundredTwipsShowATwelveHundredByNineHundredPicture) {
  const ViewerLayout l = LayoutFor(1500);
  EXPECT_EQ(l.window_width, 1500);
  EXPECT_EQ(l.picture_width, 1200);
  EXPECT_EQ(l.picture_height, 900);
  EXPECT_EQ(l.window_height, 1500 * 75 / 100.0 + 585 + 195);
  EXPECT_EQ(l.picture_top, 195);
  EXPECT_EQ(l.buttons_top, 195 + 900 + 15);
  EXPECT_EQ(l.label_top, 195 + 900 + 15 + 60);
  EXPECT_EQ(l.picture4_left, 150 + 1200);
}

TEST(ViewerLayoutTest, NarrowWindowsGrowToTheSmallestWidth) {
  for (const double width : {0.0, 600.0, 1349.0}) {
    const ViewerLayout l = LayoutFor(width);
    EXPECT_EQ(l.window_width, 1350) << width;
    EXPECT_EQ(l.picture_width, 1050) << width;
  }
  // 90 pixels: h = 67.5 rounds to the even 68.
  const ViewerLayout l = LayoutFor(1350);
  EXPECT_DOUBLE_EQ(l.picture_height, 1050 * 68 / 90.0);
  EXPECT_DOUBLE_EQ(l.window_height, 1350 * 68 / 90.0 + 780);
}

TEST(ViewerLayoutTest, PicturesWiderThan640PixelsFallBackToTheSmallestWindow) {
  const ViewerLayout at_limit = LayoutFor(640 * 15);
  EXPECT_EQ(at_limit.window_width, 9600);
  EXPECT_EQ(at_limit.picture_width, 9300);
  const ViewerLayout beyond = LayoutFor(641 * 15);
  EXPECT_EQ(beyond.window_width, 1350);
  EXPECT_EQ(beyond.window_height, 1350 * 0.75 + 780);
  EXPECT_EQ(beyond.picture_height, 1050 * 0.75);
}

TEST(ViewerLayoutTest, ZoomLabelShowsPictureWidthOverRecordedWidth) {
  EXPECT_FALSE(LayoutFor(2700).label_visible);
  const ViewerLayout same = LayoutFor(2700, 2400);
  EXPECT_TRUE(same.label_visible);
  EXPECT_EQ(same.label_caption, "1.0");
  EXPECT_EQ(LayoutFor(3900, 2400).label_caption, "1.5");
  EXPECT_EQ(LayoutFor(1500, 2400).label_caption, ".5");
}

TEST(ViewerLayoutTest, BottomRowFollowsTheImageButtonsAndLabel) {
  const ViewerLayout l = LayoutFor(2700);
  const ViewerDesign d;
  EXPECT_EQ(l.label_left, d.picture5_left + d.picture5_width + 15);
  EXPECT_EQ(l.picture6_left, l.label_left + d.label_width + 15);
  EXPECT_EQ(l.command12_left, l.picture4_left + d.picture4_width + 720);
}

TEST(FormatZoomTest, OneDecimalWithoutLeadingZero) {
  EXPECT_EQ(FormatZoom(1.0), "1.0");
  EXPECT_EQ(FormatZoom(1.5), "1.5");
  EXPECT_EQ(FormatZoom(0.5), ".5");
  EXPECT_EQ(FormatZoom(0.04), ".0");
  EXPECT_EQ(FormatZoom(12.25), "12.3");
  EXPECT_EQ(FormatZoom(3.0 / 1.5), "2.0");
}

}  // namespace
}  // namespace vocapost
