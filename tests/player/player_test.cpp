// Playback: the engine, the Viewer window and its layout.
#include <gtest/gtest.h>

#include <QTest>

#include "message/message_writer.h"
#include "player/playback_timing.h"
#include "player/player_engine.h"
#include "player/viewer.h"
#include "player/viewer_layout.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {

class PlayerTest : public testing::AppTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), StartResult::kRunning); }
  Viewer& viewer() { return *app_->viewer(); }
  // `records` sound records, each followed by a 160 × 120 frame of the
  // program's own codec when `frames`; with `audio` false, the frames alone.
  void MakeMessage(const QString& name, int records, bool frames,
                   bool audio = true) {
    MessageWriter writer;
    ASSERT_TRUE(writer.BeginFile(name));
    for (int i = 0; i < records; ++i) {
      ASSERT_TRUE(!audio || writer.AppendAudio(QByteArray(1105, 'a')));
      if (!frames) continue;
      const int32_t length = app_->video().CompressCurrentFrame();
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
  int TicksUntilDone() {
    int ticks = 0;
    while (app_->state().activity.is_playing == 1 && ticks < 200) {
      viewer().Timer1_Timer();
      app_->state().audio.queued_play_buffers = 0;  // the fake plays at once
      ++ticks;
    }
    return ticks;
  }
};

// A recorder-mode playback returns to the Recorder; so does a launch's that
// took over from one, at Stop. Frames too long for the buffer, or whose data
// claim more than they have, are passed over.
TEST_F(PlayerTest, PlayMarksTheCopyBusyAndReturnsToTheRecorder) {
  MakeMessage("m.vrc", 3, true);
  PlayFile("m.vrc");
  EXPECT_EQ(TicksUntilDone(), 7) << "one record a tick, then the end";
  EXPECT_EQ(wave_.played_sizes, (std::vector<int32_t>{1105, 1105, 1105}));
  EXPECT_FALSE(viewer().isVisible());
  EXPECT_FALSE(Exists("popplay.txt"));
  EXPECT_FALSE(ender_.ended);
  QByteArray lying(100, '\0');
  lying[4] = static_cast<char>(160);
  lying[8] = static_cast<char>(120);
  lying[20] = static_cast<char>(0xff);  // 255 payload bytes in 100
  temp_.WriteFile("bad.vrc", "IMG12000  " + QByteArray(12000, '\x7f') +
                                 "IMG100    " + lying + "WAV1105   " +
                                 QByteArray(1105, 'a'));
  wave_.played_sizes.clear();
  for (const int16_t audio : {0, 2}) {
    app_->state().audio.audio_capability = audio;
    PlayFile("bad.vrc");
    EXPECT_EQ(TicksUntilDone(), 4);
  }
  EXPECT_EQ(wave_.played_sizes, std::vector<int32_t>{1105}) << "audio only";
  recorder().Command(10)->Press();  // played at 240 × 180
  recorder().hide();
  LaunchState& launch = app_->state().launch;
  launch.play_file_name = "m.vrc";
  launch.return_to_recorder = 1;
  recorder().Command(4)->Press();
  ASSERT_EQ(app_->state().values.display_width, 240);
  viewer().Command1()->Press();
  EXPECT_TRUE(recorder().isVisible());
  EXPECT_EQ(app_->state().values.display_width, 160);
  EXPECT_TRUE(launch.play_file_name.isEmpty());
}

TEST_F(PlayerTest, NothingIsReadWhileTwoBlocksAreQueued) {
  MakeMessage("m.vrc", 3, false);
  PlayFile("m.vrc");
  for (int i = 0; i < 3; ++i) viewer().Timer1_Timer();
  EXPECT_EQ(wave_.played_sizes.size(), 2u);
  app_->audio().WaveWindowProcedure(kPlayedBlockMessage, 0, 77, {});
  viewer().Timer1_Timer();
  EXPECT_EQ(wave_.played_sizes.size(), 3u);
}

TEST_F(PlayerTest, FrameWidthChoosesTheSizeAndTheZoomLabel) {
  recorder().Command(6)->Press();  // 80 × 60
  MakeMessage("s.vrc", 1, true);
  recorder().Command(9)->Press();  // 200 × 150
  MakeMessage("w.vrc", 2, true);
  // Another zoom first, so that only the message's own can give "1.0".
  app_->state().activity.recorded_width_twips = 1200;
  recorder().Command(8)->Press();
  ASSERT_EQ(viewer().Label1()->text(), "2.1");
  app_->player().OpenMessageForPlay("w.vrc");
  EXPECT_EQ(app_->state().values.display_width, 200);
  EXPECT_EQ(app_->state().activity.recorded_width_twips, 3000);
  EXPECT_EQ(viewer().Label1()->text(), "1.0");  // (200 + 4) × 15 / 3000
  // The window is the picture and its border plus 300 twips (20 pixels).
  EXPECT_EQ(viewer().width() - viewer().Picture2()->width(), 20);
  // A size the device refuses: played at the display's, with no wait for good.
  app_->state().video.size_supported[0] = 0;  // 80 × 60 no more
  app_->player().OpenMessageForPlay("s.vrc");
  EXPECT_EQ(app_->state().video.size_change_busy, 0);
  EXPECT_EQ(app_->state().values.display_width, 200);
}

// What Play says when it cannot start, cannot read the message or the sound
// device refuses a block; without a camera the Viewer shows the audio-only
// picture.
TEST_F(PlayerTest, PlayTellsWhatStopsItAndShowsThePictureForSound) {
  MakeMessage("m.vrc", 2, false);
  recorder().Command(4)->Press();  // no current recording
  recorder().Command(2)->Press();
  PlayFile("m.vrc");
  EXPECT_EQ(app_->state().activity.is_playing, 0);
  recorder().Command(14)->Press();
  namespace fs = std::filesystem;
  fs::permissions(temp_.home(), fs::perms::all);
  fs::permissions(temp_.home() / "m.vrc", fs::perms::none);
  {
    const testing::UnprivilegedFiles nobody;
    PlayFile("m.vrc");
  }
  fs::permissions(temp_.home(), fs::perms::owner_all);
  fs::permissions(temp_.home() / "m.vrc", fs::perms::owner_all);
  EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
            "The message m.vrc cannot be read (Permission denied).");
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

// Played by the windows' own timers, the event loop run to a deadline.
TEST_F(PlayerTest, LargeMessageInAFreshCopyKeepsMovingBetweenKeyFrames) {
  // Recorded steadily at 240 x 180: a key frame only every 51 frames.
  recorder().Command(10)->Press();
  MakeMessage("m.vrc", 40, true, false);
  app_.reset();
  wave_.report_played_blocks = true;
  app_ = MakeApp(wave_);
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
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

// A recording tick runs alone and its flag left set drops later ticks;
// without an X11 desktop the end of a drag only waits a little. The image
// buttons press Stop and Exit, Exit only once exit is no longer held back.
TEST_F(PlayerTest, ViewerTicksDragEndAndImageButtons) {
  int ticks = 0;
  viewer().recording_tick = [&](int16_t& busy) {
    ++ticks;
    viewer().Timer1_Timer();  // a nested tick is dropped
    busy = ticks > 1 ? 1 : 0;
  };
  for (int i = 0; i < 3; ++i) viewer().Timer1_Timer();
  EXPECT_EQ(ticks, 2);
  const double start = clock_.Now();
  viewer().Command12()->Press();
  EXPECT_GT(clock_.Now() - start, 1.0);
  viewer().show();
  int stops = 0;
  viewer().Command1()->SetHandler([&] { ++stops; });
  QTest::mousePress(viewer().Picture6(), Qt::LeftButton);
  EXPECT_EQ(viewer().Picture6()->pixmap().cacheKey(),
            viewer().Command1()->pictures().down.cacheKey());
  QTest::mouseRelease(viewer().Picture6(), Qt::LeftButton);
  EXPECT_EQ(stops, 1);
  for (const int16_t enabled : {0, 1}) {
    app_->state().launch.exit_enabled = enabled;
    QTest::mouseClick(viewer().Picture5(), Qt::LeftButton);
    EXPECT_EQ(ender_.ended, enabled == 1);
  }
}

TEST(ViewerLayoutTest, WindowKeepsFourToThreeWithinItsSmallestAndLargestWidth) {
  const struct {
    double width, window_width, picture_height;  // twips
  } cases[] = {
      {1500, 1500, 900},
      {600, 1350, 1050 * 68 / 90.0},  // 67.5 pixels high -> 68
      {640 * 15, 9600, 9300 * 0.75},
      {641 * 15, 1350, 1050 * 0.75},
  };
  for (const auto& c : cases) {
    ViewerLayoutInput input;
    input.window_width = c.width;
    const ViewerLayout l = ComputeViewerLayout(input);
    EXPECT_EQ(l.window_width, c.window_width) << c.width;
    EXPECT_DOUBLE_EQ(l.picture_height, c.picture_height) << c.width;
  }
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
