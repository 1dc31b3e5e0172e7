#include "mail_programs.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <optional>

#include "platform/process/program_start.h"

namespace vocapost::setmail {
namespace {

constexpr int kQueryMilliseconds = 3000;

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

// The desktop file that handles mailto: links, e.g. "thunderbird.desktop".
QString DefaultMailHandler() {
  QProcess query;
  query.start("xdg-mime", {"query", "default", "x-scheme-handler/mailto"});
  if (!query.waitForFinished(kQueryMilliseconds)) {
    query.kill();
    query.waitForFinished();
    return {};
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
    return {};
  return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

// Name and Exec of the desktop file's main group; the Exec without its
// field codes (%u, %F, ...), which only a launcher fills in.
std::optional<MailProgram> ReadDesktopFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  MailProgram program;
  bool in_main_group = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith('[')) {
      in_main_group = line == "[Desktop Entry]";
    } else if (in_main_group && line.startsWith("Name=")) {
      program.name = line.mid(5).trimmed();
    } else if (in_main_group && line.startsWith("Exec=")) {
      static const QRegularExpression kFieldCode(R"(\s*%[a-zA-Z])");
      program.command = line.mid(5).remove(kFieldCode).trimmed();
    }
  }
  if (program.command.isEmpty()) return std::nullopt;
  if (program.name.isEmpty()) program.name = QFileInfo(path).completeBaseName();
  return program;
}

QString ExecutableOf(const QString& command) {
  const QStringList words = SplitCommandLine(command);
  return words.isEmpty() ? QString() : QFileInfo(words.first()).fileName();
}

}  // namespace

std::vector<MailProgram> FindMailPrograms() {
  std::vector<MailProgram> found;
  QString handler_executable;
  const QString handler = DefaultMailHandler();
  if (!handler.isEmpty()) {
    const QString path =
        QStandardPaths::locate(QStandardPaths::ApplicationsLocation, handler);
    if (!path.isEmpty()) {
      if (std::optional<MailProgram> program = ReadDesktopFile(path)) {
        handler_executable = ExecutableOf(program->command);
        found.push_back(*program);
      }
    }
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
