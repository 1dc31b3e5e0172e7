#include "recorder_ui/drag_text.h"

#include <QApplication>
#include <QDrag>
#include <QMouseEvent>

#include "app/extra_texts.h"

namespace vocapost {

DragText::DragText(const QString& name, const QString& caption, QWidget* parent)
    : QLineEdit(caption, parent) {
  setObjectName(name);
  setDragEnabled(false);
}

QMimeData* DragText::DragData() const {
  auto* mime = new QMimeData;
  mime->setText("\r\nGet viewer for Vocapost attachment:  " + kWebSite +
                "\r\n");
  return mime;
}

void DragText::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  pressed_at_ = event->position().toPoint();
  QLineEdit::mousePressEvent(event);
}

void DragText::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_ || !(event->buttons() & Qt::LeftButton) ||
      (event->position().toPoint() - pressed_at_).manhattanLength() <
          QApplication::startDragDistance()) {
    QLineEdit::mouseMoveEvent(event);
    return;
  }
  pressed_ = false;
  auto* drag = new QDrag(this);
  drag->setMimeData(DragData());
  drag->exec(Qt::CopyAction, Qt::CopyAction);
}

}  // namespace vocapost
