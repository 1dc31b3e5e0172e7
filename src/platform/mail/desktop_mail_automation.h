#pragma once

#include <QDBusConnection>
#include <optional>

#include "platform/mail/mail_automation.h"

namespace vocapost {

// The mail automation object on a Linux desktop: the item collects the body
// and the attachment, and Display hands them to the user's mail program.
class DesktopMailAutomation final : public MailAutomation {
 public:
  // On the session bus, or on `bus` (for the portal and the file manager).
  DesktopMailAutomation() = default;
  explicit DesktopMailAutomation(QDBusConnection bus) : bus_(std::move(bus)) {}

  std::unique_ptr<MailItem> CreateItem(int32_t type) override;

 private:
  std::optional<QDBusConnection> bus_;
};

// Line breaks as the mail programs here expect them: each carriage return,
// alone or before a line feed, becomes one line feed.
QString WithLineFeeds(const QString& text);

}  // namespace vocapost
