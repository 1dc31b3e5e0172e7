#include "platform/process/program_start.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "platform/mail/mailto_handler.h"

namespace vocapost {
namespace {

const QString kNotepad = "notepad.exe";
constexpr int kEditorQueryLimitMs = 3000;

bool IsBlank(QChar c) { return c == ' ' || c == '\t' || c == '\n'; }

// Inside double quotes a backslash escapes only these.
bool EscapableInDoubleQuotes(QChar c) {
  return c == '"' || c == '\\' || c == '$' || c == '`';
}

QString HomeText(const std::filesystem::path& home) {
  return QString::fromStdString(home.string());
}

}  // namespace

std::optional<QStringList> SplitCommandLine(const QString& line) {
  QStringList words;
  QString word;
  bool in_word = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (IsBlank(c)) {
      if (in_word) words.append(word);
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      const qsizetype end = line.indexOf('\'', i + 1);
      if (end < 0) return std::nullopt;
      word += line.mid(i + 1, end - i - 1);
      i = end;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i >= line.size()) return std::nullopt;
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() &&
            EscapableInDoubleQuotes(line[i + 1])) {
          ++i;
        }
        word += line[i];
      }
    } else if (c == '\\') {
      if (i + 1 < line.size()) word += line[++i];
    } else {
      word += c;
    }
  }
  if (in_word) words.append(word);
  return words;
}

bool IsScript(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(2) == "#!";
}

QString FindProgram(const QString& program, const std::filesystem::path& home) {
  if (program.isEmpty()) return {};
  const QFileInfo in_home(QDir(HomeText(home)), program);
  const bool runnable =
      in_home.isFile() &&
      (in_home.isExecutable() || IsScript(in_home.absoluteFilePath()));
  if (runnable) return in_home.absoluteFilePath();
  if (program.contains('/')) return {};
  return QStandardPaths::findExecutable(program);
}

bool StartDetached(const QString& program, const QStringList& arguments,
                   const std::filesystem::path& home) {
  QProcess process;
  const QFileInfo info(program);
  if (info.isFile() && !info.isExecutable() && IsScript(program)) {
    process.setProgram("sh");
    process.setArguments(QStringList{info.absoluteFilePath()} + arguments);
  } else {
    process.setProgram(program);
    process.setArguments(arguments);
  }
  process.setWorkingDirectory(HomeText(home));
  process.setStandardInputFile(QProcess::nullDevice());
  return process.startDetached();
}

bool StartCommandLine(const QString& line, const std::filesystem::path& home) {
  const std::optional<QStringList> words = SplitCommandLine(line);
  if (!words || words->isEmpty()) return false;
  const QString program = FindProgram(words->front(), home);
  if (program.isEmpty()) return false;
  return StartDetached(program, words->mid(1), home);
}

std::optional<QByteArray> RunForOutput(const QString& program,
                                       const QStringList& arguments,
                                       int limit_ms) {
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.setProcessChannelMode(QProcess::SeparateChannels);
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop,
                   [&](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) loop.quit();
                   });
  process.start(program, arguments);
  limit.start(limit_ms);
  if (process.state() != QProcess::NotRunning) loop.exec();
  if (process.state() != QProcess::NotRunning) {
    process.kill();
    process.waitForFinished(1000);
    return std::nullopt;
  }
  if (process.error() == QProcess::FailedToStart ||
      process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return std::nullopt;
  }
  return process.readAllStandardOutput();
}

bool StartCommandLine(ProgramStarter& starter, const QString& command_line) {
  std::optional<QStringList> words = SplitCommandLine(command_line);
  if (!words || words->isEmpty()) return false;
  const QString program = words->takeFirst();
  return starter.Start(program, *words);
}

std::optional<QStringList> TextEditorCommand() {
  const std::optional<QByteArray> answer = RunForOutput(
      "xdg-mime", {"query", "default", "text/plain"}, kEditorQueryLimitMs);
  if (!answer) return std::nullopt;
  const QString id =
      QString::fromUtf8(*answer).trimmed().section(';', 0, 0).trimmed();
  const std::optional<MailHandler> editor = ReadMailHandler(id);
  if (!editor) return std::nullopt;
  return editor->command;
}

bool DetachedProgramStarter::Start(const QString& program,
                                   const QStringList& arguments) {
  const std::filesystem::path home = QDir::currentPath().toStdString();
  const QString path = FindProgram(program, home);
  if (!path.isEmpty()) return StartDetached(path, arguments, home);
  if (program.compare(kNotepad, Qt::CaseInsensitive) != 0) return false;
  std::optional<QStringList> editor = TextEditorCommand();
  // Without a default the desktop's opener decides by the file's content.
  if (!editor) editor = QStringList{"xdg-open"};
  const QString editor_path = FindProgram(editor->takeFirst(), home);
  if (editor_path.isEmpty()) return false;
  // A running editor may take the file over from another folder.
  for (const QString& argument : arguments)
    *editor << QDir(QDir::currentPath()).absoluteFilePath(argument);
  return StartDetached(editor_path, *editor, home);
}

}  // namespace vocapost
