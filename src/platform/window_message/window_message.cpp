#include "platform/window_message/window_message.h"

namespace vocapost {

QEvent::Type WindowMessageEvent::EventType() {
  static const auto type =
      static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace vocapost
