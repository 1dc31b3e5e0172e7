#pragma once

#include <QDBusConnection>
#include <optional>

#include "platform/mail/compose_request.h"
#include "platform/mail/mail_automation.h"

namespace vocapost {

// Opens a new mail in the user's mail program, trying in turn:
// $VOCAPOST_MAIL_COMPOSER, the default mailto handler driven by its own
// command line, the desktop's Email portal, and last xdg-email with the body
// alone (the file is then shown in the file manager to be attached by hand).
class MailComposer {
 public:
  // `bus` is for the portal and the file manager; without one the session
  // bus is used, looked up only when needed.
  explicit MailComposer(std::optional<QDBusConnection> bus)
      : bus_(std::move(bus)) {}

  DisplayResult Compose(const ComposeRequest& request);

 private:
  bool ThroughOverride(const QString& program, const ComposeRequest& request);
  bool ThroughDefaultHandler(const ComposeRequest& request);
  bool ThroughXdgEmail(const ComposeRequest& request);
  void ShowFolder(const QString& path);
  QDBusConnection& Bus();

  std::optional<QDBusConnection> bus_;
};

}  // namespace vocapost
