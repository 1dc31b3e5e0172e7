#include "player/viewer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "app/markers.h"
#include "app/startup.h"
#include "messages/control_fonts.h"
#include "platform/display/screen_placement.h"
#include "platform/units/units.h"
#include "recorder_ui/button_art.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {
namespace {

constexpr int kImageButtonTwips = 330;
// The position bar: its height and its gap below the bottom row (pixels).
constexpr int kPositionBarHeight = 4;
constexpr int kPositionBarGap = 5;

ButtonPictures PicturesFor(ButtonGlyph glyph, qreal dpr) {
  const QSize size(TwipsToPixels(kImageButtonTwips),
                   TwipsToPixels(kImageButtonTwips));
  return {ButtonPicture(glyph, ButtonLook::kNormal, size, dpr),
          ButtonPicture(glyph, ButtonLook::kDown, size, dpr),
          ButtonPicture(glyph, ButtonLook::kDisabled, size, dpr)};
}

QLabel* Decoration(const QString& name, QWidget* parent, const QColor& colour) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace

Viewer::Viewer(Application& app) : QWidget(nullptr), app_(app) {
  setObjectName("Viewer");
  setWindowTitle(kViewerCaption);
  setFont(ControlFont());
  CreateControls();
  player_tick = [this] { app_.player().PlayerTick(); };
  recording_tick = [this](int16_t& tick_busy) {
    app_.recording().RecordingTick(tick_busy);
  };
}

void Viewer::CreateControls() {
  picture6_ = new ImageButton("Picture6", this);
  picture5_ = new ImageButton("Picture5", this);
  picture4_ = Decoration("Picture4", this, QColor(0x16, 0x3a, 0x63));
  picture3_ = Decoration("Picture3", this, QColor(0x1f, 0x5f, 0xa8));
  picture1_ = Decoration("Picture1", this, QColor(0x16, 0x3a, 0x63));
  picture2_ = Decoration("Picture2", this, Qt::black);
  picture2_->setToolTip("Playback window");
  picture2_->setScaledContents(true);
  command1_ = new CommandButton("Command1", "&Stop", this);
  command1_->setToolTip("Stop playing");
  command1_->hide();
  command6_ = new CommandButton("Command6", "&Exit", this);
  command6_->setToolTip("Exit Program");
  command6_->hide();
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  command12_ = new CommandButton("Command12", "Dummy", this);
  command12_->hide();
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label1_->setAlignment(Qt::AlignCenter);

  const qreal dpr = devicePixelRatioF();
  command1_->SetPictures(PicturesFor(ButtonGlyph::kStop, dpr));
  command6_->SetPictures(PicturesFor(ButtonGlyph::kExit, dpr));
  command1_->SetHandler([this] { Command1_Click(); });
  command6_->SetHandler([this] { Command6_Click(); });
  command12_->SetHandler([this] { Command12_Click(); });
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(picture5_, &ImageButton::Click, this, [this] { Picture5_Click(); });
  connect(picture5_, &ImageButton::MouseDown, this,
          [this] { Picture5_MouseDown(); });
  connect(picture5_, &ImageButton::MouseUp, this,
          [this] { Picture5_MouseUp(); });
  connect(picture6_, &ImageButton::Click, this, [this] { Picture6_Click(); });
  connect(picture6_, &ImageButton::MouseDown, this,
          [this] { Picture6_MouseDown(); });
  connect(picture6_, &ImageButton::MouseUp, this,
          [this] { Picture6_MouseUp(); });

  const int button = TwipsToPixels(kImageButtonTwips);
  picture5_->setGeometry(TwipsToPixels(design_.picture5_left), 0, button,
                         button);
  picture6_->setGeometry(0, 0, button, button);
  picture1_->setGeometry(0, TwipsToPixels(195),
                         TwipsToPixels(design_.picture_left) / 2,
                         TwipsToPixels(900));
  label1_->resize(TwipsToPixels(design_.label_width), TwipsToPixels(240));
  FitLabelFont(*label1_, "88.0");  // the widest zoom factor
  resize(TwipsToPixels(2700), TwipsToPixels(2580));
}

StartResult Viewer::Form_Load() { return Startup(app_).Run(); }

void Viewer::GiveImageButtonsTheirLooks() {
  picture5_->setPixmap(command6_->pictures().normal);
  picture6_->setPixmap(command1_->pictures().normal);
  CopyTooltipsToImageButtons();
  command6_->setVisible(false);
  command1_->setVisible(false);
  command6_->move(0, command6_->y());
}

void Viewer::CopyTooltipsToImageButtons() {
  picture5_->setToolTip(command6_->toolTip());
  picture6_->setToolTip(command1_->toolTip());
}

void Viewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Viewer::Form_Resize() {
  const StartupValues& values = app_.state().values;
  // Until start-up has set the layout values there is nothing to lay out.
  if (in_resize_ || values.smallest_viewer_width == 0) return;
  if (windowState() &
      (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
    showNormal();
  }
  if (windowState() != Qt::WindowNoState) return;
  ViewerLayoutInput input;
  input.window_width = PixelsToTwips(width());
  input.picture_top = values.picture_top;
  input.smallest_width = values.smallest_viewer_width;
  input.recorded_width_twips = app_.state().activity.recorded_width_twips;
  input.design = design_;
  in_resize_ = true;
  ApplyLayout(ComputeViewerLayout(input));
  in_resize_ = false;
}

void Viewer::ApplyLayout(const ViewerLayout& l) {
  const QSize window(TwipsToPixels(l.window_width),
                     TwipsToPixels(l.window_height));
  if (size() != window) resize(window);
  picture2_->setGeometry(
      TwipsToPixels(design_.picture_left), TwipsToPixels(l.picture_top),
      TwipsToPixels(l.picture_width), TwipsToPixels(l.picture_height));
  label1_->setVisible(l.label_visible);
  if (l.label_visible) label1_->setText(l.label_caption);
  const int buttons_top = TwipsToPixels(l.buttons_top);
  command1_->move(command1_->x(), buttons_top);
  command6_->move(command6_->x(), buttons_top);
  label1_->move(TwipsToPixels(l.label_left), TwipsToPixels(l.label_top));
  picture4_->setGeometry(
      TwipsToPixels(l.picture4_left), TwipsToPixels(l.picture_top),
      TwipsToPixels(design_.picture4_width), TwipsToPixels(l.picture_height));
  command12_->move(TwipsToPixels(l.command12_left), command12_->y());
  picture5_->move(picture5_->x(), command6_->y());
  picture6_->move(TwipsToPixels(l.picture6_left), command1_->y());
  picture3_->setGeometry(
      picture2_->x(),
      buttons_top + TwipsToPixels(kImageButtonTwips) + kPositionBarGap,
      picture2_->width(), kPositionBarHeight);
  shown_progress_ = -1;
}

void Viewer::ShowForPlayback(int offset_twips) {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  // A hidden window gets its resize event only when shown: the layout runs
  // now, so that the placement uses the height after a size change.
  Form_Resize();
  ShowPlayingPosition(0, 0);
  const QRect area = ScreenArea();
  const int left = PixelsToTwips(area.width()) / 2 + offset_twips;
  const int height = PixelsToTwips(frameGeometry().height());
  move(area.x() + TwipsToPixels(left), CentredOnScreen(0, height).y());
  show();
  raise();
  activateWindow();
}

void Viewer::ShowPlayingPosition(int32_t read_position, int32_t file_length) {
  const int width = picture3_->width();
  const double share =
      file_length > 0
          ? std::clamp(double(read_position - 1) / file_length, 0.0, 1.0)
          : 0.0;
  const int filled = static_cast<int>(share * width);
  if (filled == shown_progress_) return;
  shown_progress_ = filled;
  const qreal dpr = devicePixelRatioF();
  QPixmap bar(picture3_->size() * dpr);
  bar.setDevicePixelRatio(dpr);
  bar.fill(QColor(0x16, 0x3a, 0x63));
  QPainter painter(&bar);
  painter.fillRect(QRect(0, 0, filled, picture3_->height()),
                   QColor(0x5c, 0xa8, 0xf0));
  painter.end();
  picture3_->setPixmap(bar);
}

void Viewer::Timer1_Timer() {
  if (tick_busy_ == 1) return;  // the last tick is still running
  tick_busy_ = 1;
  if (app_.state().activity.is_playing == 1) {
    player_tick();
    ShowPlayingPosition(app_.player().read_position(),
                        app_.player().message_file_length());
    tick_busy_ = 0;
    return;
  }
  recording_tick(tick_busy_);
}

void Viewer::Command1_Click() {
  app_.messages().UnloadErrorForm();
  if (MKERForm1* recorder = app_.recorder()) recorder->Command14()->Press();
  app_.player().LeaveLaunchPlayback();
}

void Viewer::Command6_Click() {
  app_.messages().UnloadErrorForm();
  if (app_.state().activity.is_playing == 1) QCoreApplication::processEvents();
  ExitViewer();
}

void Viewer::ExitViewer() {
  if (app_.state().launch.exit_enabled != 1) return;
  timer1_->stop();
  command6_->setEnabled(false);
  picture5_->setPixmap(command6_->pictures().disabled);
  hide();
  Form_Unload();
}

void Viewer::Form_Unload() {
  LaunchState& launch = app_.state().launch;
  WriteMarker(kStoppingMarker);
  if (launch.viewer_ready == 1) {
    app_.audio().StopAudio();
    app_.video().VideoShutdown();
    app_.RestoreMessageProcedure();
  }
  app_.QuitHelp();
  launch.viewer_ready = 0;
  if (launch.recorder_loaded == 1) app_.UnloadRecorder();
  if (launch.recorder_closing != 1) {
    WaitWithEvents(app_.services().clock,
                   std::numeric_limits<double>::infinity(),
                   [&launch] { return launch.recorder_loaded == 0; });
  }
  if (launch.exit_on_request == 1) WriteMarker(kEndingAnswerMarker);
  DeleteMarker(kStoppingMarker);
  app_.EndProgram(0);
}

void Viewer::closeEvent(QCloseEvent* event) {
  // Closing the window unloads it, which ends the program.
  event->ignore();
  timer1_->stop();
  hide();
  Form_Unload();
}

void Viewer::Command12_Click() { app_.InsertRecipientNotice(); }

void Viewer::SetWindowWidthTwips(int width) {
  resize(TwipsToPixels(width), height());
}

void Viewer::ShowMagnification(bool visible, const QString& caption) {
  label1_->setVisible(visible);
  if (visible) label1_->setText(caption);
}

int Viewer::OuterWidthTwips() const {
  return PixelsToTwips(picture2_->width());
}

int Viewer::OuterHeightTwips() const {
  return PixelsToTwips(picture2_->height());
}

void Viewer::SizePictureTwips(int width, int height) {
  picture2_->resize(TwipsToPixels(width), TwipsToPixels(height));
}

void Viewer::DrawPicture(const BitmapInfoHeader& format, const uint8_t* bgr,
                         int width, int height) {
  const int w = format.width, h = std::abs(format.height);
  // Bottom-up BGR rows, turned the right way up and stretched.
  const QImage picture =
      QImage(bgr, w, h, w * 3, QImage::Format_BGR888).mirrored();
  picture2_->setPixmap(QPixmap::fromImage(picture.scaled(
      width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void Viewer::Picture5_Click() {
  if (command6_->isEnabled()) command6_->Press();
}

void Viewer::Picture5_MouseDown() {
  picture5_->setPixmap(command6_->pictures().down);
}

void Viewer::Picture5_MouseUp() {
  picture5_->setPixmap(command6_->pictures().normal);
}

void Viewer::Picture6_Click() {
  if (command1_->isEnabled()) command1_->Press();
}

void Viewer::Picture6_MouseDown() {
  picture6_->setPixmap(command1_->pictures().down);
}

void Viewer::Picture6_MouseUp() {
  picture6_->setPixmap(command1_->pictures().normal);
}

}  // namespace vocapost
