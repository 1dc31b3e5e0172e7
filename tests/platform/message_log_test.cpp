#include "platform/message_log/message_log.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/temp_home.h"

namespace vocapost {
namespace {

using MessageLogTest = testing::HomeTest;

TEST_F(MessageLogTest, WritesOneLinePerMessageWithBreaksEscaped) {
  const MessageLog log(
      QString::fromStdString((temp_.home() / "log.txt").string()));
  log.Append("Warning", "first line\r\nsecond");
  log.Append("Vocapost Message", "Loading...");
  EXPECT_EQ(temp_.ReadFile("log.txt"),
            "Warning\tfirst line\\r\\nsecond\n"
            "Vocapost Message\tLoading...\n");
}

TEST_F(MessageLogTest, AppendsToWhatIsThere) {
  temp_.WriteFile("log.txt", "earlier\tline\n");
  const MessageLog log(
      QString::fromStdString((temp_.home() / "log.txt").string()));
  log.Append("T", "x");
  EXPECT_EQ(temp_.ReadFile("log.txt"), "earlier\tline\nT\tx\n");
}

TEST_F(MessageLogTest, UnwritablePathIsIgnored) {
  const MessageLog log("/nonexistent-folder/log.txt");
  log.Append("T", "x");  // must neither throw nor crash
  EXPECT_FALSE(QFile::exists("/nonexistent-folder/log.txt"));
}

}  // namespace
}  // namespace vocapost
