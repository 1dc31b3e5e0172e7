#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "app/application.h"
#include "recorder_ui/command_button.h"

namespace vocapost {

// The Recorder window. Its timer answers the requests of newly started
// copies; its buttons are pressed by the image buttons and by other windows.
class MKERForm1 final : public QWidget, public RecorderWindow {
 public:
  explicit MKERForm1(Application& app);

  void Form_Load();
  void Form_QueryUnload();
  void Form_Unload();
  void Timer1_Timer();
  void Command4_Click();
  void Command8_Click();
  void Command14_Click();

  void ShowRecordedSize(int32_t size) override;
  void PressStop() override;

  CommandButton* Command4() const { return command4_; }
  CommandButton* Command8() const { return command8_; }
  CommandButton* Command14() const { return command14_; }
  QTimer* Timer1() const { return timer1_; }
  QLabel* Label5() const { return label5_; }
  QWidget* Picture1() const { return picture1_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Application& app_;
  CommandButton* command4_;
  CommandButton* command8_;
  CommandButton* command14_;
  QTimer* timer1_;
  QLabel* label5_;
  QWidget* picture1_;
  void DetectVideo();
  void DetectAudio();
};

}  // namespace vocapost
