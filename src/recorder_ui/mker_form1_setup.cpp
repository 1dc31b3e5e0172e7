// The Setup button: hands over to the settings program, which starts us
// again once the user has chosen.
#include <QFileInfo>

#include "platform/process/program_start.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {
namespace {

const QString kSetupProgram = "setmail.exe";

}  // namespace

void MKERForm1::Command15_Click() {
  ClearPackageList();
  app_.messages().UnloadErrorForm();
  // The current folder is the program home.
  if (QFileInfo(kSetupProgram).isFile()) {
    const QString line =
        kSetupProgram + ' ' + app_.options().program_name + ".exe";
    // A setup tool that will not start must not leave the user with nothing.
    if (StartCommandLine(app_.starter(), line)) {
      if (Viewer* viewer = app_.viewer()) viewer->Command6()->Press();
      return;
    }
  }
  app_.messages().ShowMessage("The SETMAIL.EXE Program Seems To Be Missing.", 0,
                              app_.state().messages.viewer_message_title);
}

}  // namespace vocapost
