#include "player/player_engine.h"

#include <gtest/gtest.h>

#include <QTest>

#include "message/message_writer.h"
#include "player/playback_timing.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {

class PlayerEngineTest : public testing::AppTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), StartResult::kRunning); }
  MKERForm1& recorder() { return *app_->recorder(); }
  Viewer& viewer() { return *app_->viewer(); }
  // A message of `records` audio records, each followed by a 160 × 120 frame
  // when `frames`, compressed by the program's own codec; with `audio` false,
  // of the frames alone.
  void MakeMessage(const QString& name, int records, bool frames,
                   bool audio = true) {
    MessageWriter writer;
    ASSERT_TRUE(writer.BeginFile(name));
    for (int i = 0; i < records; ++i) {
      if (audio) {
        ASSERT_TRUE(writer.AppendAudio(QByteArray(1105, static_cast<char>(i))));
      }
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
  EXPECT_TRUE(viewer().isVisible());
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_EQ(TicksUntilDone(), 7) << "one record a tick, then the end";
  EXPECT_EQ(wave_.played_sizes, (std::vector<int32_t>{1105, 1105, 1105}));
  EXPECT_FALSE(viewer().isVisible());
  EXPECT_FALSE(Exists("popplay.txt"));
  EXPECT_TRUE(recorder().Command(2)->isEnabled()) << "enabled again";
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
  EXPECT_FALSE(Exists("popplay.txt"));
  ASSERT_NE(app_->messages().error_form(), nullptr);
  EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
            "The message m.vrc cannot be read (Permission denied).");
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

TEST_F(PlayerEngineTest, FrameWidthChoosesTheSizeAndTheZoomLabel) {
  recorder().Command(6)->Press();  // 80 × 60
  MakeMessage("s.vrc", 1, true);
  recorder().Command(9)->Press();  // 200 × 150
  MakeMessage("w.vrc", 2, true);
  MakeMessage("a.vrc", 2, false);
  // Another zoom first, so that only the message's own can give "1.0".
  app_->state().activity.recorded_width_twips = 1200;
  recorder().Command(8)->Press();
  ASSERT_EQ(viewer().Label1()->text(), "2.1");
  app_->player().OpenMessageForPlay("w.vrc");
  EXPECT_EQ(app_->state().values.display_width, 200);
  EXPECT_EQ(app_->state().activity.recorded_width_twips, 3000);
  EXPECT_TRUE(viewer().Label1()->isVisibleTo(&viewer()));
  EXPECT_EQ(viewer().Label1()->text(), "1.0");  // (200 + 4) × 15 / 3000
  // The window is the picture and its border plus 300 twips (20 pixels).
  EXPECT_EQ(viewer().width() - viewer().Picture2()->width(), 20);
  // A message of sound alone plays at 160 × 120 without the label.
  app_->player().OpenMessageForPlay("a.vrc");
  EXPECT_EQ(app_->state().values.display_width, 160);
  EXPECT_EQ(app_->state().activity.recorded_width_twips, 0);
  EXPECT_FALSE(viewer().Label1()->isVisibleTo(&viewer()));
  // A size the device refuses: played at the display's, with no wait for good.
  app_->state().video.size_supported[0] = 0;  // 80 × 60 no more
  app_->player().OpenMessageForPlay("s.vrc");
  EXPECT_EQ(app_->state().video.size_change_busy, 0);
  EXPECT_EQ(app_->state().values.display_width, 160);
}

// What Play says when it cannot start or the sound device refuses a block;
// without a camera the Viewer shows the audio-only picture.
TEST_F(PlayerEngineTest, PlayTellsWhatStopsItAndShowsThePictureForSound) {
  MakeMessage("m.vrc", 2, false);
  recorder().Command(4)->Press();  // no current recording
  recorder().Command(2)->Press();
  PlayFile("m.vrc");
  EXPECT_EQ(app_->state().activity.is_playing, 0);
  recorder().Command(14)->Press();
  QImage picture(32, 16, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  ASSERT_TRUE(picture.save("firsview.bmp", "BMP"));
  app_->state().video.no_capture = 1;
  wave_.copy_player_result = -3;
  PlayFile("m.vrc");
  EXPECT_EQ(viewer().Picture2()->pixmap().size(), QSize(32, 16));
  viewer().Timer1_Timer();
  EXPECT_EQ(app_->state().activity.is_playing, 1) << "it plays on";
  const QString logged = Logged();
  for (const char* told :
       {"\tYou can only use the Play button to replay the current ",
        "\tRecording, Please Stop First\n", "\tplay error -3\n"})
    EXPECT_TRUE(logged.contains(told)) << told;
}

// A launch's playback that took over from a Recorder returns to it, at Stop
// and at its end alike.
TEST_F(PlayerEngineTest, HandedOverLaunchPlaybackReturnsToTheRecorder) {
  MakeMessage("m.vrc", 3, true);
  LaunchState& launch = app_->state().launch;
  for (const bool at_stop : {true, false}) {
    SCOPED_TRACE(at_stop ? "stop" : "end");
    recorder().Command(10)->Press();  // played at 240 × 180
    recorder().hide();
    launch.play_file_name = "m.vrc";
    launch.play_file_taken = 0;
    launch.return_to_recorder = 1;
    recorder().Command(4)->Press();
    ASSERT_EQ(app_->state().values.display_width, 240);
    if (at_stop) {
      viewer().Command1()->Press();
    } else {
      TicksUntilDone();
    }
    EXPECT_FALSE(ender_.ended);
    EXPECT_TRUE(recorder().isVisible());
    EXPECT_EQ(app_->state().values.display_width, 160);
    EXPECT_TRUE(launch.play_file_name.isEmpty());
  }
}

TEST_F(PlayerEngineTest, RecordsPlayOneATickSkippingWhatCannotBeShown) {
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginFile("bad.vrc"));
  ASSERT_TRUE(writer.AppendVideo(QByteArray(12000, '\x7f')));  // too long
  QByteArray lying(100, '\0');
  lying[4] = static_cast<char>(160);
  lying[8] = static_cast<char>(120);
  lying[20] = static_cast<char>(0xff);  // 255 payload bytes in 100
  ASSERT_TRUE(writer.AppendVideo(lying));
  ASSERT_TRUE(writer.AppendAudio(QByteArray(1105, 'a')));
  ASSERT_TRUE(writer.Finish());
  MakeMessage("m.vrc", 5, true);
  temp_.WriteFile("x.vrc", "RIFF1234  " + QByteArray(1234, 'x'));
  const struct {
    const char* file;
    int16_t audio_capability;
    int ticks;
    std::vector<int32_t> played;
  } cases[] = {
      {"bad.vrc", 2, 4, {1105}},  // the sound after them still plays
      {"m.vrc", 0, 11, {}},       // without audio
      {"x.vrc", 2, 1, {}},        // another first tag
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    wave_.played_sizes.clear();
    app_->state().audio.audio_capability = c.audio_capability;
    PlayFile(c.file);
    EXPECT_EQ(TicksUntilDone(), c.ticks);
    EXPECT_EQ(wave_.played_sizes, c.played);
    EXPECT_FALSE(viewer().isVisible());
  }
}

// Played by the windows' own timers, the event loop run to a deadline.
TEST_F(PlayerEngineTest, LargeMessageInAFreshCopyKeepsMovingBetweenKeyFrames) {
  // Recorded steadily at 240 x 180: a key frame only every 51 frames.
  recorder().Command(10)->Press();
  MakeMessage("m.vrc", 40, true, false);
  app_.reset();
  wave_.report_played_blocks = true;
  app_ = MakeApp(wave_);
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  ASSERT_EQ(app_->state().activity.is_playing, 1);
  int frames = 0, undrawn = 0;
  const std::function<void()> tick = viewer().player_tick;
  viewer().player_tick = [&] {
    const qint64 before = viewer().Picture2()->pixmap().cacheKey();
    tick();
    if (app_->state().activity.is_playing == 0) return;
    ++frames;
    if (viewer().Picture2()->pixmap().cacheKey() == before) ++undrawn;
  };
  // Long enough for the Recorder's timer to tick several times meanwhile.
  ASSERT_TRUE(QTest::qWaitFor(
      [this] { return app_->state().activity.is_playing == 0; }, 10000));
  EXPECT_EQ(frames, 40);
  EXPECT_EQ(undrawn, 0) << "frames the decoder refused";
  EXPECT_TRUE(ender_.ended) << "a launch's message ends the program";
}

// The export's clock: a sound block that ends on a tick has left the queue
// by that tick, so the reader goes on at once.
TEST(PlaybackTimingTest, ReaderGoesOnTheTickTheFirstSoundEnds) {
  PlaybackTiming timing;
  const int64_t five_blocks = 5 * 65;  // 1600 samples, four ticks
  EXPECT_EQ(timing.ReadAudio(five_blocks), 0);
  EXPECT_EQ(timing.ReadAudio(five_blocks), 1600);
  EXPECT_EQ(timing.ReadOther(), 1600);
  EXPECT_EQ(timing.End(), 3200);
}

}  // namespace
}  // namespace vocapost
