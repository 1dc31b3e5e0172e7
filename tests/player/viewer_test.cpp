#include "player/viewer.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class ViewerTest : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), StartResult::kRunning);
    viewer_ = app_->viewer();
  }
  static qint64 Key(const QLabel* label) { return label->pixmap().cacheKey(); }
  const LaunchState& launch_state() { return app_->state().launch; }
  Viewer* viewer_ = nullptr;
};

TEST_F(ViewerTest, ResizeKeepsFourToThreeAndTheSmallestWidth) {
  viewer_->show();
  viewer_->resize(100, 50);  // 1500 twips wide
  EXPECT_EQ(viewer_->width(), 100);
  EXPECT_EQ(viewer_->height(), 127);
  EXPECT_EQ(viewer_->Picture2()->geometry(), QRect(10, 13, 80, 60));
  viewer_->resize(60, 300);  // narrower than 1350 twips
  EXPECT_EQ(viewer_->width(), 90);
  EXPECT_EQ(viewer_->height(), 120);
  EXPECT_EQ(viewer_->Picture2()->width(), 70);
}

TEST_F(ViewerTest, ZoomLabelAppearsForARecordedWidth) {
  viewer_->show();
  app_->state().activity.recorded_width_twips = 2400;
  viewer_->resize(260, 100);  // picture 3600 twips wide
  EXPECT_TRUE(viewer_->Label1()->isVisible());
  EXPECT_EQ(viewer_->Label1()->text(), "1.5");
  app_->state().activity.recorded_width_twips = 0;
  viewer_->resize(180, 100);
  EXPECT_FALSE(viewer_->Label1()->isVisible());
}

TEST_F(ViewerTest,
       ImageButtonShowsPressedPictureEvenWhenDisabledButRefusesTheClick) {
  viewer_->Command6()->setEnabled(false);
  viewer_->show();
  QTest::mousePress(viewer_->Picture5(), Qt::LeftButton);
  EXPECT_EQ(Key(viewer_->Picture5()),
            viewer_->Command6()->pictures().down.cacheKey());
  QTest::mouseRelease(viewer_->Picture5(), Qt::LeftButton);
  EXPECT_EQ(Key(viewer_->Picture5()),
            viewer_->Command6()->pictures().normal.cacheKey());
  EXPECT_FALSE(ender_.ended);
  EXPECT_EQ(launch_state().viewer_ready, 1);
}

TEST_F(ViewerTest, StopImageShowsItsOwnPictures) {
  viewer_->show();
  QTest::mousePress(viewer_->Picture6(), Qt::LeftButton);
  EXPECT_EQ(Key(viewer_->Picture6()),
            viewer_->Command1()->pictures().down.cacheKey());
  EXPECT_NE(viewer_->Command1()->pictures().down.cacheKey(),
            viewer_->Command6()->pictures().down.cacheKey());
  QTest::mouseRelease(viewer_->Picture6(), Qt::LeftButton);
  EXPECT_EQ(Key(viewer_->Picture6()),
            viewer_->Command1()->pictures().normal.cacheKey());
}

TEST_F(ViewerTest, ClickingTheExitImageEndsTheProgramThroughTheUnload) {
  viewer_->show();
  QTest::mouseClick(viewer_->Picture5(), Qt::LeftButton);
  EXPECT_TRUE(ender_.ended);
  EXPECT_FALSE(viewer_->Timer1()->isActive());
  EXPECT_FALSE(viewer_->Command6()->isEnabled());
  EXPECT_EQ(launch_state().viewer_ready, 0);
  EXPECT_EQ(launch_state().recorder_loaded, 0);
  EXPECT_EQ(app_->recorder(), nullptr);
  EXPECT_FALSE(Exists("popstop.txt"));
  EXPECT_FALSE(Exists("popup.txt"));
}

TEST_F(ViewerTest, EndOnRequestLeavesTheAnswerAndNoStoppingMarker) {
  app_->state().launch.exit_on_request = 1;
  viewer_->Command6()->Press();
  EXPECT_TRUE(ender_.ended);
  EXPECT_EQ(temp_.ReadFile("popup.txt"), "popup");
  EXPECT_FALSE(Exists("popstop.txt"));
}

TEST_F(ViewerTest, ExitDoesNothingWhileDisabled) {
  app_->state().launch.exit_enabled = 0;
  viewer_->Command6()->Press();
  EXPECT_FALSE(ender_.ended);
  EXPECT_TRUE(viewer_->Timer1()->isActive());
}

TEST_F(ViewerTest, TimerRunsThePlayerTickWhilePlayingElseTheRecordingTick) {
  int player = 0, recording = 0;
  viewer_->player_tick = [&] { ++player; };
  viewer_->recording_tick = [&](int16_t& busy) {
    ++recording;
    viewer_->Timer1_Timer();  // a nested tick is dropped
    busy = 0;
  };
  viewer_->Timer1_Timer();
  app_->state().activity.is_playing = 1;
  viewer_->Timer1_Timer();
  viewer_->Timer1_Timer();
  EXPECT_EQ(recording, 1);
  EXPECT_EQ(player, 2);
}

TEST_F(ViewerTest, TickThatLeavesTheFlagSetBlocksLaterTicks) {
  int recording = 0;
  viewer_->recording_tick = [&](int16_t&) { ++recording; };
  viewer_->Timer1_Timer();
  viewer_->Timer1_Timer();
  EXPECT_EQ(recording, 1);
}

TEST_F(ViewerTest, StopDuringALaunchPlaybackEndsOrReturnsToTheRecorder) {
  int size_presses = 0;
  app_->recorder()->Command8()->SetHandler([&] { ++size_presses; });
  app_->recorder()->hide();
  LaunchState& launch = app_->state().launch;
  launch.play_file_name = "m.vrc";
  launch.return_to_recorder = 1;
  viewer_->Command1()->Press();
  EXPECT_FALSE(ender_.ended);
  EXPECT_TRUE(launch.play_file_name.isEmpty());
  EXPECT_EQ(launch.return_to_recorder, 0);
  EXPECT_TRUE(app_->recorder()->isVisible());
  EXPECT_EQ(size_presses, 1);

  launch.play_file_name = "m.vrc";
  viewer_->Command1()->Press();
  EXPECT_TRUE(ender_.ended);
}

TEST_F(ViewerTest, DragEndWithoutAnX11DesktopPausesAndDoesNothingElse) {
  QGuiApplication::clipboard()->setText("kept");
  const size_t shown = presenter_.messages.size();
  const double start = clock_.Now();
  viewer_->Command12()->Press();
  EXPECT_GT(clock_.Now() - start, 1.0);
  EXPECT_EQ(presenter_.messages.size(), shown);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

}  // namespace
}  // namespace vocapost
