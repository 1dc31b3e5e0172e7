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
    temp_.WriteFile(bin() / "vocapost",
                    "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$ARGS_FILE\"\n");
    fs::permissions(bin() / "vocapost", fs::perms::owner_all);
  }
  fs::path bin() const { return temp_.root() / "bin"; }
  fs::path recipient() const { return temp_.root() / "recipient"; }

  // Runs the package the way a recipient would: sh FILE, from the folder
  // the mail program saved it in.
  int RunPackage(const QString& path_variable,
                 const QString& package = "voca-MSG05143012.exe",
                 const QString& program = "/bin/sh") {
    QProcessEnvironment env;
    env.insert("PATH", path_variable);
    env.insert("HOME", QString::fromStdString(temp_.root().string()));
    env.insert("VOCAPOST_HOME", QString::fromStdString(recipient().string()));
    env.insert("ARGS_FILE",
               QString::fromStdString((temp_.root() / "args").string()));
    QProcess sh;
    sh.setProcessEnvironment(env);
    sh.setWorkingDirectory(QString::fromStdString(temp_.home().string()));
    if (program == "/bin/sh") {
      sh.start(program, {package});
    } else {
      sh.start(program, {});
    }
    EXPECT_TRUE(sh.waitForFinished(20000));
    stderr_ = sh.readAllStandardError();
    return sh.exitCode();
  }

  QByteArray message_, package_, stderr_;
};

TEST_F(PackageStubTest, ShippedStubHasRoomForTheFieldsAndNoFalseHeader) {
  const QByteArray stub = temp_.ReadFile("vocap.exe");
  ASSERT_GE(stub.size(), kSmallestStub);
  EXPECT_TRUE(stub.left(kNoticeOffset).contains("\nexit 1\n"));
  for (int block = 0; block < stub.size(); block += kPackageBlock) {
    EXPECT_FALSE(stub.mid(block).startsWith("VOCAPOST")) << block;
  }
}

TEST_F(PackageStubTest, PackageCopiesItselfAndStartsTheViewer) {
  temp_.WriteFile(recipient() / "temp" / "voca-MSGolder.exe",
                  "an older package");
  ASSERT_EQ(
      RunPackage(QString::fromStdString(bin().string()) + ":/usr/bin:/bin"), 0)
      << stderr_.toStdString();
  const fs::path copy = recipient() / "temp" / "voca-MSG05143012.exe";
  EXPECT_EQ(temp_.ReadFile(copy), package_);
  EXPECT_FALSE(fs::exists(recipient() / "temp" / "voca-MSGolder.exe"));
  const QByteArray args = temp_.ReadFile(temp_.root() / "args").trimmed();
  EXPECT_TRUE(args.endsWith("TEMP-MSG.EXE")) << args.toStdString();

  // What start-up then does in the recipient's program folder.
  fs::current_path(recipient());
  EXPECT_EQ(ExtractEmbeddedMessage("temp/voca-MSG05143012.exe"),
            "05143012.vrc");
  EXPECT_EQ(temp_.ReadFile(recipient() / "05143012.vrc"), message_);
}

TEST_F(PackageStubTest, WithoutTheViewerItSaysWhatToInstall) {
  if (fs::exists("/usr/bin/vocapost") || fs::exists("/bin/vocapost")) {
    GTEST_SKIP() << "Vocapost is installed on this machine";
  }
  EXPECT_NE(RunPackage("/usr/bin:/bin"), 0);
  EXPECT_TRUE(stderr_.contains("install the Vocapost program"))
      << stderr_.toStdString();
  EXPECT_FALSE(fs::exists(temp_.root() / "args"));
  EXPECT_TRUE(fs::exists(recipient() / "temp" / "voca-MSG05143012.exe"))
      << "the message is kept for later";
}

TEST_F(PackageStubTest,
       RenamedPackageRunsDirectlyFromAFolderWithOddCharacters) {
  const fs::path odd = temp_.home() / "saved by 'mail' & [co] $x";
  fs::create_directories(odd);
  temp_.WriteFile(odd / "-my message.exe", package_);
  fs::permissions(odd / "-my message.exe", fs::perms::owner_all);
  const QString bin_path =
      QString::fromStdString(bin().string()) + ":/usr/bin:/bin";
  ASSERT_EQ(
      RunPackage(bin_path, {},
                 QString::fromStdString((odd / "-my message.exe").string())),
      0)
      << stderr_.toStdString();
  EXPECT_EQ(
      temp_.ReadFile(recipient() / "temp" / "voca-MSG-my message.exe.exe"),
      package_);
}

TEST_F(PackageStubTest, RealViewerTakesTheMessageOutOfTheCopy) {
  fs::create_symlink(VOCAPOST_BINARY, bin() / "vocapost-real");
  temp_.WriteFile(
      bin() / "vocapost",
      "#!/bin/sh\nexec \"$(dirname \"$0\")/vocapost-real\" \"$@\"\n");
  fs::permissions(bin() / "vocapost", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", QString::fromStdString(bin().string()) + ":/usr/bin:/bin");
  env.insert("VOCAPOST_HOME", QString::fromStdString(recipient().string()));
  env.insert("XDG_CONFIG_HOME",
             QString::fromStdString((temp_.root() / "config").string()));
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(temp_.root().string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VOCAPOST_AUDIO", "test-tone");
  env.insert("VOCAPOST_AUDIO_OUT", "discard");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  QProcess recipient_run;
  recipient_run.setProcessEnvironment(env);
  recipient_run.setWorkingDirectory(
      QString::fromStdString(temp_.home().string()));
  recipient_run.start("/bin/sh", {"voca-MSG05143012.exe"});
  ASSERT_TRUE(recipient_run.waitForStarted());
  const fs::path extracted = recipient() / "05143012.vrc";
  for (int i = 0; i < 500 && !fs::exists(recipient() / "popplay.txt"); ++i) {
    recipient_run.waitForFinished(20);
  }
  EXPECT_TRUE(fs::exists(recipient() / "popplay.txt"))
      << "the viewer plays the message";
  EXPECT_EQ(temp_.ReadFile(extracted), message_);
  recipient_run.kill();
  recipient_run.waitForFinished(5000);
}

// XDG_DATA_HOME relative to wherever the package was saved is not valid; the
// stub tells the viewer the folder it chose, so both look in the same place.
TEST_F(PackageStubTest, ViewerIsToldTheFolderTheStubChose) {
  temp_.WriteFile(bin() / "vocapost",
                  "#!/bin/sh\nprintf '%s\\n' \"$VOCAPOST_HOME\" > "
                  "\"$ARGS_FILE\"\n");
  const fs::path args = temp_.root() / "args";
  for (const char* data_home : {"relative/data", ""}) {
    fs::remove(args);
    QProcessEnvironment env;
    env.insert("PATH",
               QString::fromStdString(bin().string()) + ":/usr/bin:/bin");
    env.insert("HOME", QString::fromStdString(temp_.root().string()));
    env.insert("XDG_DATA_HOME", data_home);
    env.insert("ARGS_FILE", QString::fromStdString(args.string()));
    QProcess sh;
    sh.setProcessEnvironment(env);
    sh.setWorkingDirectory(QString::fromStdString(temp_.home().string()));
    sh.start("/bin/sh", {"voca-MSG05143012.exe"});
    ASSERT_TRUE(sh.waitForFinished(20000));
    ASSERT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();
    const fs::path home = temp_.root() / ".local" / "share" / "vocapost";
    EXPECT_EQ(temp_.ReadFile(args).trimmed().toStdString(), home.string())
        << data_home;
    EXPECT_EQ(temp_.ReadFile(home / "temp" / "voca-MSG05143012.exe"), package_)
        << data_home;
  }
}

}  // namespace
}  // namespace vocapost
