#include "platform/message_log/message_log.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

using MessageLogTest = testing::HomeTest;

TEST_F(MessageLogTest, AppendsOneLinePerMessageWithBreaksEscaped) {
  temp_.WriteFile("log.txt", "earlier\tline\n");
  const MessageLog log(
      QString::fromStdString((temp_.home() / "log.txt").string()));
  log.Append("Warning", "first line\r\nsecond");
  log.Append("Vocapost Message", "Loading...");
  EXPECT_EQ(temp_.ReadFile("log.txt"),
            "earlier\tline\n"
            "Warning\tfirst line\\r\\nsecond\n"
            "Vocapost Message\tLoading...\n");
}

}  // namespace
}  // namespace vocapost
