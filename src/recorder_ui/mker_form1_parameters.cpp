// Frame size, quality and speed: the Recorder window's recording parameters.
#include <QActionGroup>
#include <QMenu>

#include "messages/caption_file.h"
#include "platform/units/units.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {

void MKERForm1::ConnectParameterButtons() {
  struct Size {
    int button, width, height, flag;  // flag -1: always supported
  };
  for (const Size size :
       {Size{6, 80, 60, 0}, Size{7, 120, 90, 1}, Size{8, 160, 120, 2},
        Size{9, 200, 150, -1}, Size{10, 240, 180, -1}}) {
    Command(size.button)->SetHandler([this, size] {
      SizeButton(size.width, size.height, size.flag);
    });
  }
  for (const auto& [button, ratio, picture] :
       {std::tuple{11, 25, 15}, std::tuple{12, 50, 14},
        std::tuple{13, 100, 13}}) {
    Command(button)->SetHandler(
        [this, ratio, picture] { QualityButton(ratio, picture); });
  }
  for (const auto& [button, index, picture] :
       {std::tuple{18, 0, 16}, std::tuple{19, 1, 17}, std::tuple{20, 2, 18},
        std::tuple{21, 3, 19}}) {
    Command(button)->SetHandler(
        [this, index, picture] { SpeedButton(index, picture); });
  }
}

void MKERForm1::SizeButton(int width, int height, int flag) {
  ClearPackageList();
  app_.messages().UnloadErrorForm();
  VideoState& video = app_.state().video;
  if (flag >= 0 && video.size_supported[flag] == 0) {
    app_.messages().ShowMessageForm(
        "You video capture device does not support capture at this size.", 0,
        app_.state().messages.message_title);
    return;
  }
  StartupValues& values = app_.state().values;
  values.chosen_width = static_cast<int16_t>(width);
  values.chosen_height = static_cast<int16_t>(height);
  resize(ClientSize().width(), this->height());
  app_.video().ApplyFrameSize(width, height);
  video.chosen_button_width = static_cast<int16_t>(width);
}

void MKERForm1::QualityButton(int32_t ratio, int picture) {
  for (const int member : {13, 14, 15}) {
    ShowModelPicture(member, member == picture ? &ButtonPictures::down
                                               : &ButtonPictures::normal);
  }
  ClearPackageList();
  app_.messages().UnloadErrorForm();
  app_.state().values.codec_ratio = static_cast<int16_t>(ratio);
  // Re-applying the current size re-opens the codec with the new ratio.
  switch (app_.state().video.chosen_button_width) {
    case 80:
      Command(6)->Press();
      break;
    case 120:
      Command(7)->Press();
      break;
    case 160:
      Command(8)->Press();
      break;
    case 200:
      Command(9)->Press();
      break;
    case 240:
      Command(10)->Press();
      break;
    default:
      break;
  }
}

void MKERForm1::SpeedButton(int index, int picture) {
  ClearPackageList();
  for (const int member : {16, 17, 18, 19}) {
    ShowModelPicture(member, member == picture ? &ButtonPictures::down
                                               : &ButtonPictures::normal);
  }
  combo1_->setCurrentIndex(index);
}

void MKERForm1::ApplyChosenFrameSize() {
  app_.video().ApplyChosenFrameSize(
      !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)));
}

void MKERForm1::ShowVideoMenu(const QPoint& position) {
  // The size buttons lie out of sight: this menu presses them, so their
  // rules (support, activity) hold here too. The audio-only picture, in the
  // same place, opens it as well.
  QMenu menu(this);
  auto* sizes = new QActionGroup(&menu);
  const int widths[] = {80, 120, 160, 200, 240};
  for (int button = 6; button <= 10; ++button) {
    QAction* size = menu.addAction(Command(button)->toolTip());
    size->setCheckable(true);
    size->setActionGroup(sizes);
    size->setChecked(app_.state().video.chosen_button_width ==
                     widths[button - 6]);
    size->setEnabled(Command(button)->isEnabled());
    connect(size, &QAction::triggered, this,
            [this, button] { Command(button)->Press(); });
  }
  menu.addSeparator();
  QAction* dialogs =
      menu.addAction(LocalCaption("Adjust video source and display...",
                                  app_.state().messages.language_extension));
  const ActivityState& activity = app_.state().activity;
  dialogs->setEnabled(activity.is_recording == 0 && activity.is_playing == 0);
  connect(dialogs, &QAction::triggered, this,
          [this] { app_.video().ShowCaptureDialogs(); });
  // Setup lies out of sight too, and it ends the program: not in the middle
  // of a recording or playback.
  menu.addSeparator();
  QAction* setup = menu.addAction(Command(15)->text() + "...");
  setup->setEnabled(activity.is_recording == 0 && activity.is_playing == 0);
  connect(setup, &QAction::triggered, this, [this] { Command(15)->Press(); });
  menu.exec(picture1_->mapToGlobal(position));
}

}  // namespace vocapost
