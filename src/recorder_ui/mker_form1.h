#pragma once

#include <QComboBox>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMargins>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>

#include "app/application.h"
#include "record/recording_window.h"
#include "recorder_ui/command_button.h"
#include "recorder_ui/drag_text.h"
#include "recorder_ui/file_list.h"
#include "recorder_ui/image_button.h"

namespace vocapost {

// The Recorder window: a narrow strip with the video picture, two panels of
// image buttons and the file lists. The command buttons the image buttons
// stand for lie right of the strip, out of sight.
class MKERForm1 final : public QWidget, public RecordingWindow {
 public:
  explicit MKERForm1(Application& app);

  void Form_Load();
  void Form_QueryUnload();
  void Form_Unload();
  void Form_Resize();
  void Form_Paint();
  void Form_MouseDown() {}
  void Timer1_Timer();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command8_Click();
  void Command14_Click();
  void Command15_Click();
  void Command16_Click();
  void Command17_Click();
  void Label5_MouseDown();
  void Combo1_Click();
  void Command22_Click();
  void Command23_Click();
  void Command24_Click();
  void Command25_Click();
  void Command26_Click();
  void Command27_Click();
  void Command28_Click();
  void File1_MouseDown(Qt::MouseButton button, const QPoint& position);
  void File2_MouseDown(Qt::MouseButton button, const QPoint& position);
  void File3_MouseDown(Qt::MouseButton button, const QPoint& position);
  void File2_DblClick();
  void File_CompleteDrag();

  // What the file buttons and menus do with the name chosen in a list.
  void CreatePackage(const QString& name);
  void SendFile(const QString& name);
  void PlayFile(const QString& name);
  void DeleteFile(const QString& name);
  void ExportFile(const QString& name);
  // Tests put a recorder of sent names in place of the e-mail program.
  void SetSendFile(std::function<void(const QString&)> send) {
    send_file_ = std::move(send);
  }

  void SizeButton(int width, int height, int flag);
  void QualityButton(int32_t ratio, int picture);
  void SpeedButton(int index, int picture);
  void ApplyChosenFrameSize();
  // The local video picture's right-click menu: capture sizes and dialogs.
  void ShowVideoMenu(const QPoint& position);

  void ClearPackageList() override;
  void DisableForActivity() override;
  void EnableAfterActivity() override;

  void ShowRecordedSize(int32_t size) override;
  void PressStop() override;
  void DisableExit() override;
  void ShowRecordingName(const QString& name) override;
  QString RecordingName() const override;
  QString RateText() const override;
  void ShowNewRecording(const QString& name) override;
  void PutOnClipboard(const QString& text) override;

  CommandButton* Command(int number) const { return commands_.at(number); }
  ImageButton* ImagePicture(int number) const { return images_.at(number); }
  CommandButton* Command4() const { return Command(4); }
  CommandButton* Command8() const { return Command(8); }
  CommandButton* Command14() const { return Command(14); }
  QLabel* Label(int number) const { return labels_.at(number); }
  QLabel* Label5() const { return Label(5); }
  QWidget* Picture1() const { return picture1_; }
  QLabel* Picture2() const { return picture2_; }
  QWidget* Picture8() const { return picture8_; }
  QWidget* Picture9() const { return picture9_; }
  FileList* File1() const { return file1_; }
  FileList* File2() const { return file2_; }
  FileList* File3() const { return file3_; }
  QComboBox* Combo1() const { return combo1_; }
  QTimer* Timer1() const { return timer1_; }
  DragText* Text1() const { return text1_; }
  QMenu* mnuMain() const { return mnu_main_; }
  QMenu* mnuMake() const { return mnu_make_; }
  QMenu* mnuDelete() const { return mnu_delete_; }
  QMenu* mnuOutlook() const { return mnu_outlook_; }
  int16_t painted() const { return painted_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ConnectParameterButtons();
  void CreateCommands();
  void CreateImageButtons();
  void CreateMenus();
  void ConnectFileCommands();
  void WatchProgramHome();
  // The selected name of `list`, or empty after telling the user.
  QString SelectedOrTell(const FileList& list);
  void OpenFileMenu(const FileList& list, QMenu* menu, const QPoint& position);
  void ConnectImageButton(int picture, int model, bool radio);
  void GiveImageButtonsTheirPictures();
  void CopyTooltipsToImageButtons();
  void CoarseLayout();
  void DetectVideo();
  void DetectAudio();
  void Centre();
  // The border around the client area, and the client size that makes the
  // outer window its fixed size.
  QMargins FrameBorder() const;
  QSize ClientSize() const;
  void ShowModelPicture(int picture, QPixmap ButtonPictures::*look);
  // Red frame edges and a size tooltip that tells the time and the share
  // of the maximum size, while a recording runs.
  void ShowRecordingLook(bool recording);

  Application& app_;
  std::map<int, CommandButton*> commands_;
  std::map<int, ImageButton*> images_;
  std::map<int, int> models_;  // image button → its command button
  std::map<int, QLabel*> labels_;
  QWidget* picture1_ = nullptr;
  QLabel* picture2_ = nullptr;
  QWidget* picture8_ = nullptr;
  QWidget* picture9_ = nullptr;
  QLabel* picture5_ = nullptr;
  QLabel* picture6_ = nullptr;
  QLabel* picture7_ = nullptr;
  FileList* file1_ = nullptr;
  FileList* file2_ = nullptr;
  FileList* file3_ = nullptr;
  QComboBox* combo1_ = nullptr;
  DragText* text1_ = nullptr;
  QMenu* mnu_main_ = nullptr;
  QMenu* mnu_make_ = nullptr;
  QMenu* mnu_delete_ = nullptr;
  QMenu* mnu_outlook_ = nullptr;
  std::function<void(const QString&)> send_file_;
  QFileSystemWatcher* home_watcher_ = nullptr;
  QTimer* folder_changed_ = nullptr;
  QTimer* timer1_ = nullptr;
  int16_t painted_ = 0;
  QMargins sized_for_border_;
  double recording_started_at_ = 0;
  QString size_tooltip_;  // the size label's own tooltip while recording
};

}  // namespace vocapost
