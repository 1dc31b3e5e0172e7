#include "message/message_package.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include "message_files.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using testing::Payload;

class RecordingPackageUi final : public PackageUi {
 public:
  void ShowPackageMessage(const QString& text) override {
    messages.push_back(text);
  }
  void ShowPackage(const QString& name) override { packages.push_back(name); }
  std::vector<QString> messages, packages;
};

// A stand-in stub of the given size whose bytes can be told apart.
QByteArray Stub(int size) {
  QByteArray stub = "#!/bin/sh\nexit 0\n" + QByteArray(size, '#');
  stub.truncate(size);
  return stub;
}

// A package with `name` in its header, built by hand.
QByteArray HandMadePackage(const QByteArray& name, const QByteArray& message) {
  QByteArray header = "VOCAPOST" + name;
  header += QByteArray(kPackageBlock - header.size(), ' ');
  return Stub(14 * kPackageBlock) + QByteArray(kPackageBlock, '\0') + header +
         message;
}

class PackageTest : public testing::HomeTest {
 protected:
  PackageTest() { temp_.WriteFile("vocap.exe", Stub(14336)); }
  int32_t Build(const QString& name) { return BuildMessagePackage(name, ui_); }
  RecordingPackageUi ui_;
};

TEST_F(PackageTest, LayoutOfAPackageWithAStubOfWholeBlocks) {
  const QByteArray message = Payload(3000, 1);
  temp_.WriteFile("abcdefghij.vrc", message);
  const int32_t total = Build("abcdefghij.vrc");
  EXPECT_TRUE(ui_.messages.empty());
  ASSERT_EQ(ui_.packages, std::vector<QString>{"voca-MSGabcdefgh.exe"});
  const QByteArray package = temp_.ReadFile("voca-MSGabcdefgh.exe");
  ASSERT_EQ(package.size(), 14336 + 1024 + 1024 + 3000);
  EXPECT_EQ(total, package.size());
  EXPECT_EQ(package.mid(14336, 1024), QByteArray(1024, '\0'));
  const QByteArray header = package.mid(15360, 1024);
  EXPECT_EQ(header, "VOCAPOSTabcdefghij.vrc" + QByteArray(1024 - 22, ' '));
  EXPECT_EQ(package.mid(16384), message);
  EXPECT_EQ(package.mid(11664, 30), "Save file.  Run from Explorer.");
  EXPECT_EQ(qFromLittleEndian<qint32>(package.constData() + 13980), total);
  // Outside the two fields the stub is copied unchanged.
  const QByteArray stub = Stub(14336);
  EXPECT_EQ(package.left(11664), stub.left(11664));
  EXPECT_EQ(package.mid(11694, 13980 - 11694), stub.mid(11694, 13980 - 11694));
  EXPECT_EQ(package.mid(13984, 14336 - 13984), stub.mid(13984));
  EXPECT_FALSE(std::filesystem::exists(temp_.home() / "voca-MSG.exe"));
}

TEST_F(PackageTest, PaddingReachesTheNextBlock) {
  temp_.WriteFile("vocap.exe", Stub(14000));
  temp_.WriteFile("m.vrc", Payload(1024, 2));
  const int32_t total = Build("m.vrc");
  const QByteArray package = temp_.ReadFile("voca-MSGm.vrc.exe");
  EXPECT_EQ(total, 14336 + 1024 + 1024);
  EXPECT_EQ(package.mid(14000, 336), QByteArray(336, '\0'));
  EXPECT_EQ(package.mid(14336, 8), "VOCAPOST");
}

TEST_F(PackageTest, ShortNameGivesShortPackageName) {
  temp_.WriteFile("x.vrc", Payload(2000, 3));
  EXPECT_GT(Build("x.vrc"), 0);
  EXPECT_TRUE(std::filesystem::exists(temp_.home() / "voca-MSGx.vrc.exe"));
  EXPECT_EQ(PackageName("05143012.vrc"), "voca-MSG05143012.exe");
}

TEST_F(PackageTest, BuildingAgainReplacesTheEarlierPackage) {
  temp_.WriteFile("12345678.vrc", Payload(5000, 1));
  ASSERT_GT(Build("12345678.vrc"), 0);
  temp_.WriteFile("12345678.vrc", Payload(1500, 2));
  temp_.WriteFile("voca-MSG.exe", "left over from a build that broke off");
  const int32_t total = Build("12345678.vrc");
  EXPECT_EQ(total, 14336 + 2048 + 1500);
  EXPECT_EQ(temp_.ReadFile("voca-MSG12345678.exe").size(), total);
  EXPECT_FALSE(std::filesystem::exists(temp_.home() / "voca-MSG.exe"));
}

TEST_F(PackageTest, RefusalsSayWhyAndWriteNothing) {
  temp_.WriteFile("small.vrc", Payload(1023, 1));
  EXPECT_EQ(Build("absent.vrc"), 0);
  EXPECT_EQ(Build("small.vrc"), 0);
  std::filesystem::remove(temp_.home() / "vocap.exe");
  temp_.WriteFile("m.vrc", Payload(1024, 1));
  EXPECT_EQ(Build("m.vrc"), 0);
  temp_.WriteFile("vocap.exe", Stub(13983));  // too short for the length field
  EXPECT_EQ(Build("m.vrc"), 0);
  EXPECT_EQ(ui_.messages,
            (std::vector<QString>{
                "Recordedfile does not exist.",
                "Recorded file is too small.",
                "The file vocap.exe is missing.  Re-install software.",
                "The file vocap.exe is missing.  Re-install software.",
            }));
  EXPECT_TRUE(ui_.packages.empty());
  for (const auto& entry : std::filesystem::directory_iterator(temp_.home())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("voca-MSG"))
        << entry.path();
  }
}

TEST_F(PackageTest, LeftOverThatCannotBeRemovedIsReported) {
  std::filesystem::create_directories(temp_.home() / "voca-MSG.exe" / "inside");
  temp_.WriteFile("m.vrc", Payload(2000, 1));
  EXPECT_EQ(Build("m.vrc"), 0);
  EXPECT_EQ(
      ui_.messages,
      std::vector<QString>{"The file voca-MSG.exe could not be created, delete "
                           "from \\vocapost directory."});
}

TEST_F(PackageTest, FailureAfterTheCopyIsReportedEvenWithoutALeftOver) {
  std::filesystem::create_directories(temp_.home() / "voca-MSGm.vrc.exe" /
                                      "inside");
  temp_.WriteFile("m.vrc", Payload(2000, 1));
  EXPECT_EQ(Build("m.vrc"), 0);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_TRUE(
      ui_.messages[0].startsWith("The file voca-MSG.exe could not be created"));
  EXPECT_TRUE(ui_.packages.empty());
}

TEST_F(PackageTest, ExtractionGivesTheMessageBackExactly) {
  for (const int size : {2048, 1024, 3001, 5}) {
    const QByteArray message = Payload(size, size);
    std::filesystem::remove(temp_.home() / "m.vrc");
    temp_.WriteFile("p.exe", HandMadePackage("m.vrc", message));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "m.vrc") << size;
    EXPECT_EQ(temp_.ReadFile("m.vrc"), message) << size;
  }
}

TEST_F(PackageTest, BuiltPackageExtractsToTheSameBytes) {
  const QByteArray message = Payload(2000000, 9);
  temp_.WriteFile("05143012.vrc", message);
  ASSERT_GT(Build("05143012.vrc"), 0);
  std::filesystem::rename(temp_.home() / "05143012.vrc",
                          temp_.home() / "original.vrc");
  EXPECT_EQ(ExtractEmbeddedMessage("voca-MSG05143012.exe"), "05143012.vrc");
  EXPECT_EQ(temp_.ReadFile("05143012.vrc"), message);
}

// The sender picks the name, and received messages share the folder and the
// naming of the user's own recordings.
TEST_F(PackageTest, ExtractionNeverReplacesAnExistingFile) {
  const QByteArray message = Payload(3000, 4), own = Payload(3000, 5);
  namespace fs = std::filesystem;
  const struct {
    const char* header;
    std::vector<std::pair<const char*, QByteArray>> present;
    const char* expected;
  } cases[] = {
      {"05143012.vrc", {{"05143012.vrc", own}}, "05143013.vrc"},
      {"05143012.vrc", {{"05143012.vrc", message}}, "05143012.vrc"},
      {"05143012.vrc",
       {{"05143012.vrc", own}, {"05143013.vrc", message}},
       "05143013.vrc"},
      {"05143012.vrc",
       {{"05143012.vrc", own}, {"05143013.vrc", own + "x"}},
       "05143014.vrc"},
      {"31235959.VRC", {{"31235959.VRC", own}}, "01000000.vrc"},
      {"talk.vrc", {{"talk.vrc", own}, {"talk-2.vrc", own}}, "talk-3.vrc"},
  };
  for (const auto& c : cases) {
    for (const auto& entry : fs::directory_iterator(temp_.home()))
      if (entry.path().filename() != "vocap.exe") fs::remove(entry.path());
    for (const auto& [name, bytes] : c.present) temp_.WriteFile(name, bytes);
    temp_.WriteFile("p.exe", HandMadePackage(c.header, message));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), c.expected) << c.expected;
    EXPECT_EQ(temp_.ReadFile(c.expected), message) << c.expected;
    for (const auto& [name, bytes] : c.present) {
      if (std::string(name) != c.expected) {
        EXPECT_EQ(temp_.ReadFile(name), bytes) << name;
      }
    }
    // Nothing else appeared: no second copy, no piece left aside.
    size_t files = 0, new_files = 1;
    for (const auto& [name, bytes] : c.present)
      if (std::string(name) == c.expected) new_files = 0;
    for (const auto& entry : fs::directory_iterator(temp_.home())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with("."));
      ++files;
    }
    EXPECT_EQ(files, 2 + c.present.size() + new_files) << c.expected;
  }
}

TEST_F(PackageTest, NamesAreTrimmedOfBlanks) {
  temp_.WriteFile("p.exe", HandMadePackage("   m.vrc", "x"));
  EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "m.vrc");
}

TEST_F(PackageTest, PackageWithoutHeaderYieldsNoName) {
  temp_.WriteFile("p.exe", Stub(20000));
  EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "");
  EXPECT_EQ(ExtractEmbeddedMessage("absent.exe"), "");
  // A header in a short last piece is not a header block.
  temp_.WriteFile("q.exe", Stub(1024) + "VOCAPOSTm.vrc");
  EXPECT_EQ(ExtractEmbeddedMessage("q.exe"), "");
}

TEST_F(PackageTest, UnsafeNamesAreRefusedAndNothingIsWritten) {
  const QByteArray names[] = {
      "",
      "/tmp/evil.vrc",
      "../evil.vrc",
      "sub/evil.vrc",
      "sub\\evil.vrc",
      "..",
      ".",
      "evil\x01.vrc",
      QByteArray("evil\0.vrc", 9),
      "evil\x7f.vrc",
      "vocap.exe",
      "VMESSAGE.ENG",
      "popplay.txt",
      ".hidden.vrc",
      ".vrc",
      "-rf.vrc",
      "*.vrc",
      "m?.vrc",
  };
  for (const QByteArray& name : names) {
    temp_.WriteFile("p.exe", HandMadePackage(name, "payload"));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "") << name.toStdString();
  }
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(temp_.home())) {
    files.push_back(entry.path().filename());
  }
  EXPECT_EQ(files.size(), 2u) << "only vocap.exe and p.exe";
  EXPECT_FALSE(std::filesystem::exists("/tmp/evil.vrc"));
  EXPECT_FALSE(std::filesystem::exists(temp_.root() / "evil.vrc"));
}

TEST_F(PackageTest, ExtractionNeverWritesThroughALink) {
  temp_.WriteFile(temp_.root() / "outside.vrc", "precious");
  std::filesystem::create_symlink(temp_.root() / "outside.vrc",
                                  temp_.home() / "m.vrc");
  temp_.WriteFile("p.exe", HandMadePackage("m.vrc", "message"));
  EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "m-2.vrc");
  EXPECT_EQ(temp_.ReadFile(temp_.root() / "outside.vrc"), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(temp_.home() / "m.vrc"));
  EXPECT_EQ(temp_.ReadFile("m-2.vrc"), "message");
}

TEST_F(PackageTest, NamesWithHiddenMarksAreRefused) {
  // Right-to-left override, a C1 control and a line separator, in UTF-8.
  for (const QByteArray& name :
       {QByteArray("evil\xe2\x80\xaext.vrc"), QByteArray("a\xc2\x85.vrc"),
        QByteArray("a\xe2\x80\xa8.vrc")}) {
    temp_.WriteFile("p.exe", HandMadePackage(name, "payload"));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "") << name.toStdString();
  }
}

TEST_F(PackageTest, SafeNamesAreOrdinaryMessageFiles) {
  EXPECT_TRUE(IsSafeMessageName("05143012.vrc"));
  EXPECT_TRUE(IsSafeMessageName("My message.VRC"));
  EXPECT_TRUE(IsSafeMessageName(QString::fromUtf8("Grüße.vrc")));
  EXPECT_FALSE(IsSafeMessageName("message.vrc.sh"));
}

}  // namespace
}  // namespace vocapost
