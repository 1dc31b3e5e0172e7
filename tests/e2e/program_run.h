#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <functional>

#include "support/temp_home.h"

namespace vocapost::testing {

// The real program, run as a user would: offscreen, in the test's program
// home, with its messages and windows logged and message boxes closing by
// themselves. Several runs in one test share the home, as copies do.
class ProgramRun {
 public:
  ProgramRun(const TempHome& temp, std::filesystem::path home)
      : temp_(temp), home_(std::move(home)) {}
  ~ProgramRun() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

  void Launch(const QStringList& args = {},
              const QString& program = VOCAPOST_BINARY) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VOCAPOST_HOME", QString::fromStdString(home_.string()));
    env.insert("XDG_CONFIG_HOME", Path("config"));
    env.insert("XDG_RUNTIME_DIR", Path("runtime"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VOCAPOST_MESSAGE_LOG", Path("messages.log"));
    env.insert("VOCAPOST_WINDOW_LOG", Path("windows.log"));
    env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
    env.insert("VOCAPOST_AUDIO", "test-tone");
    env.insert("VOCAPOST_AUDIO_OUT", "discard");
    env.insert("VOCAPOST_CAPTURE", "test-pattern");
    env.insert(extra_);
    std::filesystem::create_directories(temp_.root() / "runtime");
    std::filesystem::permissions(temp_.root() / "runtime",
                                 std::filesystem::perms::owner_all);
    process_.setProcessEnvironment(env);
    // Started from the program folder when it exists, like a file manager
    // opening a file there; else from the test's folder.
    const auto start =
        std::filesystem::is_directory(home_) ? home_ : temp_.root();
    process_.setWorkingDirectory(QString::fromStdString(start.string()));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program, args);
    if (!process_.waitForStarted(10000))
      ADD_FAILURE() << program.toStdString() << " did not start";
  }

  // Set before Launch; overrides the defaults above.
  void SetEnvironment(const QString& name, const QString& value) {
    extra_.insert(name, value);
  }

  bool Running() { return process_.state() == QProcess::Running; }
  // Waits for the program to end by itself; false when it is still running.
  bool Ended(int ms = 20000) { return process_.waitForFinished(ms); }
  int ExitCode() const { return process_.exitCode(); }

  QByteArray Messages() const {
    return temp_.ReadFile(temp_.root() / "messages.log");
  }
  QByteArray Windows() const {
    return temp_.ReadFile(temp_.root() / "windows.log");
  }

 private:
  QString Path(const char* name) const {
    return QString::fromStdString((temp_.root() / name).string());
  }

  const TempHome& temp_;
  std::filesystem::path home_;
  QProcess process_;
  QProcessEnvironment extra_;
};

// Polls `done` every 20 ms for up to `ms` milliseconds.
inline bool Eventually(const std::function<bool()>& done, int ms = 20000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}

}  // namespace vocapost::testing
