// Sending a file: the progress note, the mail handed over, and the failures.
#include "send/email_dispatch.h"

#include <gtest/gtest.h>

#include "send/send_fixture.h"

namespace vocapost {
namespace {

using testing::RecordedArguments;
using testing::WriteRecordingProgram;

// The desktop's mail, with a look taken when it is displayed.
class WatchedItem final : public MailItem {
 public:
  WatchedItem(std::unique_ptr<MailItem> item, std::function<void()> look)
      : item_(std::move(item)), look_(std::move(look)) {}
  bool SetBody(const QString& body) override { return item_->SetBody(body); }
  MailAttachments* Attachments() override { return item_->Attachments(); }
  DisplayResult Display() override {
    look_();
    return item_->Display();
  }

 private:
  std::unique_ptr<MailItem> item_;
  std::function<void()> look_;
};

class EmailDispatchTest : public testing::SendTest {
 protected:
  EmailDispatchTest() {
    WriteRecordingProgram(Bin() / "composer", Record("composer"));
    env_.Set("VOCAPOST_MAIL_COMPOSER", Bin() / "composer");
  }
  // Sends through the desktop automation (none when `automation` is
  // false), noting the message window at Display.
  void SendWatched(const QString& name, bool automation = true) {
    EmailDispatch dispatch = Dispatch([this, automation] {
      struct Watched final : MailAutomation {
        explicit Watched(EmailDispatchTest& test) : test_(test) {}
        std::unique_ptr<MailItem> CreateItem(int32_t type) override {
          return std::make_unique<WatchedItem>(real_.CreateItem(type), [this] {
            const ErrorForm1* form = test_.messages_.error_form();
            test_.at_display_ << test_.Shown()
                              << (form ? form->windowTitle() : QString());
          });
        }
        EmailDispatchTest& test_;
        DesktopMailAutomation real_{QDBusConnection("vocapost-no-bus")};
      };
      return automation ? std::make_unique<Watched>(*this) : nullptr;
    });
    SendFileByEmail(dispatch, name);
  }
  QStringList at_display_;  // the note and its title, at each Display
};

TEST_F(EmailDispatchTest, OutlookHandsTheHomeFileAndTheNoticeToTheComposer) {
  temp_.WriteFile("voca-MSG.exe", "package");
  SendWatched("voca-MSG.exe");
  EXPECT_EQ(at_display_,
            QStringList({"Launching Outlook with Vocapost Audio/Video file "
                         "attached...\r\n\r\nPlease wait until special "
                         "Vocapost text message is added for your recipient.",
                         "Vocapost Message"}));
  EXPECT_EQ(title_, "Vocapost Message");
  EXPECT_EQ(messages_.error_form(), nullptr) << "gone once the mail is shown";
  EXPECT_EQ(RecordedArguments(Record("composer")),
            QStringList({"--attach", HomeFile("voca-MSG.exe"), "--body",
                         ExpectedBody()}));
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(EmailDispatchTest, AFailingStepLeavesItsMessageAndDisplaysNothing) {
  struct Case {
    const char* what;
    bool file_there;
    const char* composer;  // null: the recording composer
    bool automation;
  };
  const Case cases[] = {
      {"file missing", false, nullptr, true},
      {"composer cannot start", true, "/no/such/composer", true},
      {"no automation object", true, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.composer) env_.Set("VOCAPOST_MAIL_COMPOSER", QByteArray(c.composer));
    if (c.file_there) temp_.WriteFile("f.vrc", "message");
    at_display_.clear();
    SendWatched("f.vrc", c.automation);
    EXPECT_EQ(Shown(),
              "This feature is available if you have Outlook installed.");
    EXPECT_EQ(at_display_.size(), c.file_there && c.automation ? 2 : 0);
    messages_.UnloadErrorForm();
  }
  EXPECT_FALSE(RecordedArguments(Record("composer"), 200))
      << "nothing reached the composer";
}

TEST_F(EmailDispatchTest, AnyOtherSettingIsACommandLineRunFromTheHome) {
  // The setting is compared with its case: this is not the automation.
  WriteRecordingProgram(temp_.home() / "outlook", Record("outlook"));
  setting_ = "outlook --compose";
  Send("any.vrc");
  EXPECT_EQ(RecordedArguments(Record("outlook")), QStringList{"--compose"});
  EXPECT_EQ(Shown(), "");
  setting_ = "no-such-mail-program";
  Send("any.vrc");
  EXPECT_EQ(Shown(),
            "There was a problem launching the E-mail Program which you "
            "have specified in Vocapost Properties.");
  EXPECT_TRUE(presenter_.messages.empty());
}

}  // namespace
}  // namespace vocapost
