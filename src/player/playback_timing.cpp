#include "player/playback_timing.h"

#include <algorithm>

#include "platform/wave/gsm_codec.h"
#include "platform/wave/wave_library.h"

namespace vocapost {
namespace {

// The audio engine hands a long record over in pieces of whole GSM blocks
// that fit its transfer block; each piece is one queued block.
constexpr int64_t kPieceBlocks = kAudioBlockSize / kGsmBlockBytes;

}  // namespace

int64_t PlaybackTiming::WaitForRoom() {
  for (;;) {
    const int64_t now = tick_ * kTickSamples;
    while (!queued_ends_.empty() && queued_ends_.front() <= now)
      queued_ends_.pop_front();
    if (static_cast<int>(queued_ends_.size()) < kMostQueuedPlayBlocks)
      return now;
    // Skip the ticks on which the reader only waits.
    const int64_t front = queued_ends_.front();
    tick_ = std::max(tick_ + 1, (front + kTickSamples - 1) / kTickSamples);
  }
}

int64_t PlaybackTiming::ReadAudio(int64_t gsm_bytes) {
  const int64_t now = WaitForRoom();
  ++tick_;
  const int64_t start = std::max(now, sound_end_);
  for (int64_t blocks = gsm_bytes / kGsmBlockBytes; blocks > 0;
       blocks -= kPieceBlocks) {
    sound_end_ = std::max(now, sound_end_) +
                 std::min(blocks, kPieceBlocks) * kGsmBlockSamples;
    queued_ends_.push_back(sound_end_);
  }
  return start;
}

int64_t PlaybackTiming::ReadOther() {
  const int64_t now = WaitForRoom();
  ++tick_;
  return now;
}

int64_t PlaybackTiming::End() const {
  return std::max(tick_ * kTickSamples, sound_end_);
}

}  // namespace vocapost
