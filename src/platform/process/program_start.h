#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace vocapost {

// Splits a command line into words the way a POSIX shell does for plain
// words and quotes: blanks separate words, '...' keeps everything, "..."
// keeps everything but \" \\ \$ \` and a backslash escapes the next
// character. Nothing is expanded. An unclosed quote gives nullopt.
std::optional<QStringList> SplitCommandLine(const QString& line);

// True for a file that begins with "#!": the program's own scripts
// ("vocap.exe", "setmail.exe") are data files without an execute bit.
bool IsScript(const QString& path);

// Where `program` is run from: a name without a slash is looked for in
// `home` first (an executable, or a script), then on PATH; a path is taken
// as it is (relative to `home`). Empty when there is no such program.
QString FindProgram(const QString& program, const std::filesystem::path& home);

// Starts the program and returns without waiting for it; the program runs in
// `home`, a script without an execute bit through sh. False when it could
// not be started.
bool StartDetached(const QString& program, const QStringList& arguments,
                   const std::filesystem::path& home);

// Splits `line`, finds its program and starts it detached.
bool StartCommandLine(const QString& line, const std::filesystem::path& home);

// Runs a short helper program to its end with the event loop running, for
// at most `limit_ms`; its standard output, or nullopt when it could not be
// run, failed or took too long (then it is killed).
std::optional<QByteArray> RunForOutput(const QString& program,
                                       const QStringList& arguments,
                                       int limit_ms);

// Starts another program and does not wait for it.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // False when the program could not be started.
  virtual bool Start(const QString& program, const QStringList& arguments) = 0;
};

// Starts the split line. An empty or unclosed line starts nothing and gives
// false.
bool StartCommandLine(ProgramStarter& starter, const QString& command_line);

// The desktop's text editor: the default program for plain text, as its
// desktop file starts it; nullopt when the desktop names none.
std::optional<QStringList> TextEditorCommand();

// The real service, run in the current folder (the program home).
// "notepad.exe", unless there is a program of that name, is the text editor,
// given its files by their full paths.
class DetachedProgramStarter final : public ProgramStarter {
 public:
  bool Start(const QString& program, const QStringList& arguments) override;
};

// For tests: notes each start and answers `result`.
class RecordingStarter final : public ProgramStarter {
 public:
  bool Start(const QString& program, const QStringList& arguments) override {
    started.push_back(QStringList{program} + arguments);
    return result;
  }
  std::vector<QStringList> started;
  bool result = true;
};

}  // namespace vocapost
