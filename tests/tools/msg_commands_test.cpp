#include "msg_commands.h"

#include <gtest/gtest.h>

#include <QProcess>

#include "message/message_record.h"
#include "support/temp_home.h"

namespace vocapost::tool {
namespace {

class MsgCommandsTest : public testing::HomeTest {
 protected:
  static QByteArray Frame(int width, int height) {
    QByteArray frame(60, '\0');
    frame[4] = static_cast<char>(width);
    frame[5] = static_cast<char>(width >> 8);
    frame[8] = static_cast<char>(height);
    return frame;
  }
  static QByteArray Rec(const QByteArray& tag, const QByteArray& payload) {
    return RecordHeader(tag, static_cast<int32_t>(payload.size())) + payload;
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
}

TEST_F(MsgCommandsTest, InfoTellsOfACutShortLastRecord) {
  temp_.WriteFile("m.vrc", Rec("WAV", QByteArray(650, 'a')).left(100));
  EXPECT_EQ(Info("m.vrc", out_, err_), kOk);
  EXPECT_TRUE(out_text_.contains("0\tWAV\t650\t(cut short)\n"));
  EXPECT_TRUE(out_text_.endsWith(
      "reading stopped: the file ends inside the record at offset 0\n"));
}

TEST_F(MsgCommandsTest, InfoOfAMissingFileFails) {
  EXPECT_EQ(Info("absent.vrc", out_, err_), kFailed);
  EXPECT_TRUE(err_text_.contains("cannot read absent.vrc"));
}

TEST_F(MsgCommandsTest, PackageAndExtractRoundTrip) {
  QByteArray stub = "#!/bin/sh\nexit 1\n" + QByteArray(14336, '#');
  stub.truncate(14336);
  temp_.WriteFile(temp_.root() / "stub.exe", stub);
  const QByteArray message =
      Rec("WAV", QByteArray(1105, 'w')) + Rec("WAV", QByteArray(1105, 'v'));
  temp_.WriteFile(temp_.root() / "elsewhere" / "05143012.vrc", message);
  ASSERT_EQ(
      Package(QString::fromStdString(
                  (temp_.root() / "elsewhere" / "05143012.vrc").string()),
              QString::fromStdString((temp_.root() / "stub.exe").string()),
              out_, err_),
      kOk)
      << err_text_.toStdString();
  EXPECT_TRUE(out_text_.startsWith("voca-MSG05143012.exe\n"));
  ASSERT_TRUE(std::filesystem::exists(temp_.home() / "voca-MSG05143012.exe"));

  std::filesystem::create_directory(temp_.home() / "out");
  std::filesystem::current_path(temp_.home() / "out");
  out_text_.clear();
  EXPECT_EQ(Extract("../voca-MSG05143012.exe", out_, err_), kOk);
  EXPECT_EQ(out_text_, "05143012.vrc\n");
  EXPECT_EQ(temp_.ReadFile("out/05143012.vrc"), message);
}

TEST_F(MsgCommandsTest, FailuresGiveTheReasonAndExitCodeOne) {
  EXPECT_EQ(Package("absent.vrc", "stub.exe", out_, err_), kFailed);
  EXPECT_TRUE(err_text_.contains("Recordedfile does not exist."));
  err_text_.clear();
  temp_.WriteFile("not-a-package", QByteArray(5000, 'x'));
  EXPECT_EQ(Extract("not-a-package", out_, err_), kFailed);
  EXPECT_TRUE(err_text_.contains("no message taken from not-a-package"));
  EXPECT_EQ(Extract("absent.exe", out_, err_), kFailed);
}

TEST_F(MsgCommandsTest, ProgramRejectsBadUsageWithExitCodeTwo) {
  for (const QStringList& args :
       {QStringList{}, QStringList{"info"}, QStringList{"frobnicate", "x"}}) {
    QProcess tool;
    tool.start(VOCAPOST_MSG_BINARY, args);
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), kUsage) << args.join(' ').toStdString();
    EXPECT_TRUE(tool.readAllStandardError().startsWith("usage: vocapost-msg"));
  }
}

}  // namespace
}  // namespace vocapost::tool
