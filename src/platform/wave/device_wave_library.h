#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/wave/audio_device.h"
#include "platform/wave/gsm_codec.h"
#include "platform/wave/wave_library.h"

namespace vocapost {

// The wave library on an input and an output device. Device threads only
// move samples and post window messages; coding runs in the calls, on the
// caller's thread.
class DeviceWaveLibrary final : public WaveLibrary {
 public:
  enum Failure : int16_t {
    kBadFormat = -1,
    kNoInput = -2,
    kNotReady = -3,
    kNoOutput = -4,
    kUnknownBuffer = -5,
    kQueueFull = -6,
  };
  static constexpr int kRecorderBuffers = 4;
  static constexpr size_t kMostQueuedBlocks = 10;

  DeviceWaveLibrary(std::unique_ptr<AudioInput> input,
                    std::unique_ptr<AudioOutput> output);
  ~DeviceWaveLibrary() override;

  int16_t InitWaveRecorder(QObject* window, int16_t buffer_size,
                           const WaveFormat& format, StateBlock& state,
                           int16_t flags) override;
  int16_t StartWaveRecorderRaw(StateBlock& state) override;
  int16_t CopyRawBufferWaveRecorder(intptr_t header, uint8_t* capture_block,
                                    int16_t choice, StateBlock& state) override;
  int16_t CloseWaveRecorder(StateBlock& state) override;
  int16_t StartWavePlayerRaw(StateBlock& state) override;
  int16_t CopyRawBufferWavePlayer(const uint8_t* block, int32_t count,
                                  StateBlock& state) override;
  int16_t StopWavePlayer(StateBlock& state) override;

  void Detach() override;

 private:
  enum class Slot { kFree, kFilling, kFilled, kKept };
  struct RecorderBuffer {
    Slot state = Slot::kFree;
    std::vector<int16_t> samples;
  };
  struct QueuedBlock {
    intptr_t header;
    std::vector<int16_t> samples;
    size_t played = 0;
  };

  void Captured(const int16_t* samples, size_t count);  // input thread
  void Fill(int16_t* samples, size_t count);            // output thread
  void Post(uint32_t message, intptr_t header);         // any thread
  intptr_t HeaderOf(int index) const;
  int IndexOf(intptr_t header) const;

  std::unique_ptr<AudioInput> input_;
  std::unique_ptr<AudioOutput> output_;
  GsmEncoder encoder_;
  GsmDecoder decoder_;
  size_t buffer_samples_ = 0;
  bool input_running_ = false;
  bool output_running_ = false;

  std::mutex mutex_;  // guards everything below
  QObject* window_ = nullptr;
  RecorderBuffer buffers_[kRecorderBuffers];
  int filling_ = -1;
  int last_filled_ = kRecorderBuffers - 1;
  size_t filled_ = 0;  // samples in the buffer being filled
  std::deque<QueuedBlock> queue_;
  // Distinct header values for played blocks, so that two in a row differ.
  uint8_t play_headers_[16] = {};
  int next_play_header_ = 0;
};

}  // namespace vocapost
