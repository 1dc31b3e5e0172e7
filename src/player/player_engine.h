#pragma once

#include "app/app_state.h"
#include "audio/audio_engine.h"
#include "message/message_reader.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "player/player_window.h"
#include "video/video_engine.h"

namespace vocapost {

// Plays a message file: the frame-size probe, Play, one record a tick with
// the sound pacing the reading, and the end of playback.
class PlayerEngine {
 public:
  PlayerEngine(AppState& state, AudioEngine& audio, VideoEngine& video,
               MessageOperations& messages, Clock& clock);
  void SetWindow(PlayerWindow* window) { window_ = window; }

  void OpenMessageForPlay(const QString& name);
  // The Recorder's Play button.
  void Play();
  void PlayerTick();
  // The playing side of Stop; false when nothing was playing.
  bool StopPlaying();
  // After a launch's message: end the program, or go back to the Recorder
  // when the launch took over from another copy.
  void LeaveLaunchPlayback();

  int32_t read_position() const { return reader_.read_position(); }
  int32_t message_file_length() const { return message_file_length_; }

 private:
  void EndPlayback();
  void FinishPlaying();

  AppState& state_;
  AudioEngine& audio_;
  VideoEngine& video_;
  MessageOperations& messages_;
  Clock& clock_;
  PlayerWindow* window_ = nullptr;
  MessageReader reader_;
  int32_t message_file_length_ = 0;
};

}  // namespace vocapost
