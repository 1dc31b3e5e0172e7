#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace vocapost {

inline constexpr int kDeviceSampleRate = 8000;
inline constexpr size_t kDeviceChunk = 160;  // 20 ms

// Called on the device's own thread with the samples it captured.
using SampleSink = std::function<void(const int16_t* samples, size_t count)>;
// Called on the device's own thread to fill `count` samples to play.
using SampleSource = std::function<void(int16_t* samples, size_t count)>;

// Sound in: 8000 samples a second, mono, 16 bits.
class AudioInput {
 public:
  virtual ~AudioInput() = default;
  // Whether the device can be used at all.
  virtual bool Open() = 0;
  virtual bool Start(SampleSink sink) = 0;
  virtual void Stop() = 0;
};

// Sound out, in the same format.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual bool Open() = 0;
  virtual bool Start(SampleSource source) = 0;
  virtual void Stop() = 0;
};

// Runs `tick` every 20 ms of real time on a thread of its own.
class PacedThread {
 public:
  ~PacedThread() { Stop(); }
  void Start(std::function<void()> tick);
  void Stop();
  bool running() const { return thread_.joinable(); }

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

// Test and demo inputs, paced like a sound card.
std::unique_ptr<AudioInput> MakeToneInput();
std::unique_ptr<AudioInput> MakeWavFileInput(const QString& path);
std::unique_ptr<AudioInput> MakeNoInput();
// Test and demo outputs: a WAV file of what was played, or nothing.
std::unique_ptr<AudioOutput> MakeWavFileOutput(const QString& path);
std::unique_ptr<AudioOutput> MakeDiscardOutput();
// The sound card, through PortAudio.
std::unique_ptr<AudioInput> MakePortAudioInput();
std::unique_ptr<AudioOutput> MakePortAudioOutput();

// By name: "portaudio" (also empty), "test-tone", "wav:FILE" or "none" for
// input; "portaudio" (also empty), "wav:FILE" or "discard" for output.
// Unknown names give a device that cannot be opened.
std::unique_ptr<AudioInput> MakeAudioInput(const QString& choice);
std::unique_ptr<AudioOutput> MakeAudioOutput(const QString& choice);

}  // namespace vocapost
