// Runs the real program as a user would: offscreen, in a fresh home, with the
// message log and self-closing message boxes.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "support/temp_home.h"

namespace vocapost {
namespace {

class StartupE2eTest : public testing::HomeTest {
 protected:
  ~StartupE2eTest() override {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  void Launch(const std::filesystem::path& home, const QStringList& args = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VOCAPOST_HOME", QString::fromStdString(home.string()));
    env.insert("XDG_CONFIG_HOME",
               QString::fromStdString(temp_.config().string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VOCAPOST_MESSAGE_LOG", LogPath());
    env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(VOCAPOST_BINARY, args);
    ASSERT_TRUE(process_.waitForStarted(10000));
  }
  QString LogPath() const {
    return QString::fromStdString((temp_.root() / "messages.log").string());
  }
  QByteArray Log() const {
    QFile file(LogPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QProcess process_;
};

TEST_F(StartupE2eTest, PlainStartFillsTheHomeAndKeepsRunning) {
  const auto home = temp_.root() / "fresh-home";
  Launch(home);
  QDeadlineTimer deadline(20000);
  while (!std::filesystem::exists(home / "firsview.bmp") &&
         !deadline.hasExpired() && process_.state() == QProcess::Running) {
    QThread::msleep(20);
  }
  ASSERT_TRUE(std::filesystem::exists(home / "firsview.bmp"));
  EXPECT_FALSE(process_.waitForFinished(700)) << "the program ended on its own";
  EXPECT_EQ(Log(), "") << "a plain start shows no message";
}

TEST_F(StartupE2eTest, UnusableHomeGivesAMessageAndEnds) {
  temp_.WriteFile("blocked", "a file where the home should be");
  Launch(temp_.home() / "blocked");
  ASSERT_TRUE(process_.waitForFinished(20000));
  EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process_.exitCode(), 1);
  const QByteArray log = Log();
  EXPECT_TRUE(
      log.startsWith("Vocapost Message\tVocapost cannot create its folder "))
      << log.toStdString();
  EXPECT_EQ(log.count('\n'), 1);
}

}  // namespace
}  // namespace vocapost
