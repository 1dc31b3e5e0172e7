#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace vocapost {

struct PresentedMessage {
  QString title;
  QString text;
  int16_t style = 0;
};

// Shows a modal message box and returns when the user has closed it.
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  virtual void Present(const PresentedMessage& message) = 0;
};

// Records each message and answers at once; `on_present` lets a test act
// while the "box" is open.
class RecordingPresenter final : public MessagePresenter {
 public:
  void Present(const PresentedMessage& message) override {
    messages.push_back(message);
    if (on_present) on_present(message);
  }

  std::vector<PresentedMessage> messages;
  std::function<void(const PresentedMessage&)> on_present;
};

}  // namespace vocapost
