#include "mail_programs.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <optional>

#include "platform/mail/mailto_handler.h"

namespace vocapost::setmail {
namespace {

struct KnownProgram {
  const char* executable;
  const char* name;
};
constexpr KnownProgram kKnownPrograms[] = {
    {"thunderbird", "Thunderbird"},
    {"evolution", "Evolution"},
    {"kmail", "KMail"},
    {"claws-mail", "Claws Mail"},
    {"sylpheed", "Sylpheed"},
    {"geary", "Geary"},
};

// A command line that a shell splits back into `words`.
QString Joined(const QStringList& words) {
  QStringList quoted;
  static const QRegularExpression kPlain(R"(^[A-Za-z0-9_@%+=:,./-]+$)");
  for (const QString& word : words) {
    quoted << (kPlain.match(word).hasMatch()
                   ? word
                   : "'" + QString(word).replace("'", R"('\'')") + "'");
  }
  return quoted.join(' ');
}

}  // namespace

std::vector<MailProgram> FindMailPrograms() {
  std::vector<MailProgram> found;
  QString handler_executable;
  if (const std::optional<MailHandler> handler = DefaultMailHandler()) {
    handler_executable = QFileInfo(handler->command.first()).fileName();
    const QString name = handler->name.isEmpty()
                             ? QFileInfo(handler->desktop_id).completeBaseName()
                             : handler->name;
    found.push_back({name, Joined(handler->command)});
  }
  for (const KnownProgram& known : kKnownPrograms) {
    const QString executable = known.executable;
    if (executable == handler_executable) continue;
    if (QStandardPaths::findExecutable(executable).isEmpty()) continue;
    found.push_back({known.name, executable});
  }
  return found;
}

}  // namespace vocapost::setmail
