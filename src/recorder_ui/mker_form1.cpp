#include "recorder_ui/mker_form1.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <limits>

#include "app/marker_requests.h"
#include "app/settings.h"
#include "messages/about_form.h"
#include "messages/caption_file.h"
#include "messages/control_fonts.h"
#include "messages/localise_form.h"
#include "messages/text_lines.h"
#include "platform/display/screen_placement.h"
#include "platform/process/program_start.h"
#include "platform/units/units.h"
#include "player/viewer.h"

namespace vocapost {
namespace {

constexpr int kTimerMilliseconds = 500;

}  // namespace

MKERForm1::MKERForm1(Application& app) : QWidget(nullptr), app_(app) {
  setObjectName("MKERForm1");
  setWindowTitle("Vocapost");
  setFont(ControlFont());
  CreateControls();
  Command(1)->SetHandler([this] { Command1_Click(); });
  Command(2)->SetHandler([this] { Command2_Click(); });
  Command(3)->SetHandler([this] { Command3_Click(); });
  Command(4)->SetHandler([this] { Command4_Click(); });
  Command(5)->SetHandler([this] { Command5_Click(); });
  Command(14)->SetHandler([this] { Command14_Click(); });
  Command(15)->SetHandler([this] { Command15_Click(); });
  Command(16)->SetHandler([this] { Command16_Click(); });
  Command(17)->SetHandler([this] { Command17_Click(); });
  ConnectParameterButtons();
  ConnectFileCommands();
  CreateMenus();
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  app_.recording().SetWindow(this);
}

void MKERForm1::Form_Load() {
  GiveImageButtonsTheirPictures();
  CoarseLayout();
  combo1_->clear();
  combo1_->addItems({"2000", "10000", "20000", "30000"});
  combo1_->setCurrentIndex(3);
  combo1_->show();
  file1_->SetPath(".");
  file1_->SetPattern("*.goo");
  file2_->SetPath(".");
  file2_->SetPattern("*.vrc");
  file3_->SetPath(".");
  file3_->SetPattern("*.goo");
  WatchProgramHome();
  timer1_->start(kTimerMilliseconds);
  Label(1)->setText("Local Video");
  Label(3)->move(TwipsToPixels(120), TwipsToPixels(360));
  DetectVideo();
  Label(3)->hide();
  Label(1)->hide();
  ApplyChosenFrameSize();
  DetectAudio();
  app_.state().extra_text_count = 0;
  LocaliseForm(*this, app_.state().extra_texts, 0,
               app_.state().messages.language_extension);
  Centre();
  app_.state().launch.recorder_loaded = 1;
  CopyTooltipsToImageButtons();
}

void MKERForm1::CoarseLayout() {
  for (QWidget* hidden :
       {static_cast<QWidget*>(Label(1)), static_cast<QWidget*>(Command(1)),
        static_cast<QWidget*>(Command(3))}) {
    hidden->hide();
  }
  for (const int shown : {5, 11, 12, 13, 14, 16, 17}) Command(shown)->show();
  for (const int size : {6, 7, 8}) Command(size)->hide();
  Command(2)->resize(TwipsToPixels(615), Command(2)->height());
  Command(4)->resize(TwipsToPixels(615), Command(4)->height());
  for (const int label : {6, 7, 8, 9, 2}) Label(label)->hide();
}

void MKERForm1::Centre() {
  const StartupValues& values = app_.state().values;
  resize(ClientSize());
  move(CentredOnScreen(values.recorder_width, values.recorder_height));
}

QMargins MKERForm1::FrameBorder() const {
  const QRect outer = frameGeometry(), inner = geometry();
  const QMargins reported(
      inner.left() - outer.left(), inner.top() - outer.top(),
      outer.right() - inner.right(), outer.bottom() - inner.bottom());
  if (!reported.isNull()) return reported;
  // No frame known (yet, or no window manager): the classic border, which
  // leaves the 2640 x 6150 twips the controls were laid out on.
  return QMargins(4, 23, 4, 4);
}

QSize MKERForm1::ClientSize() const {
  const StartupValues& values = app_.state().values;
  const QMargins border = FrameBorder();
  return {
      TwipsToPixels(values.recorder_width) - border.left() - border.right(),
      TwipsToPixels(values.recorder_height) - border.top() - border.bottom()};
}

void MKERForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void MKERForm1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // The window manager tells its frame only once the window is up.
  if (FrameBorder() != sized_for_border_) Form_Resize();
}

void MKERForm1::Form_Resize() {
  raise();
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
  const StartupValues& values = app_.state().values;
  // The window keeps its outer size whatever the user drags.
  sized_for_border_ = FrameBorder();
  const QSize client = ClientSize();
  if (values.recorder_height != 0 && height() != client.height())
    resize(width(), client.height());
  if (values.recorder_width != 0 && width() != client.width())
    resize(client.width(), height());
  if (painted_ == 1) ApplyChosenFrameSize();
  Viewer* viewer = app_.viewer();
  if (app_.state().launch.viewer_ready == 1 && viewer != nullptr) {
    viewer->move(frameGeometry().right() + 1 + TwipsToPixels(30), viewer->y());
  }
}

void MKERForm1::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  // Its work re-opens the codec and yields: not inside a paint.
  if (painted_ == 0) QTimer::singleShot(0, this, [this] { Form_Paint(); });
}

void MKERForm1::Form_Paint() {
  if (painted_ != 0) return;
  painted_ = 1;
  ApplyChosenFrameSize();
  QCoreApplication::processEvents();
}

void MKERForm1::mouseDoubleClickEvent(QMouseEvent*) {
  app_.video().ShowCaptureDialogs();
}

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
  app_.recording().StopBeforeClosing();
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
    // A recording or playback is ended as by Stop first, so that nothing
    // of a recording is lost and no busy marker stays behind.
    app_.recording().StopBeforeClosing();
    if (app_.state().activity.is_playing == 1) Command14()->Press();
    if (Viewer* viewer = app_.viewer()) viewer->Command6()->Press();
    return;
  }
  if (requests.show && isMinimized()) showNormal();
  ApplyChosenFrameSize();
}

void MKERForm1::Command1_Click() {
  ClearPackageList();
  app_.messages().UnloadErrorForm();
}

void MKERForm1::Command2_Click() { app_.recording().Record(); }

void MKERForm1::Command3_Click() { ClearPackageList(); }

void MKERForm1::Command4_Click() { app_.player().Play(); }

void MKERForm1::Command5_Click() {
  ClearPackageList();
  app_.messages().UnloadErrorForm();
  if (Viewer* viewer = app_.viewer()) viewer->Command6()->Press();
}

void MKERForm1::Command8_Click() { SizeButton(160, 120, 2); }

void MKERForm1::Command14_Click() {
  ClearPackageList();
  app_.messages().UnloadErrorForm();
  if (app_.recording().StopRecording()) return;
  app_.player().StopPlaying();
}

void MKERForm1::Command16_Click() {
  ClearPackageList();
  // A Japanese set-up has its read-me in the text editor instead.
  if (!FindFileIgnoringCase("vmessage.jpn").isEmpty()) {
    StartCommandLine(app_.starter(), "notepad.exe readme.vcp");
    return;
  }
  int16_t topic = 0;
  app_.ShowHelp(topic);
}

void MKERForm1::Command17_Click() {
  ClearPackageList();
  AboutForm& about = app_.LoadAboutForm();
  about.move(frameGeometry().right() + 1 + TwipsToPixels(30), y());
  about.show();
  about.raise();
}

void MKERForm1::Label5_MouseDown() { ClearPackageList(); }

void MKERForm1::Combo1_Click() { ClearPackageList(); }

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
  if (video.video_state == 2) {
    picture1_->show();
    picture2_->hide();
    return;
  }
  for (int button = 6; button <= 13; ++button)
    Command(button)->setEnabled(false);
  for (const int picture : {15, 14, 13})
    ShowModelPicture(picture, &ButtonPictures::disabled);
  // A missing or unreadable picture leaves the audio-only picture empty.
  if (QFileInfo::exists("firsview.bmp"))
    picture2_->setPixmap(QPixmap("firsview.bmp"));
  picture1_->hide();
  picture2_->show();
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
  Label5()->setText(QString::number(size));
  if (app_.state().activity.is_recording != 1 || size_tooltip_.isNull()) return;
  const int seconds =
      static_cast<int>(app_.services().clock.Now() - recording_started_at_);
  const int32_t maximum = std::max(app_.state().maximum_message_size, 1);
  const int share = static_cast<int>(int64_t{size} * 100 / maximum);
  const QString progress =
      LocalCaption("Recording for %1:%2, %3% of the maximum size used",
                   app_.state().messages.language_extension)
          .arg(seconds / 60)
          .arg(seconds % 60, 2, 10, QChar('0'))
          .arg(share);
  Label5()->setToolTip(size_tooltip_ + '\n' + progress);
}

void MKERForm1::PressStop() {
  const AppState& state = app_.state();
  // A stop from here while recording is the size limit's (or a full memory
  // image's), unless the window is closing.
  const bool at_maximum =
      state.activity.is_recording == 1 &&
      (state.values.recorded_size > state.maximum_message_size ||
       state.recording.writer.full());
  Command14()->Press();
  // Stop itself may have told of a failure; that notice stays.
  const ErrorForm1* notice = app_.messages().error_form();
  if (!at_maximum || (notice != nullptr && notice->isVisible())) return;
  app_.messages().ShowMessageForm(
      "The recording reached its maximum size and was stopped.", 0,
      app_.state().messages.message_title);
}

void MKERForm1::DisableExit() {
  Command(5)->setEnabled(false);
  ShowModelPicture(20, &ButtonPictures::disabled);
  // Only a recording greys Exit: from here until Stop it is recording.
  recording_started_at_ = app_.services().clock.Now();
  size_tooltip_ = Label5()->toolTip();
  ShowRecordingLook(true);
}

void MKERForm1::ShowRecordingLook(bool recording) {
  for (QLabel* frame : {picture5_, picture6_, picture7_}) {
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, recording ? QColor(0xc6, 0x28, 0x28)
                                                 : QColor(0x16, 0x32, 0x4f));
    frame->setPalette(palette);
  }
  if (!recording && !size_tooltip_.isNull()) {
    Label5()->setToolTip(size_tooltip_);
    size_tooltip_ = QString();
  }
}

void MKERForm1::ShowRecordingName(const QString& name) {
  Label(9)->setText(name);
}

QString MKERForm1::RecordingName() const { return Label(9)->text(); }

QString MKERForm1::RateText() const { return combo1_->currentText(); }

void MKERForm1::ShowNewRecording(const QString& name) {
  file1_->SetPattern(name);
  file1_->SetListIndex(0);
  file2_->Refresh();
}

void MKERForm1::PutOnClipboard(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace vocapost
