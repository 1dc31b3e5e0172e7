#include "send/mail_text_insertion.h"

#include <gtest/gtest.h>

#include "support/fake_desktop.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

using testing::FakeAccessibleDesktop;
using testing::FakeDesktop;
using Window = FakeDesktop::Window;

const QString kLineFeedForm = "\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n\r\n";
const QString kCarriageReturnForm = "\r\rL1\rL2\rL3\rL4\rL5\r\r";
const QString kPaste = "keys ^{HOME}+{INSERT}";

Window Top(const QString& class_name, const QString& title = "A mail") {
  return {class_name, title, {0, 0, 800, 600}, {}, {}, {}, 0};
}
Window Editor(const QString& class_name, int height) {
  return {class_name, {}, {10, 100, 700, 100 + height}, {}, {}, {}, 0};
}
Window Compose(const QString& instance, const QString& class_name,
               const QString& role) {
  return {
      class_name, "Write: (no subject)", {0, 0, 860, 800}, {}, instance, role,
      4242};
}

class MailTextInsertionTest : public testing::HomeTest {
 protected:
  MailTextInsertionTest() {
    for (int line = 1; line <= 5; ++line)
      texts_[line] = QString("L%1").arg(line);
  }
  void Insert(AccessibleDesktop* accessibility = nullptr) {
    MailTextInsertion insertion{desktop_, accessibility, clock_, texts_,
                                state_};
    InsertRecipientNotice(insertion);
  }

  ManualClock clock_;
  FakeDesktop desktop_{clock_};
  ExtraTexts texts_;
  MailSearchState state_;
};

// Which windows get the notice, and in which form, by their classes.
TEST_F(MailTextInsertionTest, WindowClassTableDecidesWhereTheNoticeGoes) {
  const std::pair<Window, std::vector<Window>> windows[] = {
      // None of these four has an editor to paste into; Claws Mail without
      // accessibility has no keys known.
      {Top("Shell_TrayWnd"), {Editor("RichEdit20A", 300)}},
      {Top("EudoraMainWindow"), {Editor("RichEdit20A", 40)}},
      {Top("Afx:400000:8", "Inbox - NetScape Folder"), {Editor("Afx:1", 300)}},
      {Compose("claws-mail", "Claws-mail", "compose"), {}},
      // Outlook Express's body, not its header; Word by low-level keys.
      {Top("ATH_Note"), {Editor("ME_DocHost", 30), Editor("ATH_DocHost", 300)}},
      {Top("rctrl_renwnd32"), {Editor("_WwG", 200)}},
  };
  for (const auto& [top, children] : windows) {
    const WindowHandle parent = desktop_.Add(top);
    for (const Window& child : children) desktop_.Add(child, parent);
  }
  Insert();
  EXPECT_EQ(
      desktop_.What(),
      (QStringList{"clipboard " + kLineFeedForm, "front 10", kPaste, "front 12",
                   "clipboard " + kCarriageReturnForm, "key 16 116 0",
                   "key 45 145 0", "key 45 145 2", "key 16 116 2"}));
}

// Inserted through the tree, the notice is the x11 tests' to see; a program
// that ignores the insertion has its body focused, and it is pasted there.
TEST_F(MailTextInsertionTest, AccessibilityFocusesTheBodyForKeys) {
  desktop_.Add(Compose("claws-mail", "Claws-mail", "compose"));
  FakeAccessibleDesktop tree;
  tree.answer = BodyInsertion::kFocused;
  Insert(&tree);
  EXPECT_EQ(tree.asked,
            QStringList{"4242 Write: (no subject) " + kLineFeedForm});
  EXPECT_EQ(desktop_.What(),
            (QStringList{"clipboard " + kLineFeedForm, "front 1", kPaste}));
}

}  // namespace
}  // namespace vocapost
