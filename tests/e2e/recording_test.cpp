// A real recording on the test devices: the paced tone as microphone, the
// test pattern as camera, real time.
#include <gtest/gtest.h>

#include "message/message_reader.h"
#include "platform/wave/device_wave_library.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

// The whole program, but on the real clock, disk and test devices.
class RecordingE2eTest : public testing::AppTest {
 protected:
  RecordingE2eTest() {
    app_.reset();
    app_ = std::make_unique<Application>(
        Services{settings_, steady_, display_, presenter_, registry_, ender_,
                 tone_, registry_store_, camera_, disk_, wall_, nullptr});
  }
  ~RecordingE2eTest() override { app_.reset(); }

  SteadyClock steady_;
  DeviceWaveLibrary tone_{MakeToneInput(), MakeDiscardOutput()};
  DiskFreeSpace disk_;
  SystemWallClock wall_;
};

TEST_F(RecordingE2eTest, SecondsOfRecordingMakeAMessageOfSoundAndPictures) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MKERForm1& recorder = *app_->recorder();
  recorder.Command(2)->Press();
  const QString name = recorder.Label(9)->text();
  steady_.RunEventsFor(3.0);
  recorder.Command(14)->Press();
  ASSERT_EQ(app_->state().activity.is_recording, 0);

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
