#include "player/player_engine.h"

#include <QFileInfo>
#include <QtEndian>

#include "app/markers.h"
#include "platform/text/user_text.h"
#include "player/playback_timing.h"

namespace vocapost {
namespace {

// Recorded frame widths, the twips the Viewer reports them in, and the size
// button that applies each.
constexpr double kSizeChangeWaitSeconds = 3.0;

struct FrameWidth {
  int pixels, twips, button;
};
constexpr FrameWidth kFrameWidths[] = {{80, 1200, 6},
                                       {120, 1800, 7},
                                       {160, 2400, 8},
                                       {200, 3000, 9},
                                       {240, 3600, 10}};

}  // namespace

PlayerEngine::PlayerEngine(AppState& state, AudioEngine& audio,
                           VideoEngine& video, MessageOperations& messages,
                           Clock& clock)
    : state_(state),
      audio_(audio),
      video_(video),
      messages_(messages),
      clock_(clock) {}

void PlayerEngine::OpenMessageForPlay(const QString& name) {
  int width = 0;
  MessageReader probe;
  if (probe.Open(name)) {
    while (std::optional<MessageRecord> record = probe.Next()) {
      if (record->kind != RecordKind::kVideo) continue;
      if (record->payload.size() >= 8) {
        width = qFromLittleEndian<qint32>(record->payload.constData() + 4);
      }
      break;
    }
  }
  VideoState& video = state_.video;
  video.size_change_busy = 1;
  state_.activity.recorded_width_twips = 0;
  int button = width == 0 ? 8 : 0;
  for (const FrameWidth& known : kFrameWidths) {
    if (known.pixels == width) {
      state_.activity.recorded_width_twips = static_cast<int16_t>(known.twips);
      button = known.button;
    }
  }
  if (button == 0 || window_ == nullptr) {
    video.size_change_busy = 0;
    return;
  }
  window_->PressSizeButton(button);
  // A press that applied no size (one the device refused) would leave the
  // flag up for good: play on at the size the display has.
  if (!WaitWithEvents(clock_, kSizeChangeWaitSeconds,
                      [&video] { return video.size_change_busy == 0; })) {
    video.size_change_busy = 0;
  }
}

void PlayerEngine::Play() {
  window_->ClearPackageList();
  messages_.UnloadErrorForm();
  ActivityState& activity = state_.activity;
  LaunchState& launch = state_.launch;
  if (activity.is_recording == 1) {
    messages_.ShowMessageForm("Recording, Please Stop First", 0,
                              state_.messages.viewer_message_title);
    return;
  }
  if (activity.is_playing != 0) return;
  QString name = window_->CurrentRecordingName().trimmed();
  if (launch.play_file_name.isEmpty() && launch.selected_play_file.isEmpty() &&
      !name.isEmpty()) {
    OpenMessageForPlay(name);
  }
  if (!launch.play_file_name.isEmpty() && launch.play_file_taken == 0) {
    launch.play_file_taken = 1;
    name = launch.play_file_name;
  }
  if (!launch.selected_play_file.isEmpty()) {
    name = launch.selected_play_file;
    launch.selected_play_file.clear();
  }
  if (name.isEmpty() || !QFileInfo(name).isFile()) {
    messages_.ShowMessageForm(
        "You can only use the Play button to replay the current Vocapost "
        "recording.  To view a "
        "previous or old recording, double-click on the Vocapost file name to "
        "view it, or "
        "right-click the file you want to view and select play.",
        0, state_.messages.viewer_message_title);
    return;
  }
  if (!reader_.Open(name)) {
    // Present but unreadable: say so rather than show an empty Viewer.
    messages_.ShowMessageForm(UserText("The message %1 cannot be read (%2).")
                                  .arg(name, reader_.error()),
                              0, state_.messages.viewer_message_title);
    return;
  }
  WriteMarker(kBusyMarker);
  messages_.UnloadErrorForm();
  if (state_.video.no_capture == 1 && QFileInfo::exists("firsview.bmp")) {
    window_->ShowAudioOnlyPicture();
  }
  window_->ShowViewer(state_.values.viewer_offset);
  if (state_.settings.full_duplex == 0) audio_.StartPlayer();
  message_file_length_ = reader_.file_length();
  window_->DisableForActivity();
  activity.is_playing = 1;
  state_.values.achieved_rate = 0;
  state_.values.recorded_size = 0;
  state_.values.recording_start_time = clock_.Now();
}

void PlayerEngine::PlayerTick() {
  if (state_.audio.queued_play_buffers >= kMostQueuedPlayBlocks) return;
  const std::optional<MessageRecord> record = reader_.Next();
  if (!record) {
    EndPlayback();
    return;
  }
  if (record->kind == RecordKind::kVideo) {
    // A frame the buffer could not hold whole is skipped, never read past.
    if (!record->truncated && record->length <= kFrameBufferSize) {
      video_.DecodeAndDrawFrame(
          reinterpret_cast<const uint8_t*>(record->payload.constData()),
          record->payload.size());
    }
    return;
  }
  if (state_.audio.audio_capability == 0) return;
  const int16_t result = audio_.PlayAudioBlock(record->payload);
  if (result < 0) {
    messages_.ShowMessageForm(UserText("play error %1").arg(result), 0,
                              state_.messages.message_title);
  }
}

void PlayerEngine::FinishPlaying() {
  state_.activity.is_playing = 0;
  reader_.Close();
  if (state_.settings.full_duplex == 0) audio_.StopPlayer();
  window_->EnableAfterActivity();
  DeleteMarker(kBusyMarker);
  window_->HideViewer();
}

void PlayerEngine::EndPlayback() {
  FinishPlaying();
  LeaveLaunchPlayback();
}

void PlayerEngine::LeaveLaunchPlayback() {
  LaunchState& launch = state_.launch;
  if (launch.play_file_name.isEmpty()) return;
  if (launch.return_to_recorder == 0) {
    window_->PressExit();
    return;
  }
  launch.play_file_name.clear();
  launch.return_to_recorder = 0;
  window_->ShowRecorder();
  window_->PressSizeButton(8);
}

bool PlayerEngine::StopPlaying() {
  if (state_.activity.is_playing != 1 || window_ == nullptr) return false;
  FinishPlaying();
  if (state_.values.chosen_width != 160) window_->PressSizeButton(8);
  return true;
}

}  // namespace vocapost
