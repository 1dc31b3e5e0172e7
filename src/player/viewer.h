#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/application.h"
#include "player/viewer_layout.h"
#include "recorder_ui/command_button.h"
#include "recorder_ui/image_button.h"
#include "video/frame_view.h"

namespace vocapost {

// The start-up form and the window messages play in. It stays hidden while
// nothing plays; its timer drives playback and recording, and its unload is
// how the program ends.
class Viewer final : public QWidget, public FrameView {
 public:
  explicit Viewer(Application& app);

  // The start-up sequence.
  StartResult Form_Load();
  void Form_Resize();
  void Form_Unload();
  void Timer1_Timer();
  void Command1_Click();
  void Command6_Click();
  void ExitViewer();
  void Command12_Click();
  void Picture5_Click();
  void Picture5_MouseDown();
  void Picture5_MouseUp();
  void Picture6_Click();
  void Picture6_MouseDown();
  void Picture6_MouseUp();

  // Play shows the window: restored if it was minimised, laid out for the
  // size it now has, placed `offset_twips` right of the screen's middle,
  // centred by its height, in front and active.
  void ShowForPlayback(int offset_twips);
  // The playing position as a thin bar in the decoration under the picture.
  void ShowPlayingPosition(int32_t read_position, int32_t file_length);

  // Start-up: the image buttons take the hidden command buttons' looks.
  void GiveImageButtonsTheirLooks();
  void CopyTooltipsToImageButtons();

  // What the timer runs: a playback tick while playing, else a recording
  // tick, which clears the busy flag itself on every way out.
  std::function<void()> player_tick;
  std::function<void(int16_t& tick_busy)> recording_tick;

  int OuterWidthTwips() const override;
  int OuterHeightTwips() const override;
  void SizePictureTwips(int width, int height) override;
  void DrawPicture(const BitmapInfoHeader& format, const uint8_t* bgr,
                   int width, int height) override;
  void SetWindowWidthTwips(int width) override;
  void ShowMagnification(bool visible, const QString& caption) override;

  ImageButton* Picture6() const { return picture6_; }
  ImageButton* Picture5() const { return picture5_; }
  QLabel* Picture2() const { return picture2_; }
  QLabel* Picture4() const { return picture4_; }
  QLabel* Picture3() const { return picture3_; }
  CommandButton* Command1() const { return command1_; }
  CommandButton* Command6() const { return command6_; }
  CommandButton* Command12() const { return command12_; }
  QTimer* Timer1() const { return timer1_; }
  QLabel* Label1() const { return label1_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ApplyLayout(const ViewerLayout& layout);

  Application& app_;
  ViewerDesign design_;
  ImageButton* picture6_;
  ImageButton* picture5_;
  QLabel* picture4_;
  QLabel* picture3_;
  QLabel* picture1_;
  QLabel* picture2_;
  CommandButton* command1_;
  CommandButton* command6_;
  QTimer* timer1_;
  CommandButton* command12_;
  QLabel* label1_;
  int16_t tick_busy_ = 0;
  int shown_progress_ = -1;  // filled pixels of the position bar
  bool in_resize_ = false;
};

}  // namespace vocapost
