#include "platform/mail/desktop_mail_automation.h"

#include <QFileInfo>

#include "platform/mail/mail_composer.h"

namespace vocapost {
namespace {

constexpr int32_t kMailItem = 0;

class DesktopMailItem final : public MailItem, public MailAttachments {
 public:
  explicit DesktopMailItem(std::optional<QDBusConnection> bus)
      : bus_(std::move(bus)) {}

  bool SetBody(const QString& body) override {
    body_ = body;
    return true;
  }

  MailAttachments* Attachments() override { return this; }

  // Only a file that is there can be attached; the mail programs take one.
  bool Add(const QString& path, int32_t, int16_t) override {
    const QFileInfo file(path);
    if (!file.isFile() || !attachment_.isEmpty()) return false;
    attachment_ = file.absoluteFilePath();
    return true;
  }

  DisplayResult Display() override {
    if (attachment_.isEmpty()) return DisplayResult::kFailed;
    MailComposer composer(bus_);
    return composer.Compose({attachment_, WithLineFeeds(body_)});
  }

 private:
  std::optional<QDBusConnection> bus_;
  QString body_;
  QString attachment_;
};

}  // namespace

std::unique_ptr<MailItem> DesktopMailAutomation::CreateItem(int32_t type) {
  if (type != kMailItem) return nullptr;
  return std::make_unique<DesktopMailItem>(bus_);
}

QString WithLineFeeds(const QString& text) {
  QString out = text;
  out.replace("\r\n", "\n").replace('\r', '\n');
  return out;
}

}  // namespace vocapost
