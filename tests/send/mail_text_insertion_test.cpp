#include "send/mail_text_insertion.h"

#include <gtest/gtest.h>

#include "support/fake_desktop.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using testing::FakeDesktop;
using Window = FakeDesktop::Window;
using MailTextInsertionTest = testing::HomeTest;

Window Top(const QString& class_name, const QString& title = "A mail") {
  return {class_name, title, {0, 0, 800, 600}, {}, {}, {}, 0};
}
Window Editor(const QString& class_name, int height) {
  return {class_name, {}, {10, 100, 700, 100 + height}, {}, {}, {}, 0};
}

// Which windows get the notice, and in which form, by their classes. A
// compose window goes through the accessibility tree; when the program only
// focuses its body there, the notice is pasted into it.
TEST_F(MailTextInsertionTest, WindowClassTableDecidesWhereTheNoticeGoes) {
  const std::pair<Window, std::vector<Window>> windows[] = {
      // None of these three has an editor to paste into.
      {Top("Shell_TrayWnd"), {Editor("RichEdit20A", 300)}},
      {Top("EudoraMainWindow"), {Editor("RichEdit20A", 40)}},
      {Top("Afx:400000:8", "Inbox - NetScape Folder"), {Editor("Afx:1", 300)}},
      {{.class_name = "Claws-mail", .title = "Write: (no subject)", .rect = {},
        .children = {}, .instance = "claws-mail", .role = "compose",
        .pid = 4242},
       {}},
      // Outlook Express's body, not its header; Word by low-level keys.
      {Top("ATH_Note"), {Editor("ME_DocHost", 30), Editor("ATH_DocHost", 300)}},
      {Top("rctrl_renwnd32"), {Editor("_WwG", 200)}},
  };
  ManualClock clock;
  FakeDesktop desktop;
  for (const auto& [top, children] : windows) {
    const WindowHandle parent = desktop.Add(top);
    for (const Window& child : children) desktop.Add(child, parent);
  }
  ExtraTexts texts;
  for (int line = 1; line <= 5; ++line) texts[line] = QString("L%1").arg(line);
  testing::FakeAccessibleDesktop tree;
  tree.answer = BodyInsertion::kFocused;
  MailSearchState state;
  MailTextInsertion insertion{desktop, &tree, clock, texts, state};
  InsertRecipientNotice(insertion);

  const QString line_feeds = "\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n\r\n";
  const QString paste = "keys ^{HOME}+{INSERT}";
  EXPECT_EQ(tree.asked, QStringList{"4242 Write: (no subject) " + line_feeds});
  EXPECT_EQ(
      desktop.actions,
      (QStringList{"clipboard " + line_feeds, "front 7", paste,
                   "clipboard " + line_feeds, "front 10", paste, "front 12",
                   "clipboard \r\rL1\rL2\rL3\rL4\rL5\r\r", "key 16 116 0",
                   "key 45 145 0", "key 45 145 2", "key 16 116 2"}));
  // No keys go to a window that did not come to the front.
  desktop.actions.clear();
  desktop.foreground_allowed = false;
  InsertRecipientNotice(insertion);
  EXPECT_TRUE(desktop.actions.contains("front 7"));
  EXPECT_FALSE(desktop.actions.contains(paste));
}

}  // namespace
}  // namespace vocapost
