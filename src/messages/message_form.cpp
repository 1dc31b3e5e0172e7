#include "messages/message_form.h"

#include <QGuiApplication>
#include <QPixmap>

#include "platform/display/screen_placement.h"
#include "platform/units/units.h"

namespace vocapost {
namespace {

// What a window does with a message nobody handles.
intptr_t DefaultProcedure(uint32_t, uintptr_t, intptr_t) { return 0; }

}  // namespace

MessageForm::MessageForm()
    : QWidget(nullptr,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      picture_(new QLabel(this)),
      procedure_(DefaultProcedure) {
  setObjectName("MessageForm");
  setWindowTitle("Vocapost");
  picture_->setObjectName("Picture1");
  picture_->setPixmap(QPixmap(":/vocapost/startup.bmp"));
  picture_->setGeometry(0, 0, 320, 135);
  picture_->setAlignment(Qt::AlignCenter);
  Form_Load();
}

void MessageForm::Form_Load() {
  const int width = 4905, height = 2100;
  resize(TwipsToPixels(width), TwipsToPixels(height));
  picture_->setGeometry(rect());
  move(CentredOnScreen(width, height));
}

WindowProcedure MessageForm::InstallProcedure(WindowProcedure procedure) {
  WindowProcedure previous = std::move(procedure_);
  procedure_ =
      procedure ? std::move(procedure) : WindowProcedure(DefaultProcedure);
  return previous;
}

intptr_t MessageForm::CallProcedure(uint32_t message, uintptr_t wparam,
                                    intptr_t lparam) {
  // A copy: the procedure may install another one while it runs.
  const WindowProcedure procedure = procedure_;
  return procedure(message, wparam, lparam);
}

bool MessageForm::event(QEvent* event) {
  if (event->type() == WindowMessageEvent::EventType()) {
    const auto* m = static_cast<WindowMessageEvent*>(event);
    CallProcedure(m->message(), m->wparam(), m->lparam());
    return true;
  }
  return QWidget::event(event);
}

}  // namespace vocapost
