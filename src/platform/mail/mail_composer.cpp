#include "platform/mail/mail_composer.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/mail/desktop_bus.h"
#include "platform/mail/mail_programs.h"
#include "platform/mail/mailto_handler.h"
#include "platform/process/program_start.h"

namespace vocapost {
namespace {

constexpr int kBusLimitMs = 5000;

std::filesystem::path FolderOf(const QString& path) {
  return QFileInfo(path).absolutePath().toStdString();
}

// The body for the programs that read it from a file: in the user's own
// runtime folder, overwritten by the next mail.
QString WriteBodyFile(const QString& body) {
  QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  folder = folder.isEmpty()
               ? QDir::tempPath() + "/vocapost-" + QString::number(getuid())
               : folder + "/vocapost";
  if (!QDir().mkpath(folder)) return {};
  QFile::setPermissions(folder, QFileDevice::ReadOwner |
                                    QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner);
  const QString name = folder + "/mail-body.txt";
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(body.toUtf8());
  return file.commit() ? name : QString();
}

}  // namespace

DisplayResult MailComposer::Compose(const ComposeRequest& request) {
  const QString program = qEnvironmentVariable("VOCAPOST_MAIL_COMPOSER");
  if (!program.isEmpty()) {
    return ThroughOverride(program, request) ? DisplayResult::kDisplayed
                                             : DisplayResult::kFailed;
  }
  if (ThroughDefaultHandler(request) ||
      ComposeThroughPortal(Bus(), request, kBusLimitMs)) {
    return DisplayResult::kDisplayed;
  }
  if (ThroughXdgEmail(request)) {
    ShowFolder(request.attachment);
    return DisplayResult::kAttachByHand;
  }
  return DisplayResult::kFailed;
}

bool MailComposer::ThroughOverride(const QString& program,
                                   const ComposeRequest& request) {
  return StartDetached(program,
                       {"--attach", request.attachment, "--body", request.body},
                       FolderOf(request.attachment));
}

bool MailComposer::ThroughDefaultHandler(const ComposeRequest& request) {
  const std::optional<MailHandler> handler = DefaultMailHandler();
  if (!handler) return false;
  const MailProgram kind =
      RecogniseMailProgram(handler->desktop_id, handler->command);
  if (kind == MailProgram::kUnknown) return false;
  QString body_file;
  if (kind == MailProgram::kThunderbird) {
    body_file = WriteBodyFile(request.body);
    if (body_file.isEmpty()) return false;
  }
  QStringList arguments = handler->command.mid(1);
  arguments << ComposeArguments(kind, request, body_file);
  return StartDetached(handler->command.front(), arguments,
                       FolderOf(request.attachment));
}

bool MailComposer::ThroughXdgEmail(const ComposeRequest& request) {
  const QString xdg_email = QStandardPaths::findExecutable("xdg-email");
  return !xdg_email.isEmpty() &&
         StartDetached(xdg_email, {"--utf8", "--body", request.body},
                       FolderOf(request.attachment));
}

QDBusConnection& MailComposer::Bus() {
  if (!bus_) bus_ = QDBusConnection::sessionBus();
  return *bus_;
}

void MailComposer::ShowFolder(const QString& path) {
  if (ShowInFileManager(Bus(), path, kBusLimitMs)) return;
  const QString folder = QFileInfo(path).absolutePath();
  StartDetached("xdg-open", {folder}, folder.toStdString());
}

}  // namespace vocapost
