#include "recorder_ui/command_button.h"

namespace vocapost {

CommandButton::CommandButton(const QString& name, const QString& caption,
                             QWidget* parent)
    : QPushButton(caption, parent) {
  setObjectName(name);
  connect(this, &QPushButton::clicked, this, [this] { Press(); });
}

void CommandButton::Press() {
  if (handler_) handler_();
}

}  // namespace vocapost
