#pragma once

#include <QLineEdit>
#include <QMimeData>
#include <QPoint>

namespace vocapost {

// A text box that the user drags from to drop a fixed text, as a copy.
class DragText final : public QLineEdit {
 public:
  DragText(const QString& name, const QString& caption, QWidget* parent);

  // What a drag carries: plain text only.
  QMimeData* DragData() const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPoint pressed_at_;
  bool pressed_ = false;
};

}  // namespace vocapost
