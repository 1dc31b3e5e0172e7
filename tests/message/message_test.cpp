// Message files: their records, reading, writing and packages.
#include <gtest/gtest.h>

#include <QtEndian>
#include <set>

#include "message/message_package.h"
#include "message/message_reader.h"
#include "message/message_record.h"
#include "message/message_writer.h"
#include "support/file_size_limit.h"
#include "support/package_ui.h"
#include "support/temp_home.h"
#include "support/unprivileged_files.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

// A payload of `size` bytes whose content depends on `seed`, so that mixed-up
// records show.
QByteArray Payload(int size, int seed) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed * 31) & 0xFF);
  return bytes;
}

QByteArray Record(const QByteArray& tag, const QByteArray& payload) {
  return RecordHeader(tag, static_cast<int32_t>(payload.size())) + payload;
}

class MessageReaderTest : public testing::HomeTest {
 protected:
  // Each record as "position:kind length/payload size", "cut" when truncated;
  // each payload must be the bytes after its header.
  QStringList ReadAll(const QByteArray& bytes) {
    temp_.WriteFile("m.vrc", bytes);
    EXPECT_TRUE(reader_.Open("m.vrc"));
    QStringList records;
    while (auto r = reader_.Next()) {
      records << QString("%1:%2%3/%4%5")
                     .arg(r->position)
                     .arg(r->kind == RecordKind::kAudio ? "A" : "V")
                     .arg(r->length)
                     .arg(r->payload.size())
                     .arg(r->truncated ? "cut" : "");
      EXPECT_EQ(r->payload, bytes.mid(r->position + 9, r->payload.size()));
    }
    return records;
  }
  MessageReader reader_;
};

TEST_F(MessageReaderTest, RecordsAreReadAsFarAsTheFileHoldsThem) {
  const QByteArray wav65 = Record(kAudioTag, Payload(65, 1));
  const struct {
    QByteArray file;
    QStringList records;
    ReadEnd end = ReadEnd::kEndOfFile;
  } cases[] = {
      {Record(kAudioTag, Payload(1105, 1)) + Record(kVideoTag, Payload(49, 2)),
       {"1:A1105/1105", "1116:V49/49"}},
      {wav65 + "img10     " + Payload(10, 0) + wav65,
       {"1:A65/65"},
       ReadEnd::kUnknownTag},
      {wav65 + Record(kAudioTag, Payload(1105, 3)).left(500),
       {"1:A65/65", "76:A1105/490cut"}},
      // Seven digits at most; the rest is payload.
      {"IMG99999999999" + Payload(30, 1), {"1:V9999999/34cut"}},
      // A frame is read only as far as the frame buffer goes.
      {Record(kVideoTag, Payload(12000, 4)) + wav65,
       {"1:V12000/10001", "12011:A65/65"}},
      {wav65 + "W", {"1:A65/65"}},
      // Blanks before the digits; the digits end at a blank or a sign.
      {"IMG  42   " + Payload(42, 2) + "WAV12 34  " + Payload(12, 3),
       {"1:V42/42", "53:A12/12"}},
      {"WAV-5     IMG       WAVabc    " + wav65,
       {"1:A0/0", "11:V0/0", "21:A0/0", "31:A65/65"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(ReadAll(c.file), c.records);
    EXPECT_EQ(reader_.end(), c.end);
  }
  EXPECT_FALSE(reader_.Open("absent.vrc"));
  EXPECT_EQ(reader_.Next(), std::nullopt);
  EXPECT_EQ(reader_.end(), ReadEnd::kReadError);
}

TEST_F(MessageReaderTest, BytesToTextTakesAOneBasedRangeOneCharacterAByte) {
  const QByteArray bytes("VOCAPOSTnam\xff", 12);
  EXPECT_EQ(BytesToText(bytes, 9, 1016), QString::fromLatin1("nam\xff"));
  EXPECT_EQ(BytesToText(bytes, 12, 5), QString(QChar(0xff)));
  for (const auto& [start, count] : {std::pair{13, 5}, {0, 5}, {1, 0}})
    EXPECT_EQ(BytesToText(bytes, start, count), "") << start;
}

class MessageWriterTest : public testing::HomeTest {
 protected:
  MemoryImage image_;
};

// Both modes keep the same records, and on a full disk only whole ones:
// here the disk is full exactly at the end of the frame record.
TEST_F(MessageWriterTest, BothModesKeepTheSameWholeRecordsUpToAFullDisk) {
  temp_.WriteFile("direct.vrc", QByteArray(5000, 'x'));  // replaced
  MessageWriter direct, memory;
  ASSERT_TRUE(direct.BeginFile("direct.vrc"));
  ASSERT_TRUE(memory.BeginMemory("memory.vrc", image_, 1048576));
  EXPECT_EQ(fs::file_size(temp_.home() / "memory.vrc"), 0u)
      << "made empty at once; the image is written only at the end";
  const QByteArray audio = Payload(1105, 1), frame = Payload(900, 2);
  const QByteArray too_long(kLargestPayload + 1, 'x');
  {
    const testing::FileSizeLimit full_after(1115 + 910);
    for (MessageWriter* writer : {&direct, &memory}) {
      EXPECT_TRUE(writer->AppendAudio(audio));
      EXPECT_FALSE(writer->AppendVideo(too_long)) << "no room in the length";
      EXPECT_TRUE(writer->AppendVideo(frame));
      EXPECT_EQ(writer->AppendAudio(audio), writer == &memory);
    }
    EXPECT_FALSE(memory.Finish());
  }
  EXPECT_FALSE(direct.active());
  EXPECT_FALSE(direct.Finish());
  EXPECT_TRUE(direct.error().startsWith("Cannot write"));
  for (MessageWriter* writer : {&direct, &memory}) {
    SCOPED_TRACE(writer == &direct ? "direct" : "memory");
    EXPECT_EQ(writer->result(), FinishResult::kCut);
    EXPECT_EQ(writer->kept_size(), 2025);
    EXPECT_EQ(writer->kept_audio_bytes(), 1105);
    EXPECT_EQ(temp_.ReadFile(writer == &direct ? "direct.vrc" : "memory.vrc"),
              "WAV1105   " + audio + "IMG900    " + frame);
  }
}

// The image is kept for the next recording, which writes only its own bytes,
// into the file made at its start though the folder has turned read-only
// since. A file that cannot be made is found at the start.
TEST_F(MessageWriterTest, ImageIsKeptAndTheFileIsMadeAtTheStart) {
  MessageWriter first, second, third;
  ASSERT_TRUE(first.BeginMemory("a.vrc", image_, 2300));
  ASSERT_TRUE(first.AppendAudio(Payload(1105, 1)));
  ASSERT_TRUE(first.AppendAudio(Payload(1105, 2)));
  ASSERT_TRUE(first.Finish());
  ASSERT_TRUE(second.BeginMemory("b.vrc", image_, 2300));
  ASSERT_TRUE(second.AppendAudio(Payload(65, 3)));
  fs::permissions(temp_.home() / "b.vrc", fs::perms::all);
  fs::permissions(temp_.home(), fs::perms(0555));
  {
    const testing::UnprivilegedFiles nobody;
    EXPECT_TRUE(second.Finish()) << second.error().toStdString();
    EXPECT_FALSE(third.BeginMemory("c.vrc", image_, 2300));
  }
  fs::permissions(temp_.home(), fs::perms::owner_all);
  EXPECT_EQ(temp_.ReadFile("b.vrc"), Record(kAudioTag, Payload(65, 3)));
  EXPECT_FALSE(third.AppendAudio(Payload(65, 1)));
  EXPECT_FALSE(third.Finish());
  EXPECT_EQ(third.result(), FinishResult::kNotCreated);
  EXPECT_FALSE(third.reason().isEmpty());
}

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
  // Names of the files in the home, but the stub.
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp_.home()))
      names.insert(entry.path().filename());
    names.erase("vocap.exe");
    return names;
  }
  testing::RecordingPackageUi ui_;
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
    const int32_t total = BuildMessagePackage("abcdefghij.vrc", ui_);
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
    EXPECT_EQ(BuildMessagePackage(c.message, ui_), 0);
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
