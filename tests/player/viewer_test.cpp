#include "player/viewer.h"

#include <gtest/gtest.h>

#include <QTest>

#include "support/app_fixture.h"

namespace vocapost {
namespace {

class ViewerTest : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), StartResult::kRunning);
    viewer_ = app_->viewer();
  }
  Viewer* viewer_ = nullptr;
};

TEST_F(ViewerTest, ResizeKeepsFourToThreeAndTheSmallestWidth) {
  viewer_->show();
  viewer_->resize(100, 50);  // 1500 twips wide
  EXPECT_EQ(viewer_->size(), QSize(100, 127));
  EXPECT_EQ(viewer_->Picture2()->geometry(), QRect(10, 13, 80, 60));
  viewer_->resize(60, 300);  // narrower than 1350 twips
  EXPECT_EQ(viewer_->size(), QSize(90, 120));
}

TEST_F(ViewerTest, ExitImageEndsTheProgramThroughTheUnloadUnlessDisabled) {
  viewer_->show();
  app_->state().launch.exit_enabled = 0;
  QTest::mouseClick(viewer_->Picture5(), Qt::LeftButton);
  EXPECT_FALSE(ender_.ended);
  EXPECT_TRUE(viewer_->Timer1()->isActive());
  app_->state().launch.exit_enabled = 1;
  QTest::mouseClick(viewer_->Picture5(), Qt::LeftButton);
  EXPECT_TRUE(ender_.ended);
  EXPECT_FALSE(viewer_->Timer1()->isActive());
  EXPECT_FALSE(viewer_->Command6()->isEnabled());
  EXPECT_EQ(app_->state().launch.viewer_ready, 0);
  EXPECT_EQ(app_->recorder(), nullptr);
  EXPECT_FALSE(Exists("popstop.txt"));
  EXPECT_FALSE(Exists("popup.txt"));
}

TEST_F(ViewerTest, StopImageShowsStopsPicturesAndPressesStop) {
  viewer_->show();
  int stops = 0;
  viewer_->Command1()->SetHandler([&] { ++stops; });
  const CommandButton& stop = *viewer_->Command1();
  QTest::mousePress(viewer_->Picture6(), Qt::LeftButton);
  EXPECT_EQ(viewer_->Picture6()->pixmap().cacheKey(),
            stop.pictures().down.cacheKey());
  QTest::mouseRelease(viewer_->Picture6(), Qt::LeftButton);
  EXPECT_EQ(viewer_->Picture6()->pixmap().cacheKey(),
            stop.pictures().normal.cacheKey());
  EXPECT_EQ(stops, 1);
}

// Without an X11 desktop the end of a drag only waits a little.
TEST_F(ViewerTest, DragEndWithoutAnX11DesktopPausesAndShowsNothing) {
  const double start = clock_.Now();
  viewer_->Command12()->Press();
  EXPECT_GT(clock_.Now() - start, 1.0);
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(ViewerTest, RecordingTickRunsAloneAndItsFlagLeftSetBlocksLaterTicks) {
  int ticks = 0;
  int16_t leave_busy = 0;
  viewer_->recording_tick = [&](int16_t& busy) {
    ++ticks;
    viewer_->Timer1_Timer();  // a nested tick is dropped
    busy = leave_busy;
  };
  viewer_->Timer1_Timer();
  leave_busy = 1;
  viewer_->Timer1_Timer();
  viewer_->Timer1_Timer();
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace vocapost
