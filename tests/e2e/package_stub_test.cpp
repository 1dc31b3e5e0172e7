// A real package, built with the shipped stub, run under sh as a recipient
// would run it.
#include <gtest/gtest.h>

#include "e2e/program_run.h"
#include "message/message_package.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

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
    class NoUi final : public PackageUi {
      void ShowPackageMessage(const QString& text) override {
        ADD_FAILURE() << text.toStdString();
      }
      void ShowPackage(const QString&) override {}
    } ui;
    EXPECT_GT(BuildMessagePackage("05143012.vrc", ui), 0);
    package_ = temp_.ReadFile("voca-MSG05143012.exe");
    fs::create_directories(bin());
    run_.SetEnvironment("PATH", Text(bin()) + ":/usr/bin:/bin");
    run_.SetEnvironment("HOME", Text(temp_.root()));
    run_.SetEnvironment("ARGS_FILE", Text(temp_.root() / "args"));
  }
  fs::path bin() const { return temp_.root() / "bin"; }
  fs::path recipient() const { return temp_.root() / "recipient"; }
  fs::path Copy(const char* name) const { return recipient() / "temp" / name; }
  // A stand-in viewer that notes what `words` are.
  void WriteViewer(const QByteArray& words) {
    temp_.WriteFile(bin() / "vocapost", "#!/bin/sh\nprintf '%s\\n' " + words +
                                            " > \"$ARGS_FILE\"\n");
    fs::permissions(bin() / "vocapost", fs::perms::owner_all);
  }
  QString Noted() const {
    return QString::fromUtf8(temp_.ReadFile(temp_.root() / "args")).trimmed();
  }
  // Runs the package the way a recipient would: sh FILE, or FILE itself.
  int RunPackage(QStringList command = {}) {
    if (command.isEmpty()) command = {"/bin/sh", saved_};
    run_.Launch(command.mid(1), command[0]);
    EXPECT_TRUE(run_.Ended());
    return run_.ExitCode();
  }

  // Where the mail program saved the package.
  const QString saved_ = Text(temp_.home() / "voca-MSG05143012.exe");
  QByteArray message_, package_;
  testing::ProgramRun run_{temp_, recipient()};
};

// A renamed package from a folder with odd characters copies itself under a
// package name again, alone, and starts the viewer on it.
TEST_F(PackageStubTest, PackageCopiesItselfAloneAndStartsTheViewer) {
  WriteViewer("\"$@\"");
  temp_.WriteFile(Copy("voca-MSGolder.exe"), "an older package");
  const fs::path odd = temp_.home() / "saved by 'mail' & [co] $x";
  temp_.WriteFile(odd / "-my message.exe", package_);
  fs::permissions(odd / "-my message.exe", fs::perms::owner_all);
  ASSERT_EQ(RunPackage({Text(odd / "-my message.exe")}), 0);
  EXPECT_EQ(temp_.ReadFile(Copy("voca-MSG-my message.exe.exe")), package_);
  EXPECT_FALSE(fs::exists(Copy("voca-MSGolder.exe")));
  EXPECT_EQ(Noted(), Text(Copy("TEMP-MSG.EXE")));
}

TEST_F(PackageStubTest, WithoutTheViewerItFailsAndKeepsTheMessage) {
  if (fs::exists("/usr/bin/vocapost") || fs::exists("/bin/vocapost")) {
    GTEST_SKIP() << "Vocapost is installed on this machine";
  }
  run_.SetEnvironment("PATH", "/usr/bin:/bin");
  EXPECT_NE(RunPackage(), 0);
  EXPECT_EQ(temp_.ReadFile(Copy("voca-MSG05143012.exe")), package_);
}

// XDG_DATA_HOME relative to wherever the package was saved is not valid; the
// stub tells the viewer the folder it chose, so both look in the same place.
TEST_F(PackageStubTest, ViewerIsToldTheFolderTheStubChose) {
  WriteViewer("\"$VOCAPOST_HOME\"");
  run_.SetEnvironment("VOCAPOST_HOME", "");
  run_.SetEnvironment("XDG_DATA_HOME", "relative/data");
  const fs::path home = temp_.root() / ".local" / "share" / "vocapost";
  ASSERT_EQ(RunPackage(), 0);
  EXPECT_EQ(Noted(), Text(home));
  EXPECT_EQ(temp_.ReadFile(home / "temp" / "voca-MSG05143012.exe"), package_);
}

// The real program takes the message out of the copy and plays it.
TEST_F(PackageStubTest, RealViewerTakesTheMessageOutOfTheCopy) {
  fs::create_symlink(VOCAPOST_BINARY, bin() / "vocapost");
  run_.Launch({saved_}, "/bin/sh");
  EXPECT_TRUE(testing::Eventually(
      [&] { return fs::exists(recipient() / "popplay.txt"); }, 10000))
      << "the viewer plays the message";
  EXPECT_EQ(temp_.ReadFile(recipient() / "05143012.vrc"), message_);
}

}  // namespace
}  // namespace vocapost
