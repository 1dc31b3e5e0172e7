// The vocapost-msg commands: info, package, extract and the thumbnails file
// managers ask for.
#include "msg_commands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QtEndian>

#include "message/message_record.h"
#include "support/run_process.h"
#include "support/sample_message.h"
#include "support/temp_home.h"
#include "thumbnail_command.h"

namespace vocapost::tool {
namespace {

class MsgCommandsTest : public testing::HomeTest {
 protected:
  static QByteArray Frame(qint32 width, qint32 height) {
    QByteArray frame(60, '\0');
    qToLittleEndian(width, frame.data() + 4);
    qToLittleEndian(height, frame.data() + 8);
    return frame;
  }
  static QByteArray Rec(const QByteArray& tag, const QByteArray& payload) {
    return RecordHeader(tag, static_cast<int32_t>(payload.size())) + payload;
  }
  // The real tool, run in the program home.
  int RunTool(const QStringList& args) {
    const testing::ProcessResult run = testing::RunProcess(
        VOCAPOST_MSG_BINARY, args, QString::fromStdString(temp_.home()));
    out_text_ = QString::fromUtf8(run.out);
    err_text_ = QString::fromUtf8(run.err);
    return run.code;
  }
  QString out_text_, err_text_;
  QTextStream out_{&out_text_}, err_{&err_text_};
};

TEST_F(MsgCommandsTest, InfoListsRecordsTotalsAndWhyReadingStopped) {
  temp_.WriteFile("m.vrc", Rec("WAV", QByteArray(1625, 'a')) +
                               Rec("IMG", Frame(160, 120)) +
                               Rec("IMG", Frame(320, 120)) +
                               Rec("WAV", QByteArray(1625, 'b')) + "JUNK");
  EXPECT_EQ(Info("m.vrc", out_, err_), kOk);
  EXPECT_EQ(out_text_,
            "offset\ttag\tlength\n"
            "0\tWAV\t1625\n"
            "1635\tIMG\t60\t160x120\n"
            "1705\tIMG\t60\t320x120\n"
            "1775\tWAV\t1625\n"
            "audio records: 2 (2.00 s)\n"
            "video records: 2, 1 at 160x120, 1 at 320x120\n"
            "reading stopped: unknown tag \"JUN\" at offset 3410\n");
  EXPECT_TRUE(err_text_.isEmpty());
  temp_.WriteFile("cut.vrc", Rec("IMG", Frame(160, 120)) +
                                 Rec("IMG", Frame(8, 6)).left(30));
  out_text_.clear();
  EXPECT_EQ(Info("cut.vrc", out_, err_), kOk);
  EXPECT_TRUE(out_text_.contains("\n70\tIMG\t60\t8x6\t(cut short)\n"));
  EXPECT_TRUE(
      out_text_.endsWith("the file ends inside the record at offset 70\n"))
      << out_text_.toStdString();
  EXPECT_EQ(Info("absent.vrc", out_, err_), kFailed);
  EXPECT_EQ(err_text_, "vocapost-msg: cannot read absent.vrc\n");
}

// The tool packs with the program home's stub (the next second's name for
// a message whose name is taken is the package tests' concern).
TEST_F(MsgCommandsTest, PackageAndExtractRoundTripAndBadUsageIsRefused) {
  EXPECT_EQ(RunTool({"frobnicate", "x"}), kUsage);
  EXPECT_TRUE(err_text_.startsWith("usage: vocapost-msg"));
  temp_.WriteFile("vocap.exe",
                  ("#!/bin/sh\nexit 1\n" + QByteArray(14336, '#')).left(14336));
  const QByteArray message = Rec("WAV", QByteArray(1105, 'w'));
  temp_.WriteFile("05143012.vrc", message);
  ASSERT_EQ(RunTool({"package", "05143012.vrc"}), kOk)
      << err_text_.toStdString();
  EXPECT_TRUE(out_text_.startsWith("voca-MSG05143012.exe\n"));
  std::filesystem::create_directory(temp_.home() / "out");
  std::filesystem::current_path(temp_.home() / "out");
  out_text_.clear();
  EXPECT_EQ(Extract("../voca-MSG05143012.exe", out_, err_), kOk);
  EXPECT_EQ(out_text_, "05143012.vrc\n");
  EXPECT_EQ(temp_.ReadFile("out/05143012.vrc"), message);
}

TEST_F(MsgCommandsTest, ExtractRefusalsSayWhyAndLeaveNothing) {
  const QByteArray stub = QByteArray(2048, '#');
  auto header = [](const QByteArray& name) {
    return "VOCAPOST" + name + QByteArray(1024 - 8 - name.size(), ' ');
  };
  const struct {
    QByteArray package;
    qint64 grow_to;  // a sparse end makes a large package cheaply
    QString says;
  } cases[] = {
      {stub, 0, "There does not appear to be a message in that file."},
      {stub + header(".05143012.vrc") + "x", 0,
       "The message in that file has a name that cannot be used."},
      {stub + header("05143012.vrc"), 2048 + 1024 + (64 << 20) + 1,
       "The message in that file is larger than 64 MB.  Cannot be played."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says.toStdString());
    temp_.WriteFile("p.exe", c.package);
    if (c.grow_to > 0)
      std::filesystem::resize_file(temp_.home() / "p.exe", c.grow_to);
    err_text_.clear();
    EXPECT_EQ(Extract("p.exe", out_, err_), kFailed);
    EXPECT_TRUE(err_text_.startsWith("vocapost-msg: p.exe: " + c.says))
        << err_text_.toStdString();
    EXPECT_EQ(QDir().entryList(QDir::AllEntries | QDir::Hidden |
                               QDir::NoDotAndDotDot),
              QStringList{"p.exe"});
  }
}

// The first picture at the size asked; the no-video picture for a message
// without one is left to the installed thumbnailer's test.
TEST_F(MsgCommandsTest, ThumbnailIsTheFirstPictureAtTheSizeAskedOrAReason) {
  const std::array<QColor, 4> first = {Qt::red, Qt::green, Qt::blue, Qt::white};
  testing::WriteSampleMessage(
      "m.vrc", {testing::QuadrantPicture(160, 120, first),
                testing::QuadrantPicture(
                    160, 120, {Qt::white, Qt::blue, Qt::green, Qt::red})});
  temp_.WriteFile("notes.vrc", "Dear Sir, a text file.\n");
  testing::WriteSampleMessage("sound.vrc", {});
  const std::pair<const char*, const char*> failures[] = {
      {"notes.vrc", "notes.vrc is not a Vocapost message"},
      {"sound.vrc", "holds no picture"},  // and no no-video picture
  };
  for (const auto& [file, reason] : failures) {
    EXPECT_EQ(Thumbnail(file, "t.png", 128, "absent.bmp", err_), kFailed);
    EXPECT_TRUE(err_text_.contains(reason)) << err_text_.toStdString();
    EXPECT_FALSE(QFile::exists("t.png"));
  }
  err_text_.clear();
  ASSERT_EQ(Thumbnail("m.vrc", "t.png", 128, "absent.bmp", err_), kOk)
      << err_text_.toStdString();
  const QImage thumbnail("t.png", "PNG");
  EXPECT_EQ(thumbnail.size(), QSize(128, 96));
  for (int q = 0; q < 4; ++q)
    EXPECT_TRUE(testing::Near(testing::QuadrantColour(thumbnail, q), first[q]))
        << q;
}

}  // namespace
}  // namespace vocapost::tool
