#pragma once

#include <QString>

#include "audio/audio_engine.h"

namespace vocapost {

// What the recording cycle needs of the Recorder window.
class RecordingWindow : public RecorderWindow {
 public:
  virtual void ClearPackageList() = 0;
  virtual void DisableForActivity() = 0;
  virtual void EnableAfterActivity() = 0;
  // Greys the Exit button for the length of a recording.
  virtual void DisableExit() = 0;
  virtual void ShowRecordingName(const QString& name) = 0;
  virtual QString RecordingName() const = 0;
  // The bytes-per-second choice, as text.
  virtual QString RateText() const = 0;
  // The current-recording list shows exactly `name`, selected; the list of
  // previous recordings is read again.
  virtual void ShowNewRecording(const QString& name) = 0;
  virtual void PutOnClipboard(const QString& text) = 0;
};

}  // namespace vocapost
