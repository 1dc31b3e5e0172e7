#pragma once

#include <QObject>
#include <array>
#include <cstdint>

namespace vocapost {

inline constexpr uint32_t kRecordedBufferMessage =
    0x3C0;  // a recording buffer is full
inline constexpr uint32_t kPlayedBlockMessage =
    0x3BD;  // a block finished playing
inline constexpr int kAudioBlockSize = 2048;

// The library state block that every recorder and player call receives.
using StateBlock = std::array<uint8_t, kAudioBlockSize>;

// The description of GSM 6.10 audio handed to the recorder.
struct WaveFormat {
  uint16_t format_tag = 0x0031;
  uint16_t channels = 1;
  uint32_t samples_per_second = 8000;
  uint32_t average_bytes_per_second = 1625;
  uint16_t block_align = 65;
  uint16_t bits_per_sample = 0;
  uint16_t extra_size = 2;
  uint16_t samples_per_block = 320;
};

// The wave library: records and plays GSM 6.10 audio and reports through
// window messages posted to the window given to InitWaveRecorder, which
// reach that window's procedure on the UI thread:
//   0x3C0 for every filled recording buffer, the buffer's header as lParam;
//   0x3BD for every block that finished playing.
// Results are 16-bit; failures are negative.
class WaveLibrary {
 public:
  virtual ~WaveLibrary() = default;
  virtual int16_t InitWaveRecorder(QObject* window, int16_t buffer_size,
                                   const WaveFormat& format, StateBlock& state,
                                   int16_t flags) = 0;
  virtual int16_t StartWaveRecorderRaw(StateBlock& state) = 0;
  // Copies the filled buffer named by `header` into `capture_block` (at least
  // the buffer size) and returns the bytes copied. choice 0 gives the buffer
  // back for further recording, 1 keeps it out.
  virtual int16_t CopyRawBufferWaveRecorder(intptr_t header,
                                            uint8_t* capture_block,
                                            int16_t choice,
                                            StateBlock& state) = 0;
  virtual int16_t CloseWaveRecorder(StateBlock& state) = 0;
  virtual int16_t StartWavePlayerRaw(StateBlock& state) = 0;
  // Queues `count` bytes of whole 65-byte blocks for playing.
  virtual int16_t CopyRawBufferWavePlayer(const uint8_t* block, int32_t count,
                                          StateBlock& state) = 0;
  virtual int16_t StopWavePlayer(StateBlock& state) = 0;
  // Stops posting messages: the window is going away.
  virtual void Detach() = 0;
};

}  // namespace vocapost
