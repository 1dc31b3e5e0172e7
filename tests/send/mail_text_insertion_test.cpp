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

struct Case {
  const char* name;
  std::vector<std::pair<Window, std::vector<Window>>> windows;
  QStringList expected;
  bool foreground_allowed = true;
};

TEST_F(MailTextInsertionTest, WindowClassTableDecidesWhereTheNoticeGoes) {
  const QString lf = "clipboard " + kLineFeedForm;
  const QString cr = "clipboard " + kCarriageReturnForm;
  const QString over_limit(kWindowTextLimit, 'x');
  const std::vector<Case> cases = {
      {"no mail window",
       {{Top("Shell_TrayWnd"), {Editor("RichEdit20A", 300)}}},
       {}},
      {"Outlook Express body",
       {{Top("ATH_Note"),
         {Editor("ME_DocHost", 30), Editor("ATH_DocHost", 300)}}},
       {lf, "front 3", kPaste}},
      {"a subject line is too low",
       {{Top("EudoraMainWindow"), {Editor("RichEdit20A", 40)}}},
       {}},
      {"Netscape's windows are not searched",
       {{Top("Afx:400000:8", "Inbox - NetScape Folder"),
         {Editor("Afx:1", 300)}}},
       {}},
      {"Word as the editor gets the other form and low-level keys",
       {{Top("rctrl_renwnd32"), {Editor("_WwG", 200)}}},
       {"front 2", cr, "key 16 116 0", "key 45 145 0", "key 45 145 2",
        "key 16 116 2"}},
      {"two editors get the notice twice",
       {{Top("ATH_Note"),
         {Editor("Internet Explorer_Server HTMLEdit", 100),
          Editor("HTMLEdit", 100)}}},
       {lf, "front 2", kPaste, lf, "front 3", kPaste}},
      {"a long title is compared cut",
       {{Top("AFX:1", over_limit + "NETSCAPE"), {Editor("AFX:2", 300)}}},
       {lf, "front 2", kPaste}},
      {"a refused foreground sends no keys, except for Word",
       {{Top("ATH_Note"), {Editor("ATH_DocHost", 300)}},
        {Top("RCtrl_RenWnd32"), {Editor("_WwG", 400)}}},
       {lf, "front 2", "front 4", cr, "key 16 116 0", "key 45 145 0",
        "key 45 145 2", "key 16 116 2"},
       false},
      {"Claws Mail without accessibility: no keys are known",
       {{Compose("claws-mail", "Claws-mail", "compose"), {}}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop desktop(clock_);
    desktop.foreground_allowed = c.foreground_allowed;
    for (const auto& [top, children] : c.windows) {
      const WindowHandle parent = desktop.Add(top);
      for (const Window& child : children) desktop.Add(child, parent);
    }
    MailTextInsertion insertion{desktop, nullptr, clock_, texts_, state_};
    InsertRecipientNotice(insertion);
    EXPECT_EQ(desktop.What(), c.expected);
  }
}

TEST_F(MailTextInsertionTest, SearchWaitsASecondAndWordHalfASecondMore) {
  desktop_.Add(Top("RCTRL_RENWND32"));
  desktop_.Add(Editor("_WwG", 200), 1);
  Insert();
  ASSERT_EQ(desktop_.actions.size(), 6u);
  EXPECT_GT(desktop_.actions[0].at, 1.0);
  EXPECT_GT(desktop_.actions[1].at - desktop_.actions[0].at, 0.5);
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
