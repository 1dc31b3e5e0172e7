#include "recorder_ui/mker_form1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <limits>

#include "app/marker_requests.h"
#include "app/settings.h"
#include "platform/units/units.h"
#include "player/viewer.h"

namespace vocapost {
namespace {

constexpr int kTimerMilliseconds = 500;

}  // namespace

MKERForm1::MKERForm1(Application& app)
    : QWidget(nullptr),
      app_(app),
      command4_(new CommandButton("Command4", "Playback", this)),
      command8_(new CommandButton("Command8", "160x120", this)),
      command14_(new CommandButton("Command14", "Stop", this)),
      timer1_(new QTimer(this)),
      label5_(new QLabel(this)),
      picture1_(new QWidget(this)) {
  label5_->setObjectName("Label5");
  label5_->move(TwipsToPixels(120), TwipsToPixels(2100));
  picture1_->setObjectName("Picture1");
  picture1_->setToolTip("Local video window");
  picture1_->setGeometry(TwipsToPixels(60), TwipsToPixels(60),
                         TwipsToPixels(2460), TwipsToPixels(1860));
  setObjectName("MKERForm1");
  setWindowTitle("Vocapost");
  timer1_->setObjectName("Timer1");
  for (CommandButton* button : {command4_, command8_, command14_})
    button->hide();
  command4_->SetHandler([this] { Command4_Click(); });
  command8_->SetHandler([this] { Command8_Click(); });
  command14_->SetHandler([this] { Command14_Click(); });
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void MKERForm1::Form_Load() {
  const StartupValues& values = app_.state().values;
  timer1_->start(kTimerMilliseconds);
  resize(TwipsToPixels(values.recorder_width),
         TwipsToPixels(values.recorder_height));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + TwipsToPixels(CentredOffsetTwips(
                        PixelsToTwips(area.width()), values.recorder_width)),
         area.y() + TwipsToPixels(CentredOffsetTwips(
                        PixelsToTwips(area.height()), values.recorder_height)));
  }
  DetectVideo();
  DetectAudio();
  app_.state().launch.recorder_loaded = 1;
}

void MKERForm1::DetectVideo() {
  VideoState& video = app_.state().video;
  QString& title = app_.state().messages.message_title;
  video.video_state = 0;
  video.no_capture = 0;
  const int16_t result = app_.video().InitVideo();
  for (int16_t& supported : video.size_supported) supported = 1;
  if (result == 0) {
    app_.messages().ShowMessageForm(
        "Video operations are not supported.  If this is the first use of this "
        "product you will need to restart Windows so settings will take "
        "effect.  "
        "Audio can be used.",
        0, title);
    video.no_capture = 1;
    app_.messages().PauseWithEvents(1.0f, {});
  } else if (result == 1) {
    if (app_.state().launch.play_file_name.isEmpty()) {
      app_.messages().ShowMessageForm(
          "Video receive is supported, but no video capture device found.", 0,
          title);
    }
    video.video_state = 1;
    video.no_capture = 1;
    app_.messages().PauseWithEvents(1.0f, {});
  } else {
    video.video_state = 2;
  }
  picture1_->setVisible(video.video_state == 2);
}

void MKERForm1::DetectAudio() {
  AudioState& audio = app_.state().audio;
  QString& title = app_.state().messages.message_title;
  audio.audio_capability = 0;
  app_.audio().SetRecorderWindow(this);
  switch (app_.audio().InitAudio()) {
    case 0:
      app_.messages().ShowMessageForm(
          "Audio operations are not supported.  You need to have a properly "
          "configured sound card and GSM 6.1 audio compression codec "
          "installed.  "
          "Install from Windows CD.",
          0, title);
      app_.messages().PauseWithEvents(1.0f, {});
      break;
    case 1:
      app_.messages().ShowMessageForm(
          "Full duplex audio operations are not supported.  You probably don't "
          "have a full duplex sound card.  Please exit and restart.  Program "
          "will "
          "use half duplex audio capabilities.",
          0, title);
      audio.audio_capability = 1;
      WriteFullDuplexSetting(app_.services().settings, "0");
      app_.messages().PauseWithEvents(1.0f, {});
      break;
    default:
      audio.audio_capability = 2;
      break;
  }
}

void MKERForm1::ShowRecordedSize(int32_t size) {
  label5_->setText(QString::number(size));
}

void MKERForm1::PressStop() { command14_->Press(); }

void MKERForm1::closeEvent(QCloseEvent* event) {
  // The program ends through the Viewer's unload, which unloads this window.
  event->ignore();
  Form_QueryUnload();
}

void MKERForm1::Form_QueryUnload() {
  LaunchState& launch = app_.state().launch;
  // While exit is held back (start-up, or an exit already under way) the
  // close could only wait forever.
  if (launch.exit_enabled != 1 || launch.recorder_closing == 1) return;
  launch.recorder_closing = 1;
  if (Viewer* viewer = app_.viewer()) viewer->Command6()->Press();
  WaitWithEvents(app_.services().clock, std::numeric_limits<double>::infinity(),
                 [&launch] { return launch.viewer_ready != 1; });
}

void MKERForm1::Form_Unload() {
  timer1_->stop();
  app_.state().launch.recorder_loaded = 0;
}

void MKERForm1::Timer1_Timer() {
  const MarkerRequests requests = TakeMarkerRequests(app_.state().launch);
  if (requests.end) {
    if (Viewer* viewer = app_.viewer()) viewer->Command6()->Press();
    return;
  }
  if (requests.show && isMinimized()) showNormal();
}

// Playback: started by the player.
void MKERForm1::Command4_Click() {}

// The 160 x 120 capture size: applied by the recording parameters.
void MKERForm1::Command8_Click() {}

void MKERForm1::Command14_Click() {
  app_.messages().UnloadErrorForm();
  const ActivityState& activity = app_.state().activity;
  if (activity.is_recording == 0 && activity.is_playing == 0) return;
}

}  // namespace vocapost
