// The sound card through PortAudio: default input and output, 8000 samples a
// second, mono, 16 bits. PortAudio calls back on its own thread.
#include <portaudio.h>

#include <mutex>

#include "platform/wave/audio_device.h"

namespace vocapost {
namespace {

// PortAudio is set up once for the process and kept: probing the host's
// sound systems is slow, and the devices live until the program ends.
bool PortAudioReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = Pa_Initialize() == paNoError; });
  return ready;
}

class PortAudioStream {
 public:
  ~PortAudioStream() { Close(); }
  bool Open(bool input, PaStreamCallback* callback, void* user) {
    if (!PortAudioReady()) return false;
    const PaDeviceIndex device =
        input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
    if (device == paNoDevice) return false;
    PaStreamParameters params{};
    params.device = device;
    params.channelCount = 1;
    params.sampleFormat = paInt16;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    params.suggestedLatency = info ? (input ? info->defaultLowInputLatency
                                            : info->defaultLowOutputLatency)
                                   : 0.05;
    return Pa_OpenStream(&stream_, input ? &params : nullptr,
                         input ? nullptr : &params, kDeviceSampleRate,
                         kDeviceChunk, paClipOff, callback, user) == paNoError;
  }
  bool Start() {
    return stream_ != nullptr && Pa_StartStream(stream_) == paNoError;
  }
  void Stop() {
    if (stream_ != nullptr && Pa_IsStreamActive(stream_) == 1)
      Pa_StopStream(stream_);
  }
  void Close() {
    if (stream_ == nullptr) return;
    Stop();
    Pa_CloseStream(stream_);
    stream_ = nullptr;
  }
  bool open() const { return stream_ != nullptr; }

 private:
  PaStream* stream_ = nullptr;
};

class PortAudioInput final : public AudioInput {
 public:
  bool Open() override {
    return stream_.open() ||
           stream_.Open(true, &PortAudioInput::Callback, this);
  }
  bool Start(SampleSink sink) override {
    sink_ = std::move(sink);
    return Open() && stream_.Start();
  }
  void Stop() override { stream_.Stop(); }

 private:
  static int Callback(const void* in, void*, unsigned long frames,
                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                      void* user) {
    auto* self = static_cast<PortAudioInput*>(user);
    if (in != nullptr && self->sink_)
      self->sink_(static_cast<const int16_t*>(in), frames);
    return paContinue;
  }
  PortAudioStream stream_;
  SampleSink sink_;
};

class PortAudioOutput final : public AudioOutput {
 public:
  bool Open() override {
    return stream_.open() ||
           stream_.Open(false, &PortAudioOutput::Callback, this);
  }
  bool Start(SampleSource source) override {
    source_ = std::move(source);
    return Open() && stream_.Start();
  }
  void Stop() override { stream_.Stop(); }

 private:
  static int Callback(const void*, void* out, unsigned long frames,
                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                      void* user) {
    auto* self = static_cast<PortAudioOutput*>(user);
    self->source_(static_cast<int16_t*>(out), frames);
    return paContinue;
  }
  PortAudioStream stream_;
  SampleSource source_;
};

}  // namespace

std::unique_ptr<AudioInput> MakePortAudioInput() {
  return std::make_unique<PortAudioInput>();
}
std::unique_ptr<AudioOutput> MakePortAudioOutput() {
  return std::make_unique<PortAudioOutput>();
}

}  // namespace vocapost
