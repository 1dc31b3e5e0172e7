#include "platform/process/program_start.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace vocapost {
namespace {

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

bool DetachedProgramStarter::Start(const QString& program,
                                   const QStringList& arguments) {
  const std::filesystem::path home = QDir::currentPath().toStdString();
  const QString path = FindProgram(program, home);
  return !path.isEmpty() && StartDetached(path, arguments, home);
}

}  // namespace vocapost
