// The real program, run as a user runs it: two copies settling through the
// marker files, launches that cannot go on, and a package built with the
// shipped stub run as a recipient would run it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <filesystem>

#include "support/package_ui.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

QString Text(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// The real program, run as a user would: offscreen, in the test's program
// home, with its messages and windows logged and message boxes closing by
// themselves. Several runs in one test share the home and the logs, as
// copies do.
class ProgramRun {
 public:
  ProgramRun(const testing::TempHome& temp, fs::path home)
      : temp_(temp), home_(std::move(home)) {}

  void Launch(const QStringList& args = {},
              const QString& program = VOCAPOST_BINARY) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VOCAPOST_HOME", Text(home_));
    env.insert("XDG_CONFIG_HOME", Path("config"));
    env.insert("XDG_RUNTIME_DIR", Path("runtime"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VOCAPOST_MESSAGE_LOG", Path("messages.log"));
    env.insert("VOCAPOST_WINDOW_LOG", Path("windows.log"));
    env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
    env.insert("VOCAPOST_AUDIO", "test-tone");
    env.insert("VOCAPOST_AUDIO_OUT", "discard");
    env.insert("VOCAPOST_CAPTURE", "test-pattern");
    env.insert(extra);
    fs::create_directories(temp_.root() / "runtime");
    fs::permissions(temp_.root() / "runtime", fs::perms::owner_all);
    process_.setProcessEnvironment(env);
    // Started from the program folder when it exists, like a file manager
    // opening a file there; else from the test's folder.
    process_.setWorkingDirectory(
        Text(fs::is_directory(home_) ? home_ : temp_.root()));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program, args);
    if (!process_.waitForStarted(10000))
      ADD_FAILURE() << program.toStdString() << " did not start";
  }

  bool Running() { return process_.state() == QProcess::Running; }
  // Waits for the program to end by itself; false when it is still running.
  bool Ended(int ms = 20000) { return process_.waitForFinished(ms); }
  int ExitCode() const { return process_.exitCode(); }

  // Set before Launch; wins over the defaults above.
  QProcessEnvironment extra;

 private:
  QString Path(const char* name) const { return Text(temp_.root() / name); }

  const testing::TempHome& temp_;
  fs::path home_;
  QProcess process_;  // killed, if still running, when the run ends
};

class ProgramTest : public testing::HomeTest {
 protected:
  bool Has(const std::string& name) const {
    return fs::exists(temp_.home() / name);
  }
  // What the runs so far logged: "messages" or "windows".
  QByteArray Log(const std::string& name) const {
    return temp_.ReadFile(temp_.root() / (name + ".log"));
  }
};

// A plain start fills the home and shows the picture, then the Recorder.
// The same home by another path is the same home: a second plain launch
// asks the first copy to show itself and ends, a message file takes over.
TEST_F(ProgramTest, PlainStartIsAskedToShowItselfThenToEndForAMessage) {
  ProgramRun first(temp_, temp_.home());
  first.Launch();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Log("windows").contains("shown\tMKERForm1"); }, 20000));
  EXPECT_TRUE(Has("firsview.bmp"));
  const auto link = temp_.root() / "link-home";
  fs::create_directory_symlink(temp_.home(), link);
  ProgramRun plain(temp_, link);
  plain.Launch();
  ASSERT_TRUE(plain.Ended());
  EXPECT_EQ(plain.ExitCode(), 0);
  // The first copy takes the request within a tick of its timer.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Has("popshow.txt"); }, 5000));
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(Log("windows"),
            "shown\tMessageForm\nshown\tMKERForm1\nhidden\tMessageForm\n");
  EXPECT_EQ(Log("messages"), "");

  temp_.WriteFile("05143012.vrc", "WAV0      ");
  ProgramRun second(temp_, link);
  second.Launch({"05143012.vrc"});
  ASSERT_TRUE(first.Ended());
  EXPECT_EQ(first.ExitCode(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Has("popup.txt"); }, 5000))
      << "the new copy takes the answer";
  EXPECT_TRUE(second.Running());
  EXPECT_TRUE(Has("popplay.txt"));
  EXPECT_FALSE(Has("pop.txt"));
  EXPECT_EQ(Log("messages"), "Vocapost Message\tLoading...\n");
}

// A home that cannot be made, and a package launch without a package.
TEST_F(ProgramTest, LaunchesThatCannotGoOnSayWhyAndEnd) {
  temp_.WriteFile("blocked", "a file where the home should be");
  const std::pair<fs::path, QStringList> launches[] = {
      {temp_.home() / "blocked", {}},
      {temp_.home(), {"/anywhere/temp-msg.exe"}}};
  for (const auto& [home, arguments] : launches) {
    ProgramRun run(temp_, home);
    run.Launch(arguments);
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 1);
  }
  const QByteArray log = Log("messages");
  EXPECT_TRUE(
      log.startsWith("Vocapost Message\tVocapost cannot create its folder "));
  EXPECT_TRUE(log.endsWith(
      "\nVocapost Message\tLoading...\n"
      "Warning\tThere does not appear to be a file to be played.\n"))
      << log.toStdString();
  EXPECT_EQ(log.count('\n'), 3);
}

// The package copies itself under a package name again, alone, into the
// folder it chose and tells the real viewer that folder, which takes the
// message out of the copy and plays it.
TEST_F(ProgramTest, PackageCopiesItselfAloneAndTheViewerTakesItOut) {
  fs::copy_file(fs::path(VOCAPOST_DATA_DIR) / "vocap.exe",
                temp_.home() / "vocap.exe");
  QByteArray message;
  for (int i = 0; i < 5000; ++i) message += static_cast<char>(i * 13);
  temp_.WriteFile("05143012.vrc", message);
  testing::RecordingPackageUi ui;
  ASSERT_GT(BuildMessagePackage("05143012.vrc", ui), 0);
  const QByteArray package = temp_.ReadFile("voca-MSG05143012.exe");
  const fs::path saved =
      temp_.home() / "saved by 'mail' & [co] $x" / "-my message.exe";
  temp_.WriteFile(saved, package);
  fs::permissions(saved, fs::perms::owner_all);
  const fs::path home = temp_.root() / ".local" / "share" / "vocapost";
  temp_.WriteFile(home / "temp" / "voca-MSGolder.exe", "an older package");
  fs::create_directories(temp_.root() / "bin");
  fs::create_symlink(VOCAPOST_BINARY, temp_.root() / "bin" / "vocapost");

  ProgramRun run(temp_, home);
  run.extra.insert("PATH", Text(temp_.root() / "bin") + ":/usr/bin:/bin");
  run.extra.insert("HOME", Text(temp_.root()));
  run.extra.insert("VOCAPOST_HOME", "");
  run.extra.insert("XDG_DATA_HOME", "relative/data");
  run.Launch({}, Text(saved));
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return fs::exists(home / "popplay.txt"); }, 10000))
      << "the viewer plays the message";
  EXPECT_EQ(temp_.ReadFile(home / "temp" / "voca-MSG-my message.exe.exe"),
            package);
  EXPECT_FALSE(fs::exists(home / "temp" / "voca-MSGolder.exe"));
  EXPECT_EQ(temp_.ReadFile(home / "05143012.vrc"), message);

  // Without a viewer the package fails, and its copy is kept for later.
  fs::remove(home / "temp" / "voca-MSG-my message.exe.exe");
  ProgramRun lone(temp_, home);
  lone.extra = run.extra;
  lone.extra.insert("PATH", "/usr/bin:/bin");
  lone.extra.insert("DISPLAY", "");
  lone.extra.insert("WAYLAND_DISPLAY", "");
  lone.Launch({}, Text(saved));
  ASSERT_TRUE(lone.Ended());
  EXPECT_EQ(lone.ExitCode(), 1);
  EXPECT_EQ(temp_.ReadFile(home / "temp" / "voca-MSG-my message.exe.exe"),
            package);
}

}  // namespace
}  // namespace vocapost
