#pragma once

#include <QLabel>
#include <QWidget>

#include "platform/window_message/window_message.h"

namespace vocapost {

// The start-up picture window. Its window procedure is replaceable: the
// audio library's notifications are posted to it as window messages.
class MessageForm final : public QWidget {
  Q_OBJECT

 public:
  MessageForm();

  void Form_Load();

  // Installs `procedure` and returns the one it replaces.
  WindowProcedure InstallProcedure(WindowProcedure procedure);
  intptr_t CallProcedure(uint32_t message, uintptr_t wparam, intptr_t lparam);

  QLabel* Picture() const { return picture_; }

 protected:
  bool event(QEvent* event) override;

 private:
  QLabel* picture_;
  WindowProcedure procedure_;
};

}  // namespace vocapost
