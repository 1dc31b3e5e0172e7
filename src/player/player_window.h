#pragma once

#include <QString>

namespace vocapost {

// What playback needs of the windows.
class PlayerWindow {
 public:
  virtual ~PlayerWindow() = default;
  virtual void ClearPackageList() = 0;
  virtual QString CurrentRecordingName() const = 0;
  // Presses the Recorder's size button 6 to 10.
  virtual void PressSizeButton(int button) = 0;
  virtual void DisableForActivity() = 0;
  virtual void EnableAfterActivity() = 0;
  // The audio-only picture in the playback window.
  virtual void ShowAudioOnlyPicture() = 0;
  // Shows the Viewer left of centre by `offset_twips`, vertically centred.
  virtual void ShowViewer(int offset_twips) = 0;
  virtual void HideViewer() = 0;
  virtual void ShowRecorder() = 0;
  // Presses the Viewer's Exit, which ends the program.
  virtual void PressExit() = 0;
};

}  // namespace vocapost
