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
  return ("#!/bin/sh\nexit 0\n" + QByteArray(size, '#')).left(size);
}

// A package with `name` in its header, built by hand.
QByteArray HandMadePackage(const QByteArray& name, const QByteArray& message) {
  const QByteArray header = "VOCAPOST" + name;
  return Stub(14 * kPackageBlock) + QByteArray(kPackageBlock, '\0') + header +
         QByteArray(kPackageBlock - header.size(), ' ') + message;
}

class PackageTest : public testing::HomeTest {
 protected:
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

// The second build replaces the first package and a work file left over.
TEST_F(PackageTest, LayoutIsStubZerosToTheNextBlockHeaderAndMessage) {
  const struct {
    int stub, padding, size;
  } cases[] = {{14336, 1024, 3000}, {14000, 336, 1500}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stub);
    const QByteArray stub = Stub(c.stub), message = Payload(c.size, c.stub);
    temp_.WriteFile("vocap.exe", stub);
    temp_.WriteFile("abcdefghij.vrc", message);
    temp_.WriteFile("voca-MSG.exe", "left over from a build that broke off");
    const int32_t total = Build("abcdefghij.vrc");
    const QByteArray package = temp_.ReadFile("voca-MSGabcdefgh.exe");
    const int header = c.stub + c.padding;
    ASSERT_EQ(package.size(), header + 1024 + c.size);
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
    EXPECT_EQ(Files(), (std::set<std::string>{"abcdefghij.vrc",
                                              "voca-MSGabcdefgh.exe"}));
  }
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.packages, std::vector<QString>(2, "voca-MSGabcdefgh.exe"));
}

TEST_F(PackageTest, RefusalsSayWhyAndWriteNothing) {
  const char* no_stub = "The file vocap.exe is missing.  Re-install software.";
  const char* blocked =
      "The file voca-MSG.exe could not be created, delete from \\vocapost "
      "directory.";
  temp_.WriteFile("small.vrc", Payload(1023, 1));
  temp_.WriteFile("m.vrc", Payload(1024, 1));
  const struct {
    const char* message;
    int stub;             // none when 0
    const char* blocker;  // a folder in the way
    const char* says;
  } cases[] = {
      {"absent.vrc", 14336, "", "Recordedfile does not exist."},
      {"small.vrc", 14336, "", "Recorded file is too small."},
      {"m.vrc", 0, "", no_stub},
      {"m.vrc", 13983, "", no_stub},  // too short for the length field
      {"m.vrc", 14336, "voca-MSG.exe", blocked},
      {"m.vrc", 14336, "voca-MSGm.vrc.exe", blocked},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    fs::remove(temp_.home() / "vocap.exe");
    if (c.stub > 0) temp_.WriteFile("vocap.exe", Stub(c.stub));
    if (*c.blocker) fs::create_directories(temp_.home() / c.blocker / "in");
    ui_.messages.clear();
    EXPECT_EQ(Build(c.message), 0);
    EXPECT_EQ(ui_.messages, std::vector<QString>{c.says});
    if (*c.blocker) fs::remove_all(temp_.home() / c.blocker);
  }
  EXPECT_TRUE(ui_.packages.empty());
  EXPECT_EQ(Files(), (std::set<std::string>{"m.vrc", "small.vrc"}));
}

// The sender picks the name, and received messages share the folder and the
// naming of the user's own recordings. A file there is never written over,
// nor one that a link there points to.
TEST_F(PackageTest, ExtractionGivesTheMessageBackNeverReplacingAFile) {
  const QByteArray own = Payload(3000, 5);
  const struct {
    const char* header;
    const char* expected;
    std::vector<std::pair<const char*, QByteArray>> present;
    int size = 3000;
    bool links = false;  // the present files are links to files outside
  } cases[] = {
      {"m.vrc", "m.vrc", {}, 2048},
      {"m.vrc", "m.vrc", {}, 1024},
      {"   m.vrc", "m.vrc", {}, 5},
      {"05143012.vrc", "05143013.vrc", {{"05143012.vrc", own}}, 3001},
      {"05143012.vrc", "05143012.vrc", {{"05143012.vrc", Payload(3000, 4)}}},
      {"05143012.vrc",
       "05143014.vrc",
       {{"05143012.vrc", own}, {"05143013.vrc", own + "x"}}},
      {"31235959.VRC", "01000000.vrc", {{"31235959.VRC", own}}},
      {"talk.vrc", "talk-3.vrc", {{"talk.vrc", own}, {"talk-2.vrc", own}}},
      {"m.vrc", "m-2.vrc", {{"m.vrc", own}}, 3000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    for (const std::string& name : Files()) fs::remove(temp_.home() / name);
    std::set<std::string> expected_files = {"p.exe", c.expected};
    for (const auto& [name, bytes] : c.present) {
      temp_.WriteFile(c.links ? temp_.root() / name : name, bytes);
      if (c.links) fs::create_symlink(temp_.root() / name, temp_.home() / name);
      expected_files.insert(name);
    }
    const QByteArray message = Payload(c.size, 4);
    temp_.WriteFile("p.exe", HandMadePackage(c.header, message));
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), c.expected);
    EXPECT_EQ(temp_.ReadFile(c.expected), message);
    for (const auto& [name, bytes] : c.present)
      EXPECT_EQ(temp_.ReadFile(name), bytes) << name;
    // No second copy, no piece left aside.
    EXPECT_EQ(Files(), expected_files);
  }
}

TEST_F(PackageTest, NoHeaderOrAnUnsafeNameGivesNothing) {
  const QByteArray names[] = {
      "", "/tmp/evil.vrc", "../evil.vrc", "sub\\evil.vrc", "..", "evil\x01.vrc",
      QByteArray("evil\0.vrc", 9), "evil\x7f.vrc", "vocap.exe", "popplay.txt",
      "message.vrc.sh", ".hidden.vrc", "-rf.vrc", "*.vrc", "m?.vrc",
      // Right-to-left override, a C1 control and a line separator.
      "evil\xe2\x80\xaext.vrc", "a\xc2\x85.vrc", "a\xe2\x80\xa8.vrc"};
  // No header block, or one only in a short last piece.
  std::vector<QByteArray> packages = {Stub(20000),
                                      Stub(1024) + "VOCAPOSTm.vrc"};
  for (const QByteArray& name : names)
    packages.push_back(HandMadePackage(name, "payload"));
  for (const QByteArray& package : packages) {
    temp_.WriteFile("p.exe", package);
    EXPECT_EQ(ExtractEmbeddedMessage("p.exe"), "") << &package - &packages[0];
  }
  EXPECT_EQ(ExtractEmbeddedMessage("absent.exe"), "");
  EXPECT_EQ(Files(), std::set<std::string>{"p.exe"});
  EXPECT_FALSE(fs::exists("/tmp/evil.vrc"));
  EXPECT_FALSE(fs::exists(temp_.root() / "evil.vrc"));
  EXPECT_TRUE(IsSafeMessageName(QString::fromUtf8("My Grüße.VRC")));
}

}  // namespace
}  // namespace vocapost
