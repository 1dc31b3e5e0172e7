// A real recording on the test devices: the paced tone as microphone, the
// test pattern as camera, real time.
#include <gtest/gtest.h>

#include "app/application.h"
#include "message/message_reader.h"
#include "platform/capture/test_pattern_driver.h"
#include "platform/wave/device_wave_library.h"
#include "recorder_ui/mker_form1.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class RecordingE2eTest : public testing::HomeTest {
 protected:
  IniSettingsStore settings_{QString::fromStdString(temp_.config().string())};
  SteadyClock clock_;
  FixedDisplayInfo display_{{32, 1}};
  RecordingPresenter presenter_;
  WindowRegistry registry_{temp_.root() / "registry"};
  RecordingEnd ender_;
  DeviceWaveLibrary wave_{MakeToneInput(), MakeDiscardOutput()};
  IniRegistryStore registry_store_{
      QString::fromStdString(temp_.config().string())};
  TestPatternDriver camera_;
  DiskFreeSpace free_space_;
  SystemWallClock wall_clock_;
  Application app_{{settings_, clock_, display_, presenter_, registry_, ender_,
                    wave_, registry_store_, camera_, free_space_, wall_clock_,
                    nullptr}};
};

TEST_F(RecordingE2eTest, SecondsOfRecordingMakeAMessageOfSoundAndPictures) {
  ASSERT_EQ(app_.Start({temp_.home(), temp_.root() / "shipped", {}}),
            StartResult::kRunning);
  ASSERT_EQ(app_.state().audio.audio_capability, 2);
  ASSERT_EQ(app_.state().video.video_state, 2);
  MKERForm1& recorder = *app_.recorder();
  recorder.Command(2)->Press();
  ASSERT_EQ(app_.state().activity.is_recording, 1);
  const QString name = recorder.Label(9)->text();
  clock_.RunEventsFor(3.0);
  recorder.Command(14)->Press();
  ASSERT_EQ(app_.state().activity.is_recording, 0);

  MessageReader reader;
  ASSERT_TRUE(reader.Open(name));
  int audio = 0, video = 0;
  bool first_audio = false, first_video_key = false;
  while (auto record = reader.Next()) {
    const bool is_audio = record->kind == RecordKind::kAudio;
    if (audio + video == 0) first_audio = is_audio;
    if (!is_audio && video == 0)
      first_video_key = record->payload.endsWith('\x01');
    (is_audio ? audio : video) += 1;
    if (is_audio) {
      EXPECT_EQ(record->length, 1105);
    }
  }
  EXPECT_EQ(reader.end(), ReadEnd::kEndOfFile);
  EXPECT_TRUE(first_audio);
  EXPECT_TRUE(first_video_key);
  EXPECT_GE(audio, 3);  // about 0.68 s each
  EXPECT_GE(video, 5);
  EXPECT_EQ(recorder.Label5()->text(), QString::number(reader.file_length()));
  EXPECT_TRUE(presenter_.messages.empty());
}

}  // namespace
}  // namespace vocapost
