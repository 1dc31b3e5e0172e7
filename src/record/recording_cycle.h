#pragma once

#include <QByteArray>
#include <array>

#include "app/app_state.h"
#include "audio/audio_engine.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "platform/disk/free_space.h"
#include "platform/wave/wave_library.h"
#include "record/recording_window.h"
#include "video/video_engine.h"

namespace vocapost {

inline constexpr int kRingSlots = 5;
inline constexpr int kRingSlotBytes = 10001;
// What the user is told when the message file fails; `name` is the file's.
QString CannotCreateBeforeRecording(const QString& name, const QString& reason);
QString RecordingNotKept(const QString& name, const QString& reason);
QString RecordingCut(const QString& name, const QString& reason,
                     int32_t kept_bytes, int32_t kept_audio_bytes);

// Record, the recording tick and Stop: one press of Record and one of Stop
// make one message file.
class RecordingCycle {
 public:
  struct Devices {
    AudioEngine& audio;
    VideoEngine& video;
    WaveLibrary& wave;
    FreeSpace& free_space;
    WallClock& wall_clock;
  };

  RecordingCycle(AppState& state, Devices devices, MessageOperations& messages,
                 Clock& clock);
  void SetWindow(RecordingWindow* window) { window_ = window; }

  void Record();
  // Clears `tick_busy` on every way out.
  void RecordingTick(int16_t& tick_busy);
  // The recording side of Stop; false when no recording was in progress.
  bool StopRecording();
  // Closing the Recorder window while recording.
  void StopBeforeClosing();

 private:
  bool StartFile(const QString& name);
  void StoreFrame(int32_t length);
  void FinishFile();
  void CloseHalfDuplexRecorder();

  AppState& state_;
  Devices devices_;
  MessageOperations& messages_;
  Clock& clock_;
  RecordingWindow* window_ = nullptr;
  std::array<QByteArray, kRingSlots> ring_;
  int ring_index_ = 0;  // the slot that receives the next frame
  int16_t tick_count_ = 0;
  double start_time_ = 0;
};

}  // namespace vocapost
