#pragma once

#include "platform/message_box/message_presenter.h"

namespace vocapost {

// A real modal QMessageBox. With `autoclose` the box is closed as soon as it
// is up, so that scripts can drive the program unattended.
class QtMessagePresenter final : public MessagePresenter {
 public:
  explicit QtMessagePresenter(bool autoclose) : autoclose_(autoclose) {}
  void Present(const PresentedMessage& message) override;

 private:
  bool autoclose_;
};

}  // namespace vocapost
