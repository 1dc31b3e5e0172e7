#pragma once

#include "platform/desktop/accessible_desktop.h"

namespace vocapost {

// The AT-SPI accessibility tree over D-Bus. The accessibility bus is looked
// for on each use, so one that starts later is found; without it nothing is
// found. Every call waits at most kCallWaitMs.
class AtspiDesktop final : public AccessibleDesktop {
 public:
  static constexpr int kCallWaitMs = 500;

  BodyInsertion InsertAtBodyStart(int64_t pid, const QString& title,
                                  const QString& text) override;

 private:
  bool Connect();
  bool connected_ = false;
};

}  // namespace vocapost
