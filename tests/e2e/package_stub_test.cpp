// A real package, built with the shipped stub, run under sh as a recipient
// would run it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "message/message_package.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

class NoUi final : public PackageUi {
 public:
  void ShowPackageMessage(const QString& text) override {
    ADD_FAILURE() << text.toStdString();
  }
  void ShowPackage(const QString&) override {}
};

QString Text(const fs::path& path) {
  return QString::fromStdString(path.string());
}

class PackageStubTest : public testing::HomeTest {
 protected:
  PackageStubTest() {
    fs::copy_file(fs::path(VOCAPOST_DATA_DIR) / "vocap.exe",
                  temp_.home() / "vocap.exe");
    for (int i = 0; i < 5000; ++i) message_ += static_cast<char>(i * 13);
    temp_.WriteFile("05143012.vrc", message_);
    NoUi ui;
    EXPECT_GT(BuildMessagePackage("05143012.vrc", ui), 0);
    package_ = temp_.ReadFile("voca-MSG05143012.exe");
    fs::create_directories(bin());
    // A stand-in viewer that notes its arguments.
    WriteViewer("printf '%s\\n' \"$@\" > \"$ARGS_FILE\"");
  }
  fs::path bin() const { return temp_.root() / "bin"; }
  fs::path recipient() const { return temp_.root() / "recipient"; }
  void WriteViewer(const QByteArray& script) {
    temp_.WriteFile(bin() / "vocapost", "#!/bin/sh\n" + script + "\n");
    fs::permissions(bin() / "vocapost", fs::perms::owner_all);
  }
  // The recipient's surroundings, with `path` as PATH.
  QProcessEnvironment Environment(const QString& path) const {
    QProcessEnvironment env;
    env.insert("PATH", path);
    env.insert("HOME", Text(temp_.root()));
    env.insert("VOCAPOST_HOME", Text(recipient()));
    env.insert("ARGS_FILE", Text(temp_.root() / "args"));
    return env;
  }
  QString WithViewer() const { return Text(bin()) + ":/usr/bin:/bin"; }

  // Runs the package the way a recipient would: sh FILE, from the folder
  // the mail program saved it in.
  int RunPackage(const QProcessEnvironment& env,
                 const QStringList& command = {"/bin/sh",
                                               "voca-MSG05143012.exe"}) {
    QProcess sh;
    sh.setProcessEnvironment(env);
    sh.setWorkingDirectory(Text(temp_.home()));
    sh.start(command[0], command.mid(1));
    EXPECT_TRUE(sh.waitForFinished(20000));
    stderr_ = sh.readAllStandardError();
    return sh.exitCode();
  }

  QByteArray message_, package_, stderr_;
};

TEST_F(PackageStubTest, PackageCopiesItselfAndStartsTheViewer) {
  temp_.WriteFile(recipient() / "temp" / "voca-MSGolder.exe",
                  "an older package");
  ASSERT_EQ(RunPackage(Environment(WithViewer())), 0) << stderr_.toStdString();
  EXPECT_EQ(temp_.ReadFile(recipient() / "temp" / "voca-MSG05143012.exe"),
            package_);
  EXPECT_FALSE(fs::exists(recipient() / "temp" / "voca-MSGolder.exe"));
  const QByteArray args = temp_.ReadFile(temp_.root() / "args").trimmed();
  EXPECT_TRUE(args.endsWith("TEMP-MSG.EXE")) << args.toStdString();
}

TEST_F(PackageStubTest, WithoutTheViewerItSaysWhatToInstall) {
  if (fs::exists("/usr/bin/vocapost") || fs::exists("/bin/vocapost")) {
    GTEST_SKIP() << "Vocapost is installed on this machine";
  }
  EXPECT_NE(RunPackage(Environment("/usr/bin:/bin")), 0);
  EXPECT_TRUE(stderr_.contains("install the Vocapost program"))
      << stderr_.toStdString();
  EXPECT_FALSE(fs::exists(temp_.root() / "args"));
  EXPECT_TRUE(fs::exists(recipient() / "temp" / "voca-MSG05143012.exe"))
      << "the message is kept for later";
}

TEST_F(PackageStubTest, RenamedPackageRunsDirectlyFromAFolderWithOddCharacters) {
  const fs::path odd = temp_.home() / "saved by 'mail' & [co] $x";
  fs::create_directories(odd);
  temp_.WriteFile(odd / "-my message.exe", package_);
  fs::permissions(odd / "-my message.exe", fs::perms::owner_all);
  ASSERT_EQ(RunPackage(Environment(WithViewer()), {Text(odd / "-my message.exe")}),
            0)
      << stderr_.toStdString();
  EXPECT_EQ(
      temp_.ReadFile(recipient() / "temp" / "voca-MSG-my message.exe.exe"),
      package_);
}

// XDG_DATA_HOME relative to wherever the package was saved is not valid; the
// stub tells the viewer the folder it chose, so both look in the same place.
TEST_F(PackageStubTest, ViewerIsToldTheFolderTheStubChose) {
  WriteViewer("printf '%s\\n' \"$VOCAPOST_HOME\" > \"$ARGS_FILE\"");
  const fs::path home = temp_.root() / ".local" / "share" / "vocapost";
  for (const char* data_home : {"relative/data", ""}) {
    SCOPED_TRACE(data_home);
    QProcessEnvironment env = Environment(WithViewer());
    env.remove("VOCAPOST_HOME");
    env.insert("XDG_DATA_HOME", data_home);
    ASSERT_EQ(RunPackage(env), 0) << stderr_.toStdString();
    EXPECT_EQ(temp_.ReadFile(temp_.root() / "args").trimmed().toStdString(),
              home.string());
    EXPECT_EQ(temp_.ReadFile(home / "temp" / "voca-MSG05143012.exe"), package_);
  }
}

// The real program takes the message out of the copy and plays it.
TEST_F(PackageStubTest, RealViewerTakesTheMessageOutOfTheCopy) {
  fs::create_symlink(VOCAPOST_BINARY, bin() / "vocapost-real");
  WriteViewer("exec \"$(dirname \"$0\")/vocapost-real\" \"$@\"");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(Environment(WithViewer()));
  env.insert("XDG_CONFIG_HOME", Text(temp_.root() / "config"));
  env.insert("XDG_RUNTIME_DIR", Text(temp_.root()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VOCAPOST_AUDIO", "test-tone");
  env.insert("VOCAPOST_AUDIO_OUT", "discard");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  QProcess recipient_run;
  recipient_run.setProcessEnvironment(env);
  recipient_run.setWorkingDirectory(Text(temp_.home()));
  recipient_run.start("/bin/sh", {"voca-MSG05143012.exe"});
  ASSERT_TRUE(recipient_run.waitForStarted());
  for (int i = 0; i < 500 && !fs::exists(recipient() / "popplay.txt"); ++i)
    recipient_run.waitForFinished(20);
  EXPECT_TRUE(fs::exists(recipient() / "popplay.txt"))
      << "the viewer plays the message";
  EXPECT_EQ(temp_.ReadFile(recipient() / "05143012.vrc"), message_);
  recipient_run.kill();
  recipient_run.waitForFinished(5000);
}

}  // namespace
}  // namespace vocapost
