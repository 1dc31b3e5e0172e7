#pragma once

#include <cstdint>
#include <deque>

namespace vocapost {

// The Viewer's timer: one record at most is read per tick.
inline constexpr int kPlayerTickMs = 50;
// The reader waits while this many audio blocks are with the wave player.
inline constexpr int kMostQueuedPlayBlocks = 2;

// When the player reads each record and plays each sound, with a sound card
// that plays the blocks handed to it back to back at 8000 samples a second.
// Times are in samples from the first tick of the playback.
class PlaybackTiming {
 public:
  static constexpr int64_t kTickSamples = 8000 * kPlayerTickMs / 1000;

  // Reads an audio record of `gsm_bytes` bytes; returns the sample at which
  // its sound starts (its read time, or later while sound is still playing).
  int64_t ReadAudio(int64_t gsm_bytes);
  // Reads any other record; returns its read time, when a frame is drawn.
  int64_t ReadOther();
  // When the playback has ended: the tick that finds no more records, or
  // the end of the last sound when that is later.
  int64_t End() const;

 private:
  int64_t WaitForRoom();

  int64_t tick_ = 0;       // the next tick
  int64_t sound_end_ = 0;  // when the sound handed over so far has played
  std::deque<int64_t> queued_ends_;
};

}  // namespace vocapost
