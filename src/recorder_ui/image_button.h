#pragma once

#include <QLabel>

namespace vocapost {

// A picture that works as a button: it reports the mouse going down and up
// and a click (down and up inside it), and shows whatever picture its form
// gives it.
class ImageButton final : public QLabel {
  Q_OBJECT

 public:
  ImageButton(const QString& name, QWidget* parent);

 signals:
  void MouseDown();
  void MouseUp();
  void Click();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace vocapost
