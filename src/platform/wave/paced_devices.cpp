// Inputs and outputs that need no sound card, paced in real time.
#include <QFile>
#include <chrono>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/wave/audio_device.h"
#include "platform/wave/wav_file.h"

namespace vocapost {
namespace {

using Clock = std::chrono::steady_clock;

// A tone whose pitch sweeps slowly between 300 and 700 Hz.
class ToneInput final : public AudioInput {
 public:
  bool Open() override { return true; }
  bool Start(SampleSink sink) override {
    thread_.Start([this, sink] {
      int16_t chunk[kDeviceChunk];
      Fill(chunk);
      sink(chunk, kDeviceChunk);
    });
    return true;
  }
  void Stop() override { thread_.Stop(); }

 private:
  // The pitch is set once a chunk (20 ms) and the tone turned on by a
  // rotation per sample: no sine per sample, so the test device costs the
  // program's measurements next to nothing.
  void Fill(int16_t (&chunk)[kDeviceChunk]) {
    const double seconds = static_cast<double>(t_) / kDeviceSampleRate;
    t_ += kDeviceChunk;
    const double hz = 500 + 200 * std::sin(2 * std::numbers::pi * seconds / 8);
    const double step = 2 * std::numbers::pi * hz / kDeviceSampleRate;
    const double c = std::cos(step), s = std::sin(step);
    for (int16_t& sample : chunk) {
      const double re = re_ * c - im_ * s;
      im_ = re_ * s + im_ * c;
      re_ = re;
      sample = static_cast<int16_t>(8000 * im_);
    }
    const double length = std::hypot(re_, im_);  // against rounding drift
    re_ /= length, im_ /= length;
  }

  PacedThread thread_;
  int64_t t_ = 0;
  double re_ = 1, im_ = 0;  // the tone's phase as a point on the unit circle
};

// A WAV file's samples, then silence.
class WavFileInput final : public AudioInput {
 public:
  explicit WavFileInput(QString path) : path_(std::move(path)) {}
  bool Open() override {
    samples_ = ReadWavSamples(path_);
    return samples_.has_value();
  }
  bool Start(SampleSink sink) override {
    if (!samples_) return false;
    thread_.Start([this, sink] {
      int16_t chunk[kDeviceChunk] = {};
      for (int16_t& sample : chunk) {
        sample = next_ < samples_->size() ? (*samples_)[next_++] : 0;
      }
      sink(chunk, kDeviceChunk);
    });
    return true;
  }
  void Stop() override { thread_.Stop(); }

 private:
  QString path_;
  std::optional<std::vector<int16_t>> samples_;
  size_t next_ = 0;
  PacedThread thread_;
};

class NoInput final : public AudioInput {
 public:
  bool Open() override { return false; }
  bool Start(SampleSink) override { return false; }
  void Stop() override {}
};

class NoOutput final : public AudioOutput {
 public:
  bool Open() override { return false; }
  bool Start(SampleSource) override { return false; }
  void Stop() override {}
};

// Pulls what is to be played at the pace of a sound card and keeps it in a
// WAV file, or drops it.
class PacedOutput final : public AudioOutput {
 public:
  explicit PacedOutput(QString path) : path_(std::move(path)) {}
  bool Open() override { return path_.isEmpty() || WavWriter(path_).ok(); }
  bool Start(SampleSource source) override {
    if (!path_.isEmpty()) {
      writer_ = std::make_unique<WavWriter>(path_);
      if (!writer_->ok()) return false;
    }
    thread_.Start([this, source] {
      int16_t chunk[kDeviceChunk];
      source(chunk, kDeviceChunk);
      if (writer_) writer_->Append(chunk, kDeviceChunk);
    });
    return true;
  }
  void Stop() override {
    thread_.Stop();
    writer_.reset();
  }

 private:
  QString path_;
  std::unique_ptr<WavWriter> writer_;
  PacedThread thread_;
};

}  // namespace

void PacedThread::Start(std::function<void()> tick) {
  Stop();
  stop_ = false;
  thread_ = std::thread([this, tick = std::move(tick)] {
    const auto period =
        std::chrono::milliseconds(1000 * kDeviceChunk / kDeviceSampleRate);
    auto next = Clock::now();
    while (!stop_) {
      tick();
      next += period;
      std::this_thread::sleep_until(next);
    }
  });
}

void PacedThread::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::unique_ptr<AudioInput> MakeToneInput() {
  return std::make_unique<ToneInput>();
}
std::unique_ptr<AudioInput> MakeWavFileInput(const QString& path) {
  return std::make_unique<WavFileInput>(path);
}
std::unique_ptr<AudioInput> MakeNoInput() {
  return std::make_unique<NoInput>();
}
std::unique_ptr<AudioOutput> MakeWavFileOutput(const QString& path) {
  return std::make_unique<PacedOutput>(path);
}
std::unique_ptr<AudioOutput> MakeDiscardOutput() {
  return std::make_unique<PacedOutput>(QString());
}

std::unique_ptr<AudioInput> MakeAudioInput(const QString& choice) {
  if (choice.isEmpty() || choice == "portaudio") return MakePortAudioInput();
  if (choice == "test-tone") return MakeToneInput();
  if (choice.startsWith("wav:")) return MakeWavFileInput(choice.mid(4));
  return MakeNoInput();
}

std::unique_ptr<AudioOutput> MakeAudioOutput(const QString& choice) {
  if (choice.isEmpty() || choice == "portaudio") return MakePortAudioOutput();
  if (choice.startsWith("wav:")) return MakeWavFileOutput(choice.mid(4));
  if (choice == "discard") return MakeDiscardOutput();
  return std::make_unique<NoOutput>();
}

}  // namespace vocapost
