#include "msg_commands.h"

#include <gtest/gtest.h>

#include <QDir>
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

  // Where a recording of the same name is already: it stays, the message
  // takes the next second's name, and the same package again finds it there.
  temp_.WriteFile("out/05143012.vrc", "the user's own recording");
  std::filesystem::current_path(temp_.home() / "out");
  for (int i = 0; i < 2; ++i) {
    out_text_.clear();
    EXPECT_EQ(Extract("../voca-MSG05143012.exe", out_, err_), kOk);
    EXPECT_EQ(out_text_, "05143013.vrc\n");
  }
  EXPECT_EQ(temp_.ReadFile("out/05143013.vrc"), message);
  EXPECT_EQ(temp_.ReadFile("out/05143012.vrc"), "the user's own recording");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                          std::filesystem::directory_iterator()),
            2);
}

TEST_F(MsgCommandsTest, ExtractRefusalsSayWhyAndLeaveNothing) {
  const QByteArray stub = QByteArray(2048, '#');
  auto header = [](const QByteArray& name) {
    return "VOCAPOST" + name + QByteArray(1024 - 8 - name.size(), ' ');
  };
  const QByteArray long_name = QByteArray(300, 'n') + ".vrc";
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
      {stub + header(long_name) + "x", 0,
       "The message file " + long_name + " cannot be created in " +
           QDir::currentPath() + " ("},
  };
  for (const auto& c : cases) {
    for (const auto& entry : std::filesystem::directory_iterator(temp_.home()))
      std::filesystem::remove_all(entry.path());
    temp_.WriteFile("p.exe", c.package);
    if (c.grow_to > 0)
      std::filesystem::resize_file(temp_.home() / "p.exe", c.grow_to);
    err_text_.clear();
    EXPECT_EQ(Extract("p.exe", out_, err_), kFailed);
    EXPECT_TRUE(err_text_.startsWith("vocapost-msg: p.exe: " + c.says))
        << err_text_.toStdString();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.home()),
                            std::filesystem::directory_iterator()),
              1)
        << c.says.toStdString();
  }
}

// The real tool, made to fail halfway through writing the package.
TEST_F(MsgCommandsTest, FailedPackageBuildLeavesNoPackage) {
  QByteArray stub = "#!/bin/sh\nexit 1\n" + QByteArray(14336, '#');
  stub.truncate(14336);
  temp_.WriteFile("vocap.exe", stub);
  temp_.WriteFile("05143012.vrc", QByteArray(5000, 'm'));
  QProcess tool;
  tool.setWorkingDirectory(QString::fromStdString(temp_.home().string()));
  // At most 20 blocks of 512 bytes per file, with the signal for going over
  // ignored so that the write fails instead.
  tool.start("/bin/sh", {"-c",
                         "trap '' XFSZ; ulimit -f 20; exec \"$0\" "
                         "package 05143012.vrc",
                         VOCAPOST_MSG_BINARY});
  ASSERT_TRUE(tool.waitForFinished(10000));
  EXPECT_EQ(tool.exitCode(), kFailed);
  EXPECT_TRUE(tool.readAllStandardError().contains(
      "The file voca-MSG.exe could not be created"));
  for (const auto& entry : std::filesystem::directory_iterator(temp_.home())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("voca-MSG"))
        << entry.path();
  }
}

TEST_F(MsgCommandsTest, FailuresGiveTheReasonAndExitCodeOne) {
  EXPECT_EQ(Package("absent.vrc", "stub.exe", out_, err_), kFailed);
  EXPECT_TRUE(err_text_.contains("Recordedfile does not exist."));
  err_text_.clear();
  temp_.WriteFile("not-a-package", QByteArray(5000, 'x'));
  EXPECT_EQ(Extract("not-a-package", out_, err_), kFailed);
  EXPECT_TRUE(err_text_.contains(
      "not-a-package: There does not appear to be a message in that file."));
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
