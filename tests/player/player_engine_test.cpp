#include "player/player_engine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "message/message_writer.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/artifacts.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {

class PlayerEngineTest : public testing::AppTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), StartResult::kRunning); }
  MKERForm1& recorder() { return *app_->recorder(); }
  Viewer& viewer() { return *app_->viewer(); }
  PlayerEngine& player() { return app_->player(); }
  // A message of `audio` audio records, with a 160 × 120 frame after each
  // when `frames`, compressed by the program's own codec.
  void MakeMessage(const QString& name, int audio, bool frames) {
    MessageWriter writer;
    ASSERT_TRUE(writer.BeginFile(name));
    for (int i = 0; i < audio; ++i) {
      ASSERT_TRUE(writer.AppendAudio(QByteArray(1105, static_cast<char>(i))));
      if (!frames) continue;
      const int32_t length = app_->video().CompressCurrentFrame();
      ASSERT_GT(length, 48);
      ASSERT_TRUE(writer.AppendVideo(QByteArray(
          reinterpret_cast<const char*>(app_->video().compressed_frame()),
          length)));
    }
    ASSERT_TRUE(writer.Finish());
  }
  void PlayFile(const QString& name) {
    app_->state().launch.selected_play_file = name;
    recorder().Command(4)->Press();
  }
  // Runs ticks as the Viewer's timer would, letting played blocks come back.
  int TicksUntilDone(int most = 200) {
    int ticks = 0;
    while (app_->state().activity.is_playing == 1 && ticks < most) {
      viewer().Timer1_Timer();
      app_->state().audio.queued_play_buffers = 0;  // the fake plays at once
      ++ticks;
    }
    return ticks;
  }
};

TEST_F(PlayerEngineTest, PlayShowsTheViewerAndMarksTheCopyBusy) {
  MakeMessage("m.vrc", 3, true);
  PlayFile("m.vrc");
  EXPECT_EQ(app_->state().activity.is_playing, 1);
  EXPECT_TRUE(viewer().isVisible());
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_FALSE(recorder().Command(2)->isEnabled());
  EXPECT_EQ(TicksUntilDone(), 7) << "one record a tick, then the end";
  EXPECT_EQ(wave_.played_sizes, (std::vector<int32_t>{1105, 1105, 1105}));
  EXPECT_FALSE(viewer().isVisible());
  EXPECT_FALSE(Exists("popplay.txt"));
  EXPECT_TRUE(recorder().Command(2)->isEnabled());
  EXPECT_FALSE(ender_.ended)
      << "a recorder-mode playback returns to the Recorder";
}

TEST_F(PlayerEngineTest, MessageThatCannotBeReadIsToldAndNothingPlays) {
  MakeMessage("m.vrc", 3, true);
  std::filesystem::permissions(temp_.home(), std::filesystem::perms::all);
  std::filesystem::permissions(temp_.home() / "m.vrc",
                               std::filesystem::perms::none);
  {
    const testing::UnprivilegedFiles nobody;
    PlayFile("m.vrc");
  }
  std::filesystem::permissions(temp_.home(), std::filesystem::perms::owner_all);
  EXPECT_EQ(app_->state().activity.is_playing, 0);
  EXPECT_FALSE(viewer().isVisible());
  EXPECT_FALSE(Exists("popplay.txt"));
  ASSERT_NE(app_->messages().error_form(), nullptr);
  EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
            "The message m.vrc cannot be read (Permission denied).");
}

TEST_F(PlayerEngineTest, FramesAreDrawnAndChange) {
  MakeMessage("m.vrc", 4, true);
  PlayFile("m.vrc");
  viewer().Timer1_Timer();  // audio
  viewer().Timer1_Timer();  // frame
  const QImage first = viewer().Picture2()->pixmap().toImage();
  ASSERT_FALSE(first.isNull());
  EXPECT_NE(first.pixelColor(first.width() / 2, first.height() / 2),
            QColor(Qt::black));
  app_->state().audio.queued_play_buffers = 0;
  viewer().Timer1_Timer();
  viewer().Timer1_Timer();
  EXPECT_NE(viewer().Picture2()->pixmap().toImage(), first);
}

TEST_F(PlayerEngineTest, NothingIsReadWhileTwoBlocksAreQueued) {
  MakeMessage("m.vrc", 3, false);
  PlayFile("m.vrc");
  viewer().Timer1_Timer();
  viewer().Timer1_Timer();
  EXPECT_EQ(app_->state().audio.queued_play_buffers, 2);
  viewer().Timer1_Timer();
  viewer().Timer1_Timer();
  EXPECT_EQ(wave_.played_sizes.size(), 2u);
  app_->audio().WaveWindowProcedure(kPlayedBlockMessage, 0, 77, {});
  viewer().Timer1_Timer();
  EXPECT_EQ(wave_.played_sizes.size(), 3u);
}

TEST_F(PlayerEngineTest, AudioOnlyMessagePlaysAt160By120WithoutZoomLabel) {
  recorder().Command(10)->Press();
  MakeMessage("v.vrc", 1, true);
  MakeMessage("a.vrc", 2, false);
  // After a 240 × 180 message, whose zoom label shows.
  player().OpenMessageForPlay("v.vrc");
  ASSERT_EQ(app_->state().values.display_width, 240);
  ASSERT_TRUE(viewer().Label1()->isVisibleTo(&viewer()));
  player().OpenMessageForPlay("a.vrc");
  EXPECT_EQ(app_->state().values.display_width, 160);
  EXPECT_EQ(app_->state().activity.recorded_width_twips, 0);
  EXPECT_FALSE(viewer().Label1()->isVisibleTo(&viewer()));
}

TEST_F(PlayerEngineTest, FrameWidthChoosesTheSizeAndTheZoomLabel) {
  recorder().Command(9)->Press();  // 200 × 150
  MakeMessage("w.vrc", 2, true);
  // Another zoom first, so that only the message's own can give "1.0".
  app_->state().activity.recorded_width_twips = 1200;
  recorder().Command(8)->Press();
  ASSERT_EQ(viewer().Label1()->text(), "2.1");
  player().OpenMessageForPlay("w.vrc");
  EXPECT_EQ(app_->state().values.display_width, 200);
  EXPECT_EQ(app_->state().activity.recorded_width_twips, 3000);
  EXPECT_TRUE(viewer().Label1()->isVisibleTo(&viewer()));
  EXPECT_EQ(viewer().Label1()->text(), "1.0");  // (200 + 4) × 15 / 3000
}

// The share of the position bar that is filled: its lighter pixels.
double PositionShown(const QLabel& bar) {
  const QImage image = bar.pixmap().toImage();
  if (image.isNull()) return -1;
  const int y = image.height() / 2;
  int filled = 0;
  for (int x = 0; x < image.width(); ++x)
    filled += QColor(image.pixel(x, y)).lightness() > 128 ? 1 : 0;
  return double(filled) / image.width();
}

TEST_F(PlayerEngineTest, PlayBringsTheViewerInFrontActiveWithItsPosition) {
  struct Case {
    int size_button;
    QSize picture;  // the frame and the capture window's border
    const char* shot;
  };
  viewer().Timer1()->stop();  // the ticks are the test's own
  for (const Case& c : {Case{8, {164, 123}, "viewer-160x120"},
                        Case{10, {244, 183}, "viewer-240x180"}}) {
    SCOPED_TRACE(c.shot);
    recorder().Command(c.size_button)->Press();
    MakeMessage("m.vrc", 8, true);
    // This platform activates any window it maps: the Viewer is left up
    // behind the active Recorder, so that only Play can bring it forward.
    viewer().show();
    recorder().show();
    recorder().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&recorder()));
    // Play of the current recording, which sizes the Viewer for it.
    recorder().ShowRecordingName("m.vrc");
    recorder().Command(4)->Press();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&viewer()));
    EXPECT_EQ(QApplication::activeWindow(), &viewer());
    EXPECT_EQ(viewer().Picture2()->size(), c.picture);
    EXPECT_TRUE(viewer().Label1()->isVisible());
    EXPECT_EQ(viewer().Label1()->text(), "1.0");
    const QLabel& bar = *viewer().Picture3();
    EXPECT_TRUE(viewer().rect().contains(bar.geometry()));
    EXPECT_GE(bar.y(), viewer().Picture5()->geometry().bottom())
        << "under the bottom row";
    EXPECT_LT(PositionShown(bar), 0.05);
    std::vector<double> shown;
    while (app_->state().activity.is_playing == 1 && shown.size() < 40) {
      viewer().Timer1_Timer();
      app_->state().audio.queued_play_buffers = 0;
      if (app_->state().activity.is_playing == 0) break;
      shown.push_back(PositionShown(bar));
      if (shown.size() == 8) {
        EXPECT_TRUE(testing::SaveArtifact(viewer(), c.shot));
        EXPECT_GT(shown.back(), 0.2);
        EXPECT_LT(shown.back(), 0.8);
      }
    }
    ASSERT_GT(shown.size(), 8u);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  }
}

TEST_F(PlayerEngineTest, FileWithAnotherFirstTagEndsAtTheFirstTick) {
  temp_.WriteFile("x.vrc", "RIFF1234  " + QByteArray(1234, 'x'));
  PlayFile("x.vrc");
  EXPECT_TRUE(viewer().isVisible());
  viewer().Timer1_Timer();
  EXPECT_EQ(app_->state().activity.is_playing, 0);
  EXPECT_FALSE(viewer().isVisible());
  EXPECT_FALSE(Exists("popplay.txt"));
}

TEST_F(PlayerEngineTest, SecondPlayIsIgnoredAndPlayWhileRecordingIsRefused) {
  MakeMessage("m.vrc", 3, false);
  PlayFile("m.vrc");
  PlayFile("m.vrc");
  viewer().Timer1_Timer();
  EXPECT_EQ(wave_.played_sizes.size(), 1u);
  recorder().Command(14)->Press();
  EXPECT_EQ(app_->state().activity.is_playing, 0);
  recorder().Command(2)->Press();
  PlayFile("m.vrc");
  EXPECT_TRUE(Logged().contains("\tRecording, Please Stop First\n"));
  EXPECT_EQ(app_->state().activity.is_playing, 0);
}

TEST_F(PlayerEngineTest, WithoutAudioRecordsRunOneATick) {
  MakeMessage("m.vrc", 5, true);
  app_->state().audio.audio_capability = 0;
  PlayFile("m.vrc");
  EXPECT_EQ(TicksUntilDone(), 11);
  EXPECT_TRUE(wave_.played_sizes.empty());
}

TEST_F(PlayerEngineTest, RefusedBlockIsReportedAndPlaybackGoesOn) {
  MakeMessage("m.vrc", 2, false);
  wave_.copy_player_result = -3;
  PlayFile("m.vrc");
  viewer().Timer1_Timer();
  EXPECT_TRUE(Logged().contains("\tplay error -3\n"));
  EXPECT_EQ(app_->state().activity.is_playing, 1);
}

TEST_F(PlayerEngineTest, StopDuringALaunchPlaybackEndsOrReturns) {
  recorder().Command(10)->Press();
  MakeMessage("m.vrc", 3, true);  // played at 240 × 180
  LaunchState& launch = app_->state().launch;
  launch.play_file_name = "m.vrc";
  launch.return_to_recorder = 1;
  recorder().hide();
  recorder().Command(4)->Press();
  ASSERT_EQ(app_->state().activity.is_playing, 1);
  ASSERT_EQ(app_->state().values.display_width, 240);
  viewer().Command1()->Press();
  EXPECT_FALSE(ender_.ended);
  EXPECT_TRUE(recorder().isVisible());
  EXPECT_EQ(app_->state().values.display_width, 160);

  launch.play_file_name = "m.vrc";
  launch.play_file_taken = 0;
  launch.return_to_recorder = 0;
  recorder().Command(4)->Press();
  viewer().Command1()->Press();
  EXPECT_TRUE(ender_.ended);
}

TEST_F(PlayerEngineTest, LaunchPlaybackEndsTheProgramAtTheEnd) {
  MakeMessage("m.vrc", 2, false);
  LaunchState& launch = app_->state().launch;
  launch.play_file_name = "m.vrc";
  recorder().Command(4)->Press();
  TicksUntilDone();
  EXPECT_TRUE(ender_.ended);
}

TEST_F(PlayerEngineTest, OversizedOrLyingFramesAreSkippedAndPlaybackGoesOn) {
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginFile("bad.vrc"));
  ASSERT_TRUE(
      writer.AppendVideo(QByteArray(12000, '\x7f')));  // longer than the buffer
  QByteArray lying(100, '\0');
  lying[4] = static_cast<char>(160);
  lying[8] = static_cast<char>(120);
  lying[20] =
      static_cast<char>(0xff);  // claims 255 payload bytes in a 100-byte record
  ASSERT_TRUE(writer.AppendVideo(lying));
  ASSERT_TRUE(writer.AppendAudio(QByteArray(1105, 'a')));
  ASSERT_TRUE(writer.Finish());
  PlayFile("bad.vrc");
  EXPECT_EQ(TicksUntilDone(), 4);
  EXPECT_EQ(wave_.played_sizes, std::vector<int32_t>{1105})
      << "the sound after them still plays";
}

TEST_F(PlayerEngineTest, UnknownFileGivesThePlayButtonsMessage) {
  recorder().Command(4)->Press();
  EXPECT_TRUE(Logged().contains(
      "\tYou can only use the Play button to replay the current "));
  EXPECT_EQ(app_->state().activity.is_playing, 0);
}

}  // namespace
}  // namespace vocapost
