#include "message/message_package.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <set>

#include "message_files.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

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
  // Names of the files in the home, but the stub.
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp_.home()))
      names.insert(entry.path().filename());
    names.erase("vocap.exe");
    return names;
  }
  RecordingPackageUi ui_;
};

TEST_F(PackageTest, LayoutIsStubZerosToTheNextBlockHeaderAndMessage) {
  const QByteArray message = Payload(3000, 1);
  temp_.WriteFile("abcdefghij.vrc", message);
  const struct { int stub, padding; } cases[] = {{14336, 1024}, {14000, 336}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stub);
    const QByteArray stub = Stub(c.stub);
    temp_.WriteFile("vocap.exe", stub);
    const int32_t total = Build("abcdefghij.vrc");
    const QByteArray package = temp_.ReadFile("voca-MSGabcdefgh.exe");
    const int header = c.stub + c.padding;
    ASSERT_EQ(package.size(), header + 1024 + 3000);
    EXPECT_EQ(total, package.size());
    EXPECT_EQ(package.mid(c.stub, c.padding), QByteArray(c.padding, '\0'));
    EXPECT_EQ(package.mid(header, 1024),
              "VOCAPOSTabcdefghij.vrc" + QByteArray(1024 - 22, ' '));
    EXPECT_EQ(package.mid(header + 1024), message);
    // The stub is copied unchanged outside its two fields.
    QByteArray fields = stub;
    fields.replace(11664, 30, "Save file.  Run from Explorer.");
    qToLittleEndian<qint32>(total, fields.data() + 13980);
    EXPECT_EQ(package.left(c.stub), fields);
  }
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.packages, std::vector<QString>(2, "voca-MSGabcdefgh.exe"));
  EXPECT_EQ(Files(),
            (std::set<std::string>{"abcdefghij.vrc", "voca-MSGabcdefgh.exe"}));
}

TEST_F(PackageTest, BuildingAgainReplacesTheEarlierPackageAndLeftOver) {
  temp_.WriteFile("m.vrc", Payload(5000, 1));
  ASSERT_GT(Build("m.vrc"), 0);
  temp_.WriteFile("m.vrc", Payload(1500, 2));
  temp_.WriteFile("voca-MSG.exe", "left over from a build that broke off");
  EXPECT_EQ(Build("m.vrc"), 14336 + 2048 + 1500);
  EXPECT_EQ(temp_.ReadFile("voca-MSGm.vrc.exe").size(), 14336 + 2048 + 1500);
  EXPECT_EQ(Files(), (std::set<std::string>{"m.vrc", "voca-MSGm.vrc.exe"}));
}

TEST_F(PackageTest, RefusalsSayWhyAndWriteNothing) {
  temp_.WriteFile("small.vrc", Payload(1023, 1));
  EXPECT_EQ(Build("absent.vrc"), 0);
  EXPECT_EQ(Build("small.vrc"), 0);
  fs::remove(temp_.home() / "vocap.exe");
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
  EXPECT_EQ(Files(), (std::set<std::string>{"m.vrc", "small.vrc"}));
}

TEST_F(PackageTest, WorkFileOrPackageThatCannotBeWrittenIsReported) {
  temp_.WriteFile("m.vrc", Payload(2000, 1));
  for (const char* blocker : {"voca-MSG.exe", "voca-MSGm.vrc.exe"}) {
    SCOPED_TRACE(blocker);
    fs::create_directories(temp_.home() / blocker / "inside");
    ui_.messages.clear();
    EXPECT_EQ(Build("m.vrc"), 0);
    EXPECT_EQ(ui_.messages,
              std::vector<QString>{"The file voca-MSG.exe could not be "
                                   "created, delete from \\vocapost "
                                   "directory."});
    fs::remove_all(temp_.home() / blocker);
  }
  EXPECT_TRUE(ui_.packages.empty());
}

TEST_F(PackageTest, ExtractionGivesTheMessageBackExactly) {
  for (const int size : {2048, 1024, 3001, 5}) {
    SCOPED_TRACE(size);
    const QByteArray message = Payload(size, size);
    fs::remove(temp_.home() / "m.vrc");
    temp_.WriteFile("p.exe", HandMadePackage("m.vrc", message));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "m.vrc");
    EXPECT_EQ(temp_.ReadFile("m.vrc"), message);
  }
}

// The sender picks the name, and received messages share the folder and the
// naming of the user's own recordings.
TEST_F(PackageTest, ExtractionNeverReplacesAnExistingFile) {
  const QByteArray message = Payload(3000, 4), own = Payload(3000, 5);
  const struct {
    const char* header;
    std::vector<std::pair<const char*, QByteArray>> present;
    const char* expected;
  } cases[] = {
      {"05143012.vrc", {{"05143012.vrc", own}}, "05143013.vrc"},
      {"05143012.vrc", {{"05143012.vrc", message}}, "05143012.vrc"},
      {"05143012.vrc",
       {{"05143012.vrc", own}, {"05143013.vrc", own + "x"}},
       "05143014.vrc"},
      {"31235959.VRC", {{"31235959.VRC", own}}, "01000000.vrc"},
      {"talk.vrc", {{"talk.vrc", own}, {"talk-2.vrc", own}}, "talk-3.vrc"},
      {"   talk.vrc", {}, "talk.vrc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    for (const std::string& name : Files()) fs::remove(temp_.home() / name);
    std::set<std::string> expected_files = {"p.exe", c.expected};
    for (const auto& [name, bytes] : c.present) {
      temp_.WriteFile(name, bytes);
      expected_files.insert(name);
    }
    temp_.WriteFile("p.exe", HandMadePackage(c.header, message));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), c.expected);
    EXPECT_EQ(temp_.ReadFile(c.expected), message);
    for (const auto& [name, bytes] : c.present) {
      if (std::string(name) != c.expected) {
        EXPECT_EQ(temp_.ReadFile(name), bytes) << name;
      }
    }
    // No second copy, no piece left aside.
    EXPECT_EQ(Files(), expected_files);
  }
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
      "", "/tmp/evil.vrc", "../evil.vrc", "sub/evil.vrc", "sub\\evil.vrc", "..",
      "evil\x01.vrc", QByteArray("evil\0.vrc", 9), "evil\x7f.vrc", "vocap.exe",
      "VMESSAGE.ENG", "popplay.txt", "message.vrc.sh", ".hidden.vrc", "-rf.vrc",
      "*.vrc", "m?.vrc",
      // Right-to-left override, a C1 control and a line separator, in UTF-8.
      "evil\xe2\x80\xaext.vrc", "a\xc2\x85.vrc", "a\xe2\x80\xa8.vrc"};
  for (const QByteArray& name : names) {
    temp_.WriteFile("p.exe", HandMadePackage(name, "payload"));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "") << name.toStdString();
  }
  EXPECT_EQ(Files(), std::set<std::string>{"p.exe"});
  EXPECT_FALSE(fs::exists("/tmp/evil.vrc"));
  EXPECT_FALSE(fs::exists(temp_.root() / "evil.vrc"));
  EXPECT_TRUE(IsSafeMessageName(QString::fromUtf8("My Grüße.VRC")));
}

TEST_F(PackageTest, ExtractionNeverWritesThroughALink) {
  temp_.WriteFile(temp_.root() / "outside.vrc", "precious");
  fs::create_symlink(temp_.root() / "outside.vrc", temp_.home() / "m.vrc");
  temp_.WriteFile("p.exe", HandMadePackage("m.vrc", "message"));
  EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "m-2.vrc");
  EXPECT_EQ(temp_.ReadFile(temp_.root() / "outside.vrc"), "precious");
  EXPECT_TRUE(fs::is_symlink(temp_.home() / "m.vrc"));
  EXPECT_EQ(temp_.ReadFile("m-2.vrc"), "message");
}

}  // namespace
}  // namespace vocapost
