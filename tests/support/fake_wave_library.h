#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <vector>

#include "platform/wave/wave_library.h"
#include "platform/window_message/window_message.h"

namespace vocapost::testing {

// A wave library that records each call and answers as the test says.
class FakeWaveLibrary final : public WaveLibrary {
 public:
  int16_t init_result = 0;
  int16_t start_recorder_result = 0;
  int16_t start_player_result = 0;
  int16_t stop_player_result = 0;
  int16_t copy_recorder_result = 1105;
  int16_t copy_player_result = 0;
  std::vector<QString> calls;
  std::vector<int16_t> copy_choices;
  std::vector<int32_t> played_sizes;
  QObject* window = nullptr;
  int16_t buffer_size = 0;
  bool state_head_clear_at_every_call = true;
  // Tells each block handed to the player as played at once, as a sound
  // card would a moment later, so that playback runs on its own timers.
  bool report_played_blocks = false;

  int16_t InitWaveRecorder(QObject* w, int16_t size, const WaveFormat& format,
                           StateBlock& s, int16_t) override {
    Note("InitWaveRecorder", s);
    window = w;
    buffer_size = size;
    format_ok = format.format_tag == 0x0031 &&
                format.samples_per_second == 8000 && format.block_align == 65 &&
                format.samples_per_block == 320;
    return init_result;
  }
  int16_t StartWaveRecorderRaw(StateBlock& s) override {
    Note("StartWaveRecorderRaw", s);
    return start_recorder_result;
  }
  int16_t CopyRawBufferWaveRecorder(intptr_t, uint8_t* block, int16_t choice,
                                    StateBlock& s) override {
    Note("CopyRawBufferWaveRecorder", s);
    copy_choices.push_back(choice);
    for (int i = 0; i < copy_recorder_result; ++i)
      block[i] = static_cast<uint8_t>(i);
    return copy_recorder_result;
  }
  int16_t CloseWaveRecorder(StateBlock& s) override {
    Note("CloseWaveRecorder", s);
    return 0;
  }
  int16_t StartWavePlayerRaw(StateBlock& s) override {
    Note("StartWavePlayerRaw", s);
    return start_player_result;
  }
  int16_t CopyRawBufferWavePlayer(const uint8_t*, int32_t count,
                                  StateBlock& s) override {
    Note("CopyRawBufferWavePlayer", s);
    played_sizes.push_back(count);
    if (report_played_blocks && window != nullptr) {
      QCoreApplication::postEvent(
          window,
          new WindowMessageEvent(kPlayedBlockMessage, 0,
                                 static_cast<intptr_t>(played_sizes.size())));
    }
    return copy_player_result;
  }
  int16_t StopWavePlayer(StateBlock& s) override {
    Note("StopWavePlayer", s);
    return stop_player_result;
  }
  void Detach() override { window = nullptr; }

  bool format_ok = false;

 private:
  void Note(const char* call, StateBlock& state) {
    calls.push_back(call);
    for (int i = 0; i < 300; ++i) {
      if (state[i] != 0) state_head_clear_at_every_call = false;
    }
    state.fill(0xAB);  // dirty it, as a library may
  }
};

}  // namespace vocapost::testing
