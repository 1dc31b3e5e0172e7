#pragma once

#include <QEvent>
#include <cstdint>
#include <functional>

namespace vocapost {

// A window procedure in the style of the platform the program was designed
// for: (message, wParam, lParam) -> result.
using WindowProcedure = std::function<intptr_t(
    uint32_t message, uintptr_t wparam, intptr_t lparam)>;

// A window message posted to a window from a device or library; it reaches
// the window's procedure on the UI thread.
class WindowMessageEvent final : public QEvent {
 public:
  static QEvent::Type EventType();

  WindowMessageEvent(uint32_t message, uintptr_t wparam, intptr_t lparam)
      : QEvent(EventType()),
        message_(message),
        wparam_(wparam),
        lparam_(lparam) {}

  uint32_t message() const { return message_; }
  uintptr_t wparam() const { return wparam_; }
  intptr_t lparam() const { return lparam_; }

 private:
  uint32_t message_;
  uintptr_t wparam_;
  intptr_t lparam_;
};

}  // namespace vocapost
