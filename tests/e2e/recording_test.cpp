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
  MKERForm1& recorder = *app_.recorder();
  recorder.Command(2)->Press();
  const QString name = recorder.Label(9)->text();
  clock_.RunEventsFor(3.0);
  recorder.Command(14)->Press();
  ASSERT_EQ(app_.state().activity.is_recording, 0);

  MessageReader reader;
  ASSERT_TRUE(reader.Open(name));
  // Sound first, then the first frame is a key frame; each sound record is
  // 0.68 s of whole GSM blocks.
  QString kinds;
  while (auto record = reader.Next()) {
    const bool audio = record->kind == RecordKind::kAudio;
    if (audio) {
      EXPECT_EQ(record->length, 1105);
    } else if (!kinds.contains('v')) {
      EXPECT_TRUE(record->payload.endsWith('\x01'));
    }
    kinds += audio ? 'a' : 'v';
  }
  EXPECT_EQ(reader.end(), ReadEnd::kEndOfFile);
  EXPECT_TRUE(kinds.startsWith('a'));
  EXPECT_GE(kinds.count('a'), 3);
  EXPECT_GE(kinds.count('v'), 5);
  EXPECT_EQ(recorder.Label5()->text(), QString::number(reader.file_length()));
  EXPECT_TRUE(presenter_.messages.empty());
}

}  // namespace
}  // namespace vocapost
