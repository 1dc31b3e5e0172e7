#include "platform/mail/mailto_handler.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include "platform/process/program_start.h"

namespace vocapost {
namespace {

constexpr int kHandlerQueryLimitMs = 3000;

QStringList DataFolders() {
  QStringList folders;
  QString data_home = qEnvironmentVariable("XDG_DATA_HOME");
  if (data_home.isEmpty()) data_home = QDir::homePath() + "/.local/share";
  folders << data_home;
  QString data_dirs = qEnvironmentVariable("XDG_DATA_DIRS");
  if (data_dirs.isEmpty()) data_dirs = "/usr/local/share:/usr/share";
  folders << data_dirs.split(':', Qt::SkipEmptyParts);
  folders << data_home + "/flatpak/exports/share"
          << "/var/lib/flatpak/exports/share";
  return folders;
}

// A desktop id "a-b.desktop" may also be the file a/b.desktop.
QStringList CandidateFiles(const QString& folder, const QString& id) {
  QStringList files{folder + "/applications/" + id};
  QString nested = id;
  for (qsizetype dash = nested.indexOf('-'); dash >= 0;
       dash = nested.indexOf('-', dash + 1)) {
    nested[dash] = '/';
    files << folder + "/applications/" + nested;
  }
  return files;
}

// The keys of the [Desktop Entry] group that the command needs (the
// untranslated ones).
std::optional<DesktopEntry> ReadEntry(const QString& file_name) {
  QFile file(file_name);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  QTextStream in(&file);
  DesktopEntry entry{{}, {}, {}, file_name};
  bool in_entry = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith('[')) {
      in_entry = line == "[Desktop Entry]";
      continue;
    }
    if (!in_entry || !line.contains('=')) continue;
    const QString key = line.section('=', 0, 0).trimmed();
    const QString value = line.section('=', 1).trimmed();
    if (key == "Exec") entry.exec = value;
    if (key == "Name") entry.name = value;
    if (key == "Icon") entry.icon = value;
  }
  if (entry.exec.isEmpty()) return std::nullopt;
  return entry;
}

// The escapes of a desktop file's string values.
QString Unescaped(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 >= value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == 's') {
      out += ' ';
    } else if (next == 'n') {
      out += '\n';
    } else if (next == 't') {
      out += '\t';
    } else if (next == 'r') {
      out += '\r';
    } else {
      out += '\\';  // left for the Exec quoting rules
      out += next;
    }
  }
  return out;
}

bool IsFileCode(const QString& word) {
  return word.size() == 2 && word[0] == '%' &&
         QString("fFuUdDnNvm").contains(word[1]);
}

QString WithoutFieldCodes(const QString& word) {
  QString out;
  for (qsizetype i = 0; i < word.size(); ++i) {
    if (word[i] == '%' && i + 1 < word.size()) {
      if (word[++i] == '%') out += '%';
    } else {
      out += word[i];
    }
  }
  return out;
}

}  // namespace

std::optional<QStringList> ExecCommand(const DesktopEntry& entry) {
  const std::optional<QStringList> words =
      SplitCommandLine(Unescaped(entry.exec));
  if (!words) return std::nullopt;
  QStringList command;
  for (const QString& word : *words) {
    if (IsFileCode(word) || word.startsWith("@@")) continue;
    if (word == "%i") {
      if (!entry.icon.isEmpty()) command << "--icon" << entry.icon;
    } else if (word == "%c") {
      command << entry.name;
    } else if (word == "%k") {
      command << entry.file;
    } else {
      command << WithoutFieldCodes(word);
    }
  }
  if (command.isEmpty()) return std::nullopt;
  return command;
}

std::optional<MailHandler> ReadMailHandler(const QString& desktop_id) {
  if (desktop_id.isEmpty() || desktop_id.contains('/')) return std::nullopt;
  for (const QString& folder : DataFolders()) {
    for (const QString& file : CandidateFiles(folder, desktop_id)) {
      if (!QFile::exists(file)) continue;
      const std::optional<DesktopEntry> entry = ReadEntry(file);
      if (!entry) return std::nullopt;
      std::optional<QStringList> command = ExecCommand(*entry);
      if (!command) return std::nullopt;
      return MailHandler{desktop_id, *command, entry->name};
    }
  }
  return std::nullopt;
}

std::optional<MailHandler> DefaultMailHandler() {
  const std::optional<QByteArray> answer =
      RunForOutput("xdg-mime", {"query", "default", "x-scheme-handler/mailto"},
                   kHandlerQueryLimitMs);
  if (!answer) return std::nullopt;
  // The answer may list several; the first is the default.
  const QString id =
      QString::fromUtf8(*answer).trimmed().section(';', 0, 0).trimmed();
  return ReadMailHandler(id);
}

}  // namespace vocapost
