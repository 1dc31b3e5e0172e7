#include "platform/wave/device_wave_library.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

#include "platform/window_message/window_message.h"

namespace vocapost {

DeviceWaveLibrary::DeviceWaveLibrary(std::unique_ptr<AudioInput> input,
                                     std::unique_ptr<AudioOutput> output)
    : input_(std::move(input)), output_(std::move(output)) {}

DeviceWaveLibrary::~DeviceWaveLibrary() {
  Detach();
  input_->Stop();
  output_->Stop();
}

void DeviceWaveLibrary::Detach() {
  std::lock_guard lock(mutex_);
  window_ = nullptr;
}

void DeviceWaveLibrary::Post(uint32_t message, intptr_t header) {
  // Called with the mutex held, so the window cannot go away meanwhile.
  if (window_ != nullptr) {
    QCoreApplication::postEvent(window_,
                                new WindowMessageEvent(message, 0, header));
  }
}

intptr_t DeviceWaveLibrary::HeaderOf(int index) const {
  return reinterpret_cast<intptr_t>(&buffers_[index]);
}

int DeviceWaveLibrary::IndexOf(intptr_t header) const {
  for (int i = 0; i < kRecorderBuffers; ++i) {
    if (HeaderOf(i) == header) return i;
  }
  return -1;
}

int16_t DeviceWaveLibrary::InitWaveRecorder(QObject* window,
                                            int16_t buffer_size,
                                            const WaveFormat& format,
                                            StateBlock&, int16_t) {
  const WaveFormat gsm;
  if (format.format_tag != gsm.format_tag || format.channels != 1 ||
      format.samples_per_second != gsm.samples_per_second ||
      format.block_align != kGsmBlockBytes || buffer_size <= 0 ||
      buffer_size % kGsmBlockBytes != 0 || buffer_size > kAudioBlockSize) {
    return kBadFormat;
  }
  if (!input_->Open()) return kNoInput;
  std::lock_guard lock(mutex_);
  window_ = window;
  buffer_samples_ =
      static_cast<size_t>(buffer_size / kGsmBlockBytes) * kGsmBlockSamples;
  for (RecorderBuffer& buffer : buffers_) {
    buffer.state = Slot::kFree;
    buffer.samples.assign(buffer_samples_, 0);
  }
  filling_ = -1;
  return 0;
}

int16_t DeviceWaveLibrary::StartWaveRecorderRaw(StateBlock&) {
  if (buffer_samples_ == 0) return kNotReady;
  {
    // A start hands the recorder fresh buffers, also those kept out before.
    std::lock_guard lock(mutex_);
    for (RecorderBuffer& buffer : buffers_) {
      if (buffer.state == Slot::kKept) buffer.state = Slot::kFree;
    }
  }
  if (input_running_) return 0;
  input_running_ = input_->Start([this](const int16_t* samples, size_t count) {
    Captured(samples, count);
  });
  return input_running_ ? 0 : kNoInput;
}

void DeviceWaveLibrary::Captured(const int16_t* samples, size_t count) {
  std::lock_guard lock(mutex_);
  size_t& filled = filled_;
  while (count > 0) {
    // A buffer kept out means the recorder was not given it back: like a
    // device with no buffers queued, it records nothing more until a start.
    if (filling_ < 0 && std::any_of(std::begin(buffers_), std::end(buffers_),
                                    [](const RecorderBuffer& b) {
                                      return b.state == Slot::kKept;
                                    })) {
      return;
    }
    if (filling_ < 0) {
      // Buffers go round in turn, as a driver's queue does, so two
      // notifications in a row never name the same buffer.
      for (int step = 1; step <= kRecorderBuffers && filling_ < 0; ++step) {
        const int candidate = (last_filled_ + step) % kRecorderBuffers;
        if (buffers_[candidate].state == Slot::kFree) filling_ = candidate;
      }
      if (filling_ < 0) return;  // every buffer is out: drop
      buffers_[filling_].state = Slot::kFilling;
      filled = 0;
    }
    RecorderBuffer& buffer = buffers_[filling_];
    const size_t take = std::min(count, buffer_samples_ - filled);
    std::copy_n(samples, take,
                buffer.samples.begin() + static_cast<ptrdiff_t>(filled));
    filled += take;
    samples += take;
    count -= take;
    if (filled == buffer_samples_) {
      buffer.state = Slot::kFilled;
      Post(kRecordedBufferMessage, HeaderOf(filling_));
      last_filled_ = filling_;
      filling_ = -1;
    }
  }
}

int16_t DeviceWaveLibrary::CopyRawBufferWaveRecorder(intptr_t header,
                                                     uint8_t* capture_block,
                                                     int16_t choice,
                                                     StateBlock&) {
  std::vector<int16_t> samples;
  {
    std::lock_guard lock(mutex_);
    const int index = IndexOf(header);
    if (index < 0 || buffers_[index].state != Slot::kFilled)
      return kUnknownBuffer;
    samples = buffers_[index].samples;
    buffers_[index].state = choice == 0 ? Slot::kFree : Slot::kKept;
  }
  const QByteArray coded = encoder_.Encode(samples.data(), samples.size());
  std::memcpy(capture_block, coded.constData(),
              static_cast<size_t>(coded.size()));
  return static_cast<int16_t>(coded.size());
}

int16_t DeviceWaveLibrary::CloseWaveRecorder(StateBlock&) {
  input_->Stop();
  input_running_ = false;
  std::lock_guard lock(mutex_);
  for (RecorderBuffer& buffer : buffers_) buffer.state = Slot::kFree;
  filling_ = -1;
  return 0;
}

int16_t DeviceWaveLibrary::StartWavePlayerRaw(StateBlock&) {
  if (output_running_) return 0;
  if (!output_->Open()) return kNoOutput;
  output_running_ = output_->Start(
      [this](int16_t* samples, size_t count) { Fill(samples, count); });
  return output_running_ ? 0 : kNoOutput;
}

int16_t DeviceWaveLibrary::CopyRawBufferWavePlayer(const uint8_t* block,
                                                   int32_t count, StateBlock&) {
  if (!output_running_) return kNotReady;
  std::vector<int16_t> samples =
      decoder_.Decode(block, static_cast<size_t>(std::max(count, 0)));
  std::lock_guard lock(mutex_);
  if (queue_.size() >= kMostQueuedBlocks) return kQueueFull;
  const auto header =
      reinterpret_cast<intptr_t>(&play_headers_[next_play_header_]);
  next_play_header_ = (next_play_header_ + 1) % 16;
  queue_.push_back({header, std::move(samples), 0});
  return 0;
}

void DeviceWaveLibrary::Fill(int16_t* samples, size_t count) {
  std::lock_guard lock(mutex_);
  while (count > 0) {
    if (queue_.empty()) {
      std::fill_n(samples, count, int16_t{0});
      return;
    }
    QueuedBlock& front = queue_.front();
    const size_t take = std::min(count, front.samples.size() - front.played);
    std::copy_n(front.samples.begin() + static_cast<ptrdiff_t>(front.played),
                take, samples);
    front.played += take;
    samples += take;
    count -= take;
    if (front.played == front.samples.size()) {
      Post(kPlayedBlockMessage, front.header);
      queue_.pop_front();
    }
  }
}

int16_t DeviceWaveLibrary::StopWavePlayer(StateBlock&) {
  output_->Stop();
  output_running_ = false;
  std::lock_guard lock(mutex_);
  // Blocks cut off are reported as done, as a reset player reports them.
  for (const QueuedBlock& block : queue_)
    Post(kPlayedBlockMessage, block.header);
  queue_.clear();
  return 0;
}

}  // namespace vocapost
