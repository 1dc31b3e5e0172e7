#pragma once

#include <QProcess>

namespace vocapost::testing {

// What a program run to its end gave: its exit code (-1 when it did not end
// normally within the limit) and its output.
struct ProcessResult {
  int code = -1;
  QByteArray out, err;
};

inline ProcessResult RunProcess(
    const QString& program, const QStringList& args, const QString& folder = {},
    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(folder);
  process.start(program, args);
  const bool ended = process.waitForFinished(30000) &&
                     process.exitStatus() == QProcess::NormalExit;
  if (!ended) process.kill(), process.waitForFinished(5000);
  return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
          process.readAllStandardError()};
}

}  // namespace vocapost::testing
