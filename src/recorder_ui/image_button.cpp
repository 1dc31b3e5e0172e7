#include "recorder_ui/image_button.h"

#include <QMouseEvent>

namespace vocapost {

ImageButton::ImageButton(const QString& name, QWidget* parent)
    : QLabel(parent) {
  setObjectName(name);
  setScaledContents(true);
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
  pressed_ = true;
  emit MouseDown();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) {
    return QLabel::mouseReleaseEvent(event);
  }
  pressed_ = false;
  emit MouseUp();
  if (rect().contains(event->position().toPoint())) emit Click();
}

}  // namespace vocapost
