#include "platform/message_box/qt_message_presenter.h"

#include <QMessageBox>
#include <QTimer>

namespace vocapost {
namespace {

// The icon bits of a message-box style; the button bits are always OK here.
QMessageBox::Icon IconForStyle(int16_t style) {
  switch (style & 0x70) {
    case 0x10:
      return QMessageBox::Critical;
    case 0x20:
      return QMessageBox::Question;
    case 0x30:
      return QMessageBox::Warning;
    case 0x40:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

void QtMessagePresenter::Present(const PresentedMessage& message) {
  QMessageBox box(IconForStyle(message.style), message.title, message.text,
                  QMessageBox::Ok);
  box.setObjectName("MessageBox");
  box.setTextFormat(Qt::PlainText);
  if (autoclose_) QTimer::singleShot(0, &box, &QMessageBox::accept);
  box.exec();
}

}  // namespace vocapost
