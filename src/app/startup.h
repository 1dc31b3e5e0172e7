#pragma once

#include "app/application.h"

namespace vocapost {

// The start-up sequence, run as the Viewer window loads: prepares the
// program folder, settings and language, checks the display, settles with
// other running copies, chooses what this launch is for and loads the
// windows.
class Startup {
 public:
  explicit Startup(Application& app);
  StartResult Run();

 private:
  bool PrepareEnvironment();     // program folder, settings, language, display
  bool OtherCopyIsBusy();        // another copy records or plays
  void ClearStaleMarkers();      // markers left by copies that have ended
  bool ChooseLaunch();           // the command line and the file to play
  bool SettleWithRunningCopy();  // hand-over to this copy, or leave
  void SetStartupValues();       // values, start-up picture, windows' looks
  void LoadRecorderAndFinish();  // the Recorder window and the first action
  void EndLaunchThatCannotPlay();  // its file went or cannot be read

  Application& app_;
  AppState& state_;
  int end_code_ = 0;
};

}  // namespace vocapost
