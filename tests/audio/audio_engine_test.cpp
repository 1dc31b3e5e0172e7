#include "audio/audio_engine.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "messages/form_messages.h"
#include "support/fake_wave_library.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using testing::FakeWaveLibrary;

class AudioEngineTest : public testing::HomeTest {
 protected:
  AudioEngineTest() {
    state_.settings.audio_block_size = 1105;
    state_.settings.full_duplex = 1;
    state_.maximum_message_size = 2000000;
  }
  ~AudioEngineTest() override {
    messages_.UnloadErrorForm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Start-up as the Recorder window does it.
  int16_t Init() {
    const int16_t result = engine_.InitAudio();
    state_.audio.audio_capability = result;
    return result;
  }
  intptr_t Deliver(uint32_t message, intptr_t lparam) {
    return engine_.WaveWindowProcedure(message, 0, lparam, previous_);
  }
  void BeginRecording() {
    ASSERT_TRUE(state_.recording.writer.BeginFile("r.vrc"));
    state_.activity.is_recording = 1;
  }
  QString ShownText() {
    return messages_.error_form() ? messages_.error_form()->Label1()->text()
                                  : QString();
  }

  AppState state_;
  FakeWaveLibrary library_;
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{state_.messages.language_extension, presenter_,
                         nullptr, clock_};
  AudioEngine engine_{library_, state_, messages_, clock_};
  std::vector<uint32_t> passed_on_;
  WindowProcedure previous_ = [this](uint32_t m, uintptr_t, intptr_t) {
    passed_on_.push_back(m);
    return intptr_t{42};
  };
};

// The player's failure is told first, then the recorder's.
TEST_F(AudioEngineTest, StartUpWhereNeitherSideStartsGivesNoAudio) {
  library_.start_player_result = -4;
  library_.start_recorder_result = -2;
  EXPECT_EQ(Init(), 0);
  EXPECT_EQ(ShownText(), "Recorder failed to start");
}

// Record starts the recorder, Stop stops it without waiting; buffers that
// come back after it are counted and given back, not stored.
TEST_F(AudioEngineTest, HalfDuplexRecorderRunsOnlyWhileRecording) {
  state_.settings.full_duplex = 0;
  ASSERT_EQ(Init(), 2);
  EXPECT_EQ(library_.buffer_size, 1105);
  EXPECT_TRUE(library_.format_ok);
  ASSERT_EQ(engine_.StartRecorder(), 1);
  BeginRecording();
  const double before = clock_.Now();
  EXPECT_EQ(engine_.StopRecorder(), 0);
  EXPECT_EQ(clock_.Now(), before);
  library_.copy_recorder_result = -3;
  Deliver(kRecordedBufferMessage, 3001);
  EXPECT_EQ(library_.copy_choices, std::vector<int16_t>{1});
  EXPECT_EQ(ShownText(), "scdone1 -3");
  EXPECT_EQ(state_.audio.returned_block_count, 1);
  EXPECT_EQ(state_.recording.audio_record_count, 0);
  EXPECT_TRUE(library_.state_head_clear_at_every_call);
}

TEST_F(AudioEngineTest, FullDuplexStopsWaitForBuffersAtMostThreeSeconds) {
  ASSERT_EQ(Init(), 2);
  double before = clock_.Now();
  engine_.StopRecorder();
  EXPECT_NEAR(clock_.Now() - before, 3.1, 0.1);
  EXPECT_EQ(state_.audio.recorder_running, 0);
  before = clock_.Now();
  state_.audio.queued_play_buffers = 2;
  EXPECT_EQ(engine_.StopPlayer(), 1);
  EXPECT_NEAR(clock_.Now() - before, 3.0, 0.1);
  state_.audio.queued_play_buffers = 0;
  library_.stop_player_result = -1;
  EXPECT_EQ(engine_.StopPlayer(), 0);
  EXPECT_EQ(ShownText(), "Player failed to stop");
}

TEST_F(AudioEngineTest, RecordedBufferBecomesAnAudioRecordOnceWhileRecording) {
  ASSERT_EQ(Init(), 2);
  BeginRecording();
  EXPECT_EQ(Deliver(kRecordedBufferMessage, 1000), 0);
  EXPECT_EQ(Deliver(kRecordedBufferMessage, 2000), 0);
  Deliver(kRecordedBufferMessage, 2000);  // the same message again
  EXPECT_EQ(library_.copy_choices, (std::vector<int16_t>{0, 0}));
  EXPECT_EQ(state_.recording.audio_record_count, 2);
  EXPECT_EQ(state_.values.recorded_size, 2230);
  library_.copy_recorder_result = -1;
  Deliver(kRecordedBufferMessage, 4000);
  EXPECT_EQ(state_.recording.audio_record_count, 2) << "a failed copy";
}

// Each played block's message lowers the queue once, however often it comes.
TEST_F(AudioEngineTest, LongBlocksArePlayedInWholeBlocksThatFitTheTransfer) {
  ASSERT_EQ(Init(), 2);
  EXPECT_EQ(engine_.PlayAudioBlock(QByteArray(1105, 'a')), 0);
  // 46 blocks and 10 bytes.
  EXPECT_EQ(engine_.PlayAudioBlock(QByteArray(3000, 'b')), 0);
  EXPECT_EQ(library_.played_sizes, (std::vector<int32_t>{1105, 2015, 975}));
  EXPECT_EQ(state_.audio.queued_play_buffers, 3);
  library_.copy_player_result = -7;
  EXPECT_EQ(engine_.PlayAudioBlock(QByteArray(65, 'c')), -7);
  EXPECT_EQ(state_.audio.queued_play_buffers, 3)
      << "a refused block is not waited for";
  Deliver(kPlayedBlockMessage, 10);
  Deliver(kPlayedBlockMessage, 10);
  EXPECT_EQ(state_.audio.queued_play_buffers, 2);
  EXPECT_EQ(Deliver(0x0F, 5), 42);
  EXPECT_EQ(passed_on_, std::vector<uint32_t>{0x0F}) << "others passed on";
}

}  // namespace
}  // namespace vocapost
