#pragma once

#include <cstdint>

namespace vocapost {

// The audio engine's flags and counters; flags hold 0 or 1.
struct AudioState {
  int16_t audio_capability = 0;  // 0 no audio, 1 full duplex failed, 2 works
  int16_t recorder_failed = 0;
  int16_t startup_test = 0;
  int16_t recorder_running = 0;
  int16_t recorder_started = 0;
  int16_t block_toggle = 0;  // 0: capture block A was used last
  intptr_t last_parameter = 0;
  int16_t returned_block_count = 0;
  intptr_t last_returned_header = 0;
  int16_t last_returned_block = 0;
  int16_t audio_busy = 0;
  int16_t audio_arrived = 0;
  int16_t queued_play_buffers = 0;
};

}  // namespace vocapost
