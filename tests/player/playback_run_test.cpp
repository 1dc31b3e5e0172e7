// Playback as the running program does it: launched or pressed, then driven
// by the windows' own timers with the event loop run to a deadline.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/settings.h"
#include "message/message_writer.h"
#include "platform/display/screen_placement.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class PlaybackRunTest : public testing::AppTest {
 protected:
  PlaybackRunTest() { wave_.report_played_blocks = true; }
  MKERForm1& recorder() { return *app_->recorder(); }
  Viewer& viewer() { return *app_->viewer(); }
  const AppState& state() { return app_->state(); }
  // A message recorded at the size of `size_button` by the program's own
  // codec: `records` frames, each after an audio record when `audio`.
  void MakeMessage(const QString& name, int size_button, int records,
                   bool audio) {
    recorder().Command(size_button)->Press();
    MessageWriter writer;
    ASSERT_TRUE(writer.BeginFile(name));
    for (int i = 0; i < records; ++i) {
      if (audio) {
        ASSERT_TRUE(writer.AppendAudio(QByteArray(1105, static_cast<char>(i))));
      }
      const int32_t length = app_->video().CompressCurrentFrame();
      ASSERT_GT(length, 48);
      ASSERT_TRUE(writer.AppendVideo(QByteArray(
          reinterpret_cast<const char*>(app_->video().compressed_frame()),
          length)));
    }
    ASSERT_TRUE(writer.Finish());
  }
  void PlayCurrentRecording(const QString& name) {
    recorder().ShowRecordingName(name);
    recorder().Command4()->Press();
  }
  // Lets the timers play until the playback ends.
  bool PlayToTheEnd(int seconds = 10) {
    return QTest::qWaitFor([this] { return state().activity.is_playing == 0; },
                           seconds * 1000);
  }
  // Another running copy that makes way when a new copy asks it to.
  void StartAnsweringCopy() {
    other_ = std::make_unique<WindowRegistry>(registry_dir());
    other_->Publish({"Vocapost "});
    QObject::connect(&answer_, &QTimer::timeout, [this] {
      if (!Exists("pop.txt")) return;
      std::filesystem::remove(temp_.home() / "pop.txt");
      temp_.WriteFile("popup.txt", "popup");
      other_.reset();
      answer_.stop();
    });
    answer_.start(0);
  }

  std::unique_ptr<WindowRegistry> other_;
  QTimer answer_;
};

TEST_F(PlaybackRunTest, LargeMessageInAFreshCopyKeepsMovingBetweenKeyFrames) {
  // Recorded steadily at 240 x 180: a key frame only every 51 frames.
  ASSERT_EQ(Start(), StartResult::kRunning);
  MakeMessage("m.vrc", 10, 40, false);
  app_.reset();
  app_ = MakeApp(wave_);
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  ASSERT_EQ(state().activity.is_playing, 1);
  int frames = 0, undrawn = 0;
  const std::function<void()> tick = viewer().player_tick;
  viewer().player_tick = [&] {
    const qint64 before = viewer().Picture2()->pixmap().cacheKey();
    tick();
    if (state().activity.is_playing == 0) return;
    ++frames;
    if (viewer().Picture2()->pixmap().cacheKey() == before) ++undrawn;
  };
  // Long enough for the Recorder's timer to tick several times meanwhile.
  ASSERT_TRUE(PlayToTheEnd());
  EXPECT_EQ(frames, 40);
  EXPECT_EQ(undrawn, 0) << "frames the decoder refused";
  EXPECT_TRUE(ender_.ended) << "a launch's message ends the program";
}

TEST_F(PlaybackRunTest, MinimisedViewerIsShownRestoredAndCentredForItsSize) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MakeMessage("small.vrc", 8, 3, true);
  MakeMessage("large.vrc", 10, 3, true);
  recorder().Command8()->Press();
  PlayCurrentRecording("small.vrc");
  viewer().showMinimized();
  ASSERT_TRUE(PlayToTheEnd());
  ASSERT_TRUE(viewer().isMinimized());
  // The same size again: no resize that could restore it.
  PlayCurrentRecording("small.vrc");
  EXPECT_TRUE(viewer().isVisible());
  EXPECT_FALSE(viewer().isMinimized());
  recorder().Command14()->Press();
  // Play of the larger message changes the size before the Viewer shows.
  PlayCurrentRecording("large.vrc");
  EXPECT_EQ(viewer().Picture2()->size(), QSize(244, 183));
  EXPECT_NEAR(viewer().frameGeometry().center().y(), ScreenArea().center().y(),
              1)
      << "centred by its height after the size change";
}

TEST_F(PlaybackRunTest, SizeTheDeviceRefusesPlaysOnAtTheCurrentSize) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MakeMessage("m.vrc", 6, 3, true);
  recorder().Command8()->Press();
  app_->state().video.size_supported[0] = 0;  // no 80 x 60 any more
  // Should the probe wait for good, this ends it so that the test can fail.
  bool waited_for_good = false;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    waited_for_good = state().video.size_change_busy == 1;
    app_->state().video.size_change_busy = 0;
  });
  watchdog.start(3000);
  PlayCurrentRecording("m.vrc");
  EXPECT_FALSE(waited_for_good);
  EXPECT_EQ(state().video.size_change_busy, 0);
  EXPECT_TRUE(Logged().contains(
      "\tYou video capture device does not support capture at this size.\n"));
  EXPECT_EQ(state().values.display_width, 160);
  ASSERT_EQ(state().activity.is_playing, 1);
  ASSERT_TRUE(PlayToTheEnd());
  EXPECT_EQ(wave_.played_sizes.size(), 3u);
}

TEST_F(PlaybackRunTest, CurrentRecordingIsReplayedAtItsSizeOnEveryPress) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MakeMessage("r.vrc", 10, 4, true);
  recorder().Command8()->Press();
  for (const size_t played : {4u, 8u}) {
    PlayCurrentRecording("r.vrc");
    EXPECT_EQ(state().values.display_width, 240);
    ASSERT_EQ(state().activity.is_playing, 1);
    ASSERT_TRUE(PlayToTheEnd());
    EXPECT_EQ(wave_.played_sizes.size(), played);
    EXPECT_FALSE(viewer().isVisible());
  }
  EXPECT_FALSE(ender_.ended);
}

TEST_F(PlaybackRunTest, HalfDuplexStartsThePlayerAtPlayAndStopsItAtTheEnd) {
  struct Case {
    const char* full_duplex;
    bool player_started_and_stopped;
  };
  for (const Case c : {Case{"0", true}, Case{"1", false}}) {
    SCOPED_TRACE(c.full_duplex);
    app_.reset();
    app_ = MakeApp(wave_);
    ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                              "FullDuplex", c.full_duplex));
    ASSERT_EQ(Start(), StartResult::kRunning);
    MakeMessage("m.vrc", 8, 3, true);
    wave_.calls.clear();
    PlayCurrentRecording("m.vrc");
    const auto started = std::count(wave_.calls.begin(), wave_.calls.end(),
                                    QString("StartWavePlayerRaw"));
    EXPECT_EQ(started, c.player_started_and_stopped ? 1 : 0);
    ASSERT_TRUE(PlayToTheEnd());
    ASSERT_FALSE(wave_.calls.empty());
    const auto stopped = std::count(wave_.calls.begin(), wave_.calls.end(),
                                    QString("StopWavePlayer"));
    EXPECT_EQ(stopped, c.player_started_and_stopped ? 1 : 0);
    EXPECT_EQ(wave_.calls.back(), c.player_started_and_stopped
                                      ? "StopWavePlayer"
                                      : "CopyRawBufferWavePlayer")
        << "every block handed over before the player stops";
  }
}

TEST_F(PlaybackRunTest, HandedOverLaunchReturnsToTheRecorderAtTheEnd) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MakeMessage("m.vrc", 10, 3, true);
  app_.reset();
  app_ = MakeApp(wave_);
  StartAnsweringCopy();
  ASSERT_EQ(Start("m.vrc"), StartResult::kRunning);
  ASSERT_EQ(state().launch.return_to_recorder, 1);
  ASSERT_EQ(state().values.display_width, 240);
  ASSERT_FALSE(recorder().isVisible());
  ASSERT_TRUE(PlayToTheEnd());
  EXPECT_FALSE(ender_.ended);
  EXPECT_TRUE(recorder().isVisible());
  EXPECT_EQ(state().values.display_width, 160);
  EXPECT_TRUE(state().launch.play_file_name.isEmpty());
  EXPECT_EQ(state().launch.return_to_recorder, 0);
  EXPECT_FALSE(viewer().isVisible());
}

TEST_F(PlaybackRunTest, StopImageInRecorderModeOnlyStopsThePlayback) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MakeMessage("m.vrc", 8, 20, true);
  PlayCurrentRecording("m.vrc");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer()));
  QTest::mouseClick(viewer().Picture6(), Qt::LeftButton);
  EXPECT_EQ(state().activity.is_playing, 0);
  EXPECT_FALSE(viewer().isVisible());
  EXPECT_FALSE(Exists("popplay.txt"));
  EXPECT_FALSE(ender_.ended);
  EXPECT_TRUE(recorder().isVisible());
  EXPECT_LT(wave_.played_sizes.size(), 20u);
}

}  // namespace
}  // namespace vocapost
