#include "audio/audio_engine.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

#include "platform/text/user_text.h"
#include "platform/wave/gsm_codec.h"

namespace vocapost {
namespace {

constexpr double kDrainSeconds = 3.0;

}  // namespace

AudioEngine::AudioEngine(WaveLibrary& library, AppState& state,
                         MessageOperations& messages, Clock& clock)
    : library_(library),
      state_(state),
      audio_(state.audio),
      messages_(messages),
      clock_(clock) {}

void AudioEngine::Tell(const QString& text) {
  messages_.ShowMessageForm(text, 0, state_.messages.message_title);
}

void AudioEngine::AllocateBlocks() {
  for (std::vector<uint8_t>* block : {&capture_[0], &capture_[1], &transfer_}) {
    if (block->empty()) block->assign(kAudioBlockSize, 0);
  }
}

void AudioEngine::ClearStateHead() {
  std::fill_n(state_block_.begin(), 300, uint8_t{0});
}

int16_t AudioEngine::InitAudio() {
  AllocateBlocks();
  ClearStateHead();
  const int16_t opened = library_.InitWaveRecorder(
      message_window_, static_cast<int16_t>(state_.settings.audio_block_size),
      WaveFormat{}, state_block_, 0);
  if (opened != 0) {
    audio_.recorder_failed = 1;
    return 0;
  }
  if (state_.settings.full_duplex == 0) return 2;
  audio_.startup_test = 1;
  const bool player = StartPlayer() == 1;
  const int16_t recorder = StartRecorder();
  audio_.startup_test = 0;
  if (recorder == 1) return 2;
  return player ? 1 : 0;
}

int16_t AudioEngine::StartRecorder() {
  if (audio_.audio_capability == 0 && audio_.startup_test != 1) return 0;
  audio_.audio_arrived = 0;
  audio_.recorder_running = 0;
  if (audio_.recorder_failed != 0) return 0;
  audio_.recorder_running = 1;
  if (audio_.recorder_started != 0) return 0;
  audio_.recorder_started = 1;
  ClearStateHead();
  if (library_.StartWaveRecorderRaw(state_block_) != 0) {
    Tell(UserText("Recorder failed to start"));
    return 0;
  }
  return 1;
}

int16_t AudioEngine::StopRecorder() {
  if (audio_.recorder_running == 0) return 0;
  audio_.recorder_running = 0;
  audio_.recorder_started = 0;
  if (state_.settings.full_duplex == 1 && audio_.audio_capability != 0) {
    // Let the buffers on their way come back before anything else happens.
    QCoreApplication::processEvents();
    WaitWithEvents(clock_, kDrainSeconds, [] { return false; });
  }
  return 0;
}

int16_t AudioEngine::StartPlayer() {
  if (audio_.audio_capability == 0 && audio_.startup_test != 1) return 0;
  ClearStateHead();
  if (library_.StartWavePlayerRaw(state_block_) != 0) {
    Tell(UserText("Player failed to start"));
    return 0;
  }
  return 1;
}

int16_t AudioEngine::StopPlayer() {
  if (audio_.audio_capability == 0) return 0;
  WaitWithEvents(clock_, kDrainSeconds,
                 [this] { return audio_.queued_play_buffers <= 0; });
  ClearStateHead();
  if (library_.StopWavePlayer(state_block_) != 0) {
    Tell(UserText("Player failed to stop"));
    return 0;
  }
  return 1;
}

void AudioEngine::StopAudio() {
  StopRecorder();
  StopPlayer();
}

WindowProcedure AudioEngine::MakeWaveProcedure(WindowProcedure previous) {
  return [this, previous](uint32_t message, uintptr_t wparam, intptr_t lparam) {
    return WaveWindowProcedure(message, wparam, lparam, previous);
  };
}

intptr_t AudioEngine::WaveWindowProcedure(uint32_t message, uintptr_t wparam,
                                          intptr_t lparam,
                                          const WindowProcedure& previous) {
  if (message == kPlayedBlockMessage) {
    if (lparam != audio_.last_parameter) {
      audio_.last_parameter = lparam;
      audio_.queued_play_buffers -= 1;
    }
    return 0;
  }
  if (message != kRecordedBufferMessage)
    return previous ? previous(message, wparam, lparam) : 0;
  if (lparam == audio_.last_parameter) return 0;
  audio_.last_parameter = lparam;
  audio_.audio_busy = 1;
  audio_.block_toggle = audio_.block_toggle == 0 ? 1 : 0;
  uint8_t* block = capture_[audio_.block_toggle].data();
  ClearStateHead();
  const bool running = audio_.recorder_running == 1;
  const int16_t n = library_.CopyRawBufferWaveRecorder(
      lparam, block, running ? 0 : 1, state_block_);
  if (!running) {
    if (n < 0) Tell(UserText("scdone1 %1").arg(n));
    audio_.last_returned_header = lparam;
    audio_.last_returned_block = audio_.block_toggle;
    audio_.returned_block_count += 1;
  }
  // A failed copy brings no audio: it is not stored.
  if (running && n > 0) StoreAudioRecord(block, n);
  audio_.audio_arrived = 1;
  audio_.audio_busy = 0;
  return 0;
}

void AudioEngine::StoreAudioRecord(const uint8_t* block, int32_t n) {
  if (state_.activity.is_recording != 1) return;
  RecordingSession& recording = state_.recording;
  recording.audio_record_count += 1;
  const bool stored = recording.writer.AppendAudio(
      QByteArray(reinterpret_cast<const char*>(block), n));
  state_.values.recorded_size = recording.writer.recorded_size();
  if (recorder_window_ == nullptr) return;
  recorder_window_->ShowRecordedSize(state_.values.recorded_size);
  // A record that cannot be stored ends the recording as the size limit does.
  if (!stored || state_.values.recorded_size > state_.maximum_message_size) {
    recorder_window_->PressStop();
  }
}

int16_t AudioEngine::PlayAudioBlock(const QByteArray& block) {
  AllocateBlocks();
  constexpr qsizetype kPiece =
      (kAudioBlockSize / kGsmBlockBytes) * kGsmBlockBytes;
  const qsizetype whole = block.size() / kGsmBlockBytes * kGsmBlockBytes;
  for (qsizetype at = 0; at < whole; at += kPiece) {
    const qsizetype size = std::min(kPiece, whole - at);
    std::memcpy(transfer_.data(), block.constData() + at,
                static_cast<size_t>(size));
    audio_.queued_play_buffers += 1;
    ClearStateHead();
    const int16_t result = library_.CopyRawBufferWavePlayer(
        transfer_.data(), static_cast<int32_t>(size), state_block_);
    if (result < 0) {
      audio_.queued_play_buffers -= 1;  // no message will come for it
      return result;
    }
  }
  return 0;
}

}  // namespace vocapost
