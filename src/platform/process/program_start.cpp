#include "platform/process/program_start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <utility>

namespace vocapost {

namespace {

// Inside double quotes a backslash quotes only these.
bool EscapableInDoubleQuotes(QChar c) {
  return c == '"' || c == '\\' || c == '$' || c == '`';
}

}  // namespace

QStringList SplitCommandLine(const QString& command_line) {
  QStringList words;
  QString word;
  bool in_word = false;
  const qsizetype n = command_line.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = command_line[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(std::exchange(word, {}));
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\\') {
      if (i + 1 < n) word += command_line[++i];
    } else if (c == '\'') {
      while (++i < n && command_line[i] != '\'') word += command_line[i];
    } else if (c == '"') {
      while (++i < n && command_line[i] != '"') {
        if (command_line[i] == '\\' && i + 1 < n &&
            EscapableInDoubleQuotes(command_line[i + 1]))
          ++i;
        word += command_line[i];
      }
    } else {
      word += c;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

bool StartCommandLine(ProgramStarter& starter, const QString& command_line) {
  QStringList words = SplitCommandLine(command_line);
  if (words.isEmpty()) return false;
  const QString program = words.takeFirst();
  return starter.Start(program, words);
}

bool IsScript(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(2) == "#!";
}

bool DetachedProgramStarter::Start(const QString& program,
                                   const QStringList& arguments) {
  QString path = program;
  if (!program.contains('/') && QFileInfo(program).isFile()) {
    path = QDir::current().absoluteFilePath(program);
  }
  QProcess process;
  if (QFileInfo(path).isFile() && IsScript(path)) {
    process.setProgram("sh");
    process.setArguments(QStringList{path} + arguments);
  } else {
    process.setProgram(path);
    process.setArguments(arguments);
  }
  process.setWorkingDirectory(QDir::currentPath());
  return process.startDetached();
}

}  // namespace vocapost
