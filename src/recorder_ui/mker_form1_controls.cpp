// The Recorder window's controls, in the order the window creates them.
#include <QEvent>

#include "messages/control_fonts.h"
#include "platform/units/units.h"
#include "recorder_ui/button_art.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {
namespace {

struct CommandEntry {
  int number;
  const char* caption;
  const char* tooltip;
  int left, top, width, height;  // twips
  std::optional<ButtonGlyph> glyph;
};

// Command buttons lie right of the visible strip; their pictures are what
// the image buttons show.
const CommandEntry kLateCommands[] = {
    {17, "About", "Click to see About window", 4305, 5805, 705, 225,
     ButtonGlyph::kAbout},
    {16, "Help", "Click to see Help window", 3690, 5790, 540, 225,
     ButtonGlyph::kHelp},
    {15, "Setup", "Setup", 4905, 1425, 840, 225, std::nullopt},
    {14, "&Stop", "Stop recording or playing", 3690, 2265, 495, 255,
     ButtonGlyph::kStop},
    {13, "Low", "Set recording quality to low", 3075, 2700, 225, 225,
     ButtonGlyph::kQualityLow},
    {12, "Medium", "Set recording quality to medium", 3375, 2670, 225, 225,
     ButtonGlyph::kQualityMedium},
    {11, "High", "Set recording quality to high", 3675, 2715, 225, 225,
     ButtonGlyph::kQualityHigh},
    {10, "5", "Set capture size to 240x180", 7350, 3765, 225, 225,
     std::nullopt},
    {9, "4", "Set capture size to 200x150", 7035, 3765, 225, 225, std::nullopt},
    {8, "3", "Set capture size to 160x120", 6735, 3780, 225, 225, std::nullopt},
    {7, "2", "Set capture size to 120x90", 6435, 3765, 225, 225, std::nullopt},
    {6, "1", "Set capture size to 80x60", 6135, 3765, 225, 225, std::nullopt},
};
const CommandEntry kFileCommands[] = {
    {28, "Command28",
     "Send selected file w/ viewer via e-mail.  Recipient needs viewer only "
     "once to view "
     "subsequent .vrc files.",
     4245, 5235, 300, 300, ButtonGlyph::kSendPackage},
    {27, "Command27", "Delete selected existing file", 4245, 4650, 300, 300,
     ButtonGlyph::kDelete},
    {26, "Command26", "Play selected existing file", 3900, 4650, 300, 300,
     ButtonGlyph::kPlaySelected},
    {25, "Command25", "Send selected existing file via e-mail", 4245, 4305, 300,
     300, ButtonGlyph::kSend},
    {24, "Command24", "Create file /w viewer from selected existing file", 3900,
     4320, 300, 300, ButtonGlyph::kPackage},
    {23, "Command23", "Send current recorded file via e-mail", 4275, 3615, 300,
     300, ButtonGlyph::kSend},
    {22, "Command22", "Create file /w viewer from current recorded file", 3915,
     3585, 300, 300, ButtonGlyph::kPackage},
};
const CommandEntry kSpeedCommands[] = {
    {21, "Command21", "Set video recording speed to high.", 4905, 2700, 210,
     195, ButtonGlyph::kSpeedHigh},
    {20, "Command20", "Set video recording speed to medium.", 4695, 2670, 210,
     210, ButtonGlyph::kSpeedMedium},
    {19, "Command19", "Set video recording speed to low.", 4485, 2655, 195, 240,
     ButtonGlyph::kSpeedLow},
    {18, "Command18", "Set video recording speed to lowest.", 4185, 2655, 210,
     240, ButtonGlyph::kSpeedLowest},
};
const CommandEntry kLastCommands[] = {
    {5, "&Exit", "Exit program", 3075, 5790, 510, 255, ButtonGlyph::kExit},
    {4, "Play", "Playback", 3060, 2295, 495, 255, ButtonGlyph::kPlay},
    {2, "Record", "Record audio and/or video", 4320, 2265, 825, 255,
     ButtonGlyph::kRecord},
};

struct ImageEntry {
  int picture, model, panel;     // panel 8 (upper) or 9 (lower)
  int left, top, width, height;  // twips in the panel
  bool radio;
};

const ImageEntry kImages[] = {
    {12, 2, 8, 120, 90, 780, 600, false},
    {11, 14, 8, 960, 90, 720, 600, false},
    {10, 4, 8, 1740, 90, 780, 600, false},
    {15, 11, 8, 120, 810, 420, 420, true},
    {14, 12, 8, 570, 810, 420, 420, true},
    {13, 13, 8, 1020, 810, 420, 420, true},
    {16, 18, 8, 1500, 810, 240, 420, true},
    {17, 19, 8, 1770, 810, 240, 420, true},
    {18, 20, 8, 2040, 810, 240, 420, true},
    {19, 21, 8, 2310, 810, 240, 420, true},
    {23, 22, 8, 1980, 1530, 300, 330, false},
    {24, 23, 8, 2310, 1530, 300, 330, false},
    {25, 24, 9, 1980, 315, 300, 330, false},
    {26, 25, 9, 2310, 315, 300, 330, false},
    {27, 26, 9, 1980, 690, 300, 330, false},
    {28, 27, 9, 2310, 690, 300, 330, false},
    {29, 28, 9, 2160, 1290, 330, 345, false},
    {20, 5, 9, 120, 1695, 780, 330, false},
    {21, 16, 9, 960, 1695, 720, 330, false},
    {22, 17, 9, 1740, 1695, 780, 330, false},
};

void Place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top),
                      TwipsToPixels(width), TwipsToPixels(height));
}

// Each model's pictures are drawn at the size of the image button that
// shows them, so that they are never scaled.
QSize ImageSizeFor(int model) {
  for (const ImageEntry& entry : kImages) {
    if (entry.model == model)
      return {TwipsToPixels(entry.width), TwipsToPixels(entry.height)};
  }
  return {TwipsToPixels(780), TwipsToPixels(600)};
}

QLabel* MakeLabel(int number, const char* caption, const char* tooltip,
                  QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString("Label%1").arg(number));
  label->setToolTip(tooltip);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLabel* MakePicture(const QString& name, const char* tooltip, QWidget* parent) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setToolTip(tooltip);
  return picture;
}

}  // namespace

void MKERForm1::CreateControls() {
  const auto add_commands = [this](const auto& entries) {
    const qreal dpr = devicePixelRatioF();
    for (const CommandEntry& entry : entries) {
      auto* button = new CommandButton(QString("Command%1").arg(entry.number),
                                       entry.caption, this);
      button->setToolTip(entry.tooltip);
      Place(button, entry.left, entry.top, entry.width, entry.height);
      if (entry.glyph) {
        const QSize size = ImageSizeFor(entry.number);
        button->SetPictures(
            {ButtonPicture(*entry.glyph, ButtonLook::kNormal, size, dpr),
             ButtonPicture(*entry.glyph, ButtonLook::kDown, size, dpr),
             ButtonPicture(*entry.glyph, ButtonLook::kDisabled, size, dpr)});
      }
      commands_[entry.number] = button;
    }
  };
  add_commands(kFileCommands);
  file1_ = new FileList("File1", this);
  file1_->setToolTip(
      "Current recording:  Right click for send options.  Drag enabled.");
  Place(file1_, 75, 3630, 1140, 285);
  file2_ = new FileList("File2", this);
  file2_->setToolTip(
      "Previous recordings:  Right click to view send options.  Drag enabled.");
  Place(file2_, 75, 4380, 1860, 870);
  file3_ = new FileList("File3", this);
  file3_->setToolTip(
      "File /w viewer.  Right click for send options.  Drag enabled.  "
      "Recipient needs viewer "
      "only once to view subsequent .vrc files.");
  Place(file3_, 75, 5385, 1875, 285);
  // Fonts fit the widest names the program gives its files.
  file1_->FitFontTo("28235959.vrc", true);
  file2_->FitFontTo("28235959.vrc", false);
  file3_->FitFontTo("voca-MSG28235959.exe", true);
  add_commands(kSpeedCommands);
  picture9_ = MakePicture("Picture9", "", this);
  Place(picture9_, 0, 4065, 2640, 2085);
  picture8_ = MakePicture("Picture8", "", this);
  Place(picture8_, 0, 2055, 2640, 2010);
  labels_[5] = MakeLabel(5, "0", "Size of recorded file", picture8_);
  Place(labels_[5], 1215, 1575, 720, 270);
  // Room for every size up to the largest a recording reaches.
  FitLabelFont(*labels_[5], "0000000");
  labels_[5]->installEventFilter(this);
  const char* edge = "Double-click here to adjust video source and display.";
  picture7_ = MakePicture("Picture7", edge, this);
  Place(picture7_, 2565, 180, 75, 1875);
  picture6_ = MakePicture("Picture6", edge, this);
  Place(picture6_, 0, 180, 75, 1875);
  picture5_ = MakePicture("Picture5", edge, this);
  Place(picture5_, 0, 0, 2640, 180);
  for (QLabel* frame : {picture5_, picture6_, picture7_}) {
    // A palette, not a style sheet: a style sheet would colour the tooltip.
    frame->setAutoFillBackground(true);
    frame->installEventFilter(this);
  }
  ShowRecordingLook(false);
  text1_ = new DragText("Text1", "Drag", this);
  Place(text1_, 6780, 4425, 615, 285);
  picture2_ = MakePicture("Picture2", "Audio only recording", this);
  picture2_->setScaledContents(true);
  Place(picture2_, 90, 195, 2460, 1860);
  picture2_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(picture2_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& position) { ShowVideoMenu(position); });
  add_commands(kLateCommands);
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  combo1_->setToolTip("Select bytes per second for recording");
  Place(combo1_, 5925, 270, 1170, 315);
  connect(combo1_, qOverload<int>(&QComboBox::activated), this,
          [this] { Combo1_Click(); });
  add_commands(kLastCommands);
  picture1_ = new QWidget(this);
  picture1_->setObjectName("Picture1");
  picture1_->setToolTip("Local video window");
  Place(picture1_, 90, 195, 2460, 1860);
  picture1_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(picture1_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& position) { ShowVideoMenu(position); });
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  CreateCommands();
  labels_[2] =
      MakeLabel(2, "", "This .vrc file is embedded in voca-MSG.exe", this);
  Place(labels_[2], 6120, 3330, 1185, 255);
  labels_[9] = MakeLabel(9, "", "", this);
  Place(labels_[9], 6165, 1725, 1170, 255);
  labels_[8] = MakeLabel(8, "Output Name", "", this);
  Place(labels_[8], 6165, 1440, 1245, 210);
  labels_[7] = MakeLabel(7, "Recording Rate", "", this);
  Place(labels_[7], 5970, 60, 1140, 225);
  labels_[6] = MakeLabel(6, "Output Size", "", this);
  Place(labels_[6], 5955, 615, 1170, 210);
  labels_[3] = MakeLabel(3, "Label3", "", this);
  Place(labels_[3], 4815, 90, 975, 435);
  labels_[1] = MakeLabel(1, "label1", "", this);
  Place(labels_[1], 4170, 60, 630, 255);
  CreateImageButtons();
  // The lists sit over the panels.
  for (FileList* list : {file1_, file2_, file3_}) list->raise();
}

void MKERForm1::CreateCommands() {
  const CommandEntry kFirst[] = {
      {3, "&TV", "", 7005, 4095, 495, 255, std::nullopt},
      {1, "&Img", "", 6435, 4095, 495, 255, std::nullopt}};
  for (const CommandEntry& entry : kFirst) {
    auto* button = new CommandButton(QString("Command%1").arg(entry.number),
                                     entry.caption, this);
    Place(button, entry.left, entry.top, entry.width, entry.height);
    commands_[entry.number] = button;
  }
}

void MKERForm1::CreateImageButtons() {
  for (const ImageEntry& entry : kImages) {
    QWidget* panel = entry.panel == 8 ? picture8_ : picture9_;
    auto* image =
        new ImageButton(QString("Picture%1").arg(entry.picture), panel);
    Place(image, entry.left, entry.top, entry.width, entry.height);
    images_[entry.picture] = image;
    ConnectImageButton(entry.picture, entry.model, entry.radio);
  }
}

bool MKERForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick &&
      (watched == picture5_ || watched == picture6_ || watched == picture7_)) {
    app_.video().ShowCaptureDialogs();
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress && watched == labels_[5])
    Label5_MouseDown();
  return QWidget::eventFilter(watched, event);
}

}  // namespace vocapost
