#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace vocapost {

// Starts another program and does not wait for it.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // False when the program could not be started.
  virtual bool Start(const QString& program, const QStringList& arguments) = 0;
};

// The words of `command_line` as a shell would split them: blanks separate,
// '...' is taken as it stands, "..." and a backslash quote what follows.
// No variables, no globbing.
QStringList SplitCommandLine(const QString& command_line);

// Starts the split line. An empty line starts nothing and gives false.
bool StartCommandLine(ProgramStarter& starter, const QString& command_line);

// True for a file that begins with "#!": the program's own scripts
// ("vocap.exe", "setmail.exe") are data files without an execute bit.
bool IsScript(const QString& path);

// The real service. A program named without a folder that is a file of the
// current folder (the program home) is that file, not one on PATH; a script
// runs through sh.
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
