#include "record/recording_cycle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "app/markers.h"
#include "message/message_names.h"
#include "message/message_record.h"
#include "platform/text/user_text.h"
#include "platform/wave/gsm_codec.h"

namespace vocapost {
namespace {

constexpr double kArrivalWaitSeconds = 3.0;

}  // namespace

QString CannotCreateBeforeRecording(const QString& name,
                                    const QString& reason) {
  return UserText(
             "The message file %1 cannot be created in %2 (%3), so nothing "
             "can be recorded.  Make room on the disk or allow writing to the "
             "folder, then press Record again.")
      .arg(name, QDir::currentPath(), reason);
}

QString RecordingNotKept(const QString& name, const QString& reason) {
  return UserText(
             "The message file %1 could not be written (%2), so the recording "
             "could not be kept.")
      .arg(name, reason);
}

QString RecordingCut(const QString& name, const QString& reason,
                     int32_t kept_bytes, int32_t kept_audio_bytes) {
  if (kept_bytes == 0) {
    return UserText(
               "The message file %1 could not be written in full (%2).  It "
               "holds nothing of the recording.")
        .arg(name, reason);
  }
  return UserText(
             "The message file %1 could not be written in full (%2).  It "
             "holds the first %3 seconds of the recording (%4 bytes).")
      .arg(name, reason,
           QString::number(static_cast<double>(kept_audio_bytes) / kGsmBytesPerSecond, 'f', 1),
           QString::number(kept_bytes));
}

RecordingCycle::RecordingCycle(AppState& state, Devices devices,
                               MessageOperations& messages, Clock& clock)
    : state_(state), devices_(devices), messages_(messages), clock_(clock) {}

void RecordingCycle::Record() {
  if (window_ == nullptr) return;
  window_->ClearPackageList();
  messages_.UnloadErrorForm();
  ActivityState& activity = state_.activity;
  if (activity.is_playing == 1) {
    messages_.ShowMessageForm("Playing, Please Stop First", 0,
                              state_.messages.viewer_message_title);
    return;
  }
  if (activity.is_recording == 1) return;
  const int32_t maximum = state_.maximum_message_size;
  if (devices_.free_space.Available(QDir::currentPath().toStdString()) <
      static_cast<uint64_t>(maximum)) {
    // The number is written as the old runtime wrote it, with a leading blank.
    messages_.ShowMessageForm(
        UserText("Must have at least  %1 free space").arg(maximum), 0,
        state_.messages.viewer_message_title);
    return;
  }
  WriteMarker(kBusyMarker);
  const QString name = MessageFileName(devices_.wall_clock.LocalNow());
  window_->ShowRecordingName(name);
  window_->ShowRecordedSize(0);
  if (QFile::exists(name)) QFile::remove(name);
  if (!StartFile(name)) return;
  if (state_.settings.full_duplex == 0) devices_.audio.StartRecorder();
  window_->DisableExit();
  window_->DisableForActivity();

  state_.video.key_frame_counter = 0;
  tick_count_ = 0;
  state_.values.force_key_frame = 1;
  ring_index_ = 0;
  for (QByteArray& slot : ring_) slot.clear();
  state_.values.data_rate_budget = window_->RateText().toFloat();
  state_.recording.audio_record_count = 0;
  state_.values.achieved_rate = 0;
  state_.values.recorded_size = 0;
  start_time_ = clock_.Now();
  activity.is_recording = 1;
}

bool RecordingCycle::StartFile(const QString& name) {
  RecordingSession& recording = state_.recording;
  recording.file_name = name;
  const bool started =
      state_.settings.record_to_memory == 1
          ? recording.writer.BeginMemory(name, recording.image,
                                         state_.maximum_message_size)
          : recording.writer.BeginFile(name);
  if (started) return true;
  // Nothing can be recorded: back to idle with the reason.
  DeleteMarker(kBusyMarker);
  messages_.ShowMessageForm(
      CannotCreateBeforeRecording(name, recording.writer.reason()), 0,
      state_.messages.viewer_message_title);
  return false;
}

void RecordingCycle::RecordingTick(int16_t& tick_busy) {
  StartupValues& values = state_.values;
  VideoState& video = state_.video;
  const double elapsed = clock_.Now() - start_time_;
  // Until time has passed the rate is unknown and the test passes.
  values.achieved_rate =
      elapsed > 0 ? static_cast<float>(values.recorded_size / elapsed) : 0;
  if ((elapsed > 0 && values.achieved_rate > values.data_rate_budget) ||
      video.video_state != 2 || state_.audio.audio_busy == 1 ||
      video.compress_busy == 1 || video.size_change_busy == 1) {
    tick_busy = 0;
    return;
  }
  const bool recording = state_.activity.is_recording == 1;
  if (recording && window_ == nullptr) {
    tick_busy = 0;
    return;
  }
  if (recording &&
      (++tick_count_ <= 1 || state_.recording.audio_record_count <= 1)) {
    video.key_frame_counter = 0;
  }
  const int32_t length = devices_.video.CompressCurrentFrame();
  if (length > 48 && state_.activity.is_recording == 1 &&
      state_.recording.audio_record_count > 0) {
    StoreFrame(length);
  }
  tick_busy = 0;
}

void RecordingCycle::StoreFrame(int32_t length) {
  StartupValues& values = state_.values;
  if (length + kRecordHeaderSize > kRingSlotBytes) {
    // Too long for its slot: dropped, and the next frame must not build on it.
    values.force_key_frame = 1;
    return;
  }
  ring_[ring_index_] = QByteArray(
      reinterpret_cast<const char*>(devices_.video.compressed_frame()), length);
  values.force_key_frame = 0;
  const int next = (ring_index_ + 1) % kRingSlots;
  bool stored = true;
  if (!ring_[next].isEmpty()) {
    stored = state_.recording.writer.AppendVideo(ring_[next]);
    values.recorded_size = state_.recording.writer.recorded_size();
  }
  ring_index_ = next;
  window_->ShowRecordedSize(values.recorded_size);
  if (!stored || values.recorded_size > state_.maximum_message_size)
    window_->PressStop();
}

bool RecordingCycle::StopRecording() {
  if (state_.activity.is_recording != 1 || window_ == nullptr) return false;
  FinishFile();
  state_.activity.is_recording = 0;
  if (state_.settings.full_duplex == 0) CloseHalfDuplexRecorder();
  window_->EnableAfterActivity();
  const QString name = window_->RecordingName().trimmed();
  window_->PutOnClipboard(QDir::current().filePath(name));
  window_->ShowNewRecording(name);
  DeleteMarker(kBusyMarker);
  return true;
}

void RecordingCycle::FinishFile() {
  MessageWriter& writer = state_.recording.writer;
  writer.Finish();
  const QString& name = state_.recording.file_name;
  QString told;
  switch (writer.result()) {
    case FinishResult::kWhole:
      return;
    case FinishResult::kNotCreated:
      told = RecordingNotKept(name, writer.reason());
      break;
    case FinishResult::kCut:
      told = RecordingCut(name, writer.reason(), writer.kept_size(),
                          writer.kept_audio_bytes());
      break;
  }
  messages_.ShowMessageForm(told, 0, state_.messages.viewer_message_title);
}

void RecordingCycle::CloseHalfDuplexRecorder() {
  AudioState& audio = state_.audio;
  audio.returned_block_count = 0;
  audio.audio_arrived = 0;
  devices_.audio.StopRecorder();
  messages_.PauseWithEvents(1.0f, {});
  if (audio.returned_block_count != 1) return;
  devices_.audio.ClearStateHead();
  std::vector<uint8_t> block(kAudioBlockSize);
  devices_.wave.CopyRawBufferWaveRecorder(audio.last_returned_header,
                                          block.data(), 1,
                                          devices_.audio.state_block());
  devices_.audio.ClearStateHead();
  if (devices_.wave.CloseWaveRecorder(devices_.audio.state_block()) < 0) {
    messages_.ShowMessageForm("scdonetest ", 0, state_.messages.message_title);
  }
}

void RecordingCycle::StopBeforeClosing() {
  if (state_.activity.is_recording != 1 || window_ == nullptr) return;
  window_->PressStop();
  if (state_.settings.full_duplex != 0) return;
  const AudioState& audio = state_.audio;
  WaitWithEvents(clock_, kArrivalWaitSeconds, [&audio] {
    return audio.audio_capability == 0 || audio.audio_arrived != 0;
  });
}

}  // namespace vocapost
