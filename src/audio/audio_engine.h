#pragma once

#include <QObject>
#include <vector>

#include "app/app_state.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "platform/wave/wave_library.h"
#include "platform/window_message/window_message.h"

namespace vocapost {

// What the audio engine needs of the Recorder window.
class RecorderWindow {
 public:
  virtual ~RecorderWindow() = default;
  virtual void ShowRecordedSize(int32_t size) = 0;
  virtual void PressStop() = 0;
};

// Opens the wave library, runs recorder and player in full or half duplex,
// and turns every recorded buffer into an audio record while recording.
class AudioEngine {
 public:
  AudioEngine(WaveLibrary& library, AppState& state,
              MessageOperations& messages, Clock& clock);

  void SetMessageWindow(QObject* window) { message_window_ = window; }
  void SetRecorderWindow(RecorderWindow* window) { recorder_window_ = window; }

  // 0 no audio, 1 full duplex failed, 2 audio works.
  int16_t InitAudio();
  int16_t StartRecorder();
  int16_t StopRecorder();
  int16_t StartPlayer();
  int16_t StopPlayer();
  void StopAudio();
  void ClearStateHead();

  // The procedure that takes the library's messages, passing all others to
  // `previous`.
  WindowProcedure MakeWaveProcedure(WindowProcedure previous);
  intptr_t WaveWindowProcedure(uint32_t message, uintptr_t wparam,
                               intptr_t lparam,
                               const WindowProcedure& previous);

  void StoreAudioRecord(const uint8_t* block, int32_t n);

  // Hands one audio record to the player, in pieces of whole 65-byte blocks
  // that fit the transfer block; counts each piece as a queued block.
  // Returns the library's result (negative on failure).
  int16_t PlayAudioBlock(const QByteArray& block);

  const std::vector<uint8_t>& capture_block(int which) const {
    return capture_[which];
  }
  StateBlock& state_block() { return state_block_; }

 private:
  void Tell(const QString& text);
  void AllocateBlocks();

  WaveLibrary& library_;
  AppState& state_;
  AudioState& audio_;
  MessageOperations& messages_;
  Clock& clock_;
  QObject* message_window_ = nullptr;
  RecorderWindow* recorder_window_ = nullptr;
  StateBlock state_block_{};
  std::vector<uint8_t> capture_[2];
  std::vector<uint8_t> transfer_;
};

}  // namespace vocapost
