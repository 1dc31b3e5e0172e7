#include <gtest/gtest.h>

#include "platform/desktop/key_sequence.h"
#include "platform/mail/mail_programs.h"
#include "platform/text/eight_bit_text.h"

namespace vocapost {
namespace {

// Small readings that the programs around them only reach on rare input.
TEST(TextRulesTest, EdgesOfCodePagesKeyNamesAndFlatpakCommands) {
  // 0x9F is the last byte Windows-1252 takes from Latin-1's C1 range.
  EXPECT_EQ(DecodeWindows1252(QByteArray("\x80\x9f\xa0", 3)),
            QString::fromUtf8("\u20ac\u0178\u00a0"));
  // "{}}" names the closing brace itself.
  const std::vector<KeyStroke> keys = ParseKeys("{}}a");
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].key + keys[1].key, "}a");
  // A Flatpak launcher with its own id names the program in --command=.
  EXPECT_EQ(
      RecogniseMailProgram("com.example.Mailer.desktop",
                           {"/usr/bin/flatpak", "run", "--command=thunderbird",
                            "com.example.Mailer"}),
      MailProgram::kThunderbird);
}

}  // namespace
}  // namespace vocapost
