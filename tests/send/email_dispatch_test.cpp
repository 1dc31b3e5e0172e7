// Sending a file: the progress note, the mail handed over, and the failures.
#include "send/email_dispatch.h"

#include <gtest/gtest.h>

#include "send/send_fixture.h"

namespace vocapost {
namespace {

using testing::RecordedArguments;
using testing::WriteRecordingProgram;

// Notes what the message window showed when the mail was displayed.
class WatchedAutomation final : public MailAutomation, public MailItem {
 public:
  WatchedAutomation(std::unique_ptr<MailAutomation> real,
                    std::function<void()> at_display)
      : real_(std::move(real)), at_display_(std::move(at_display)) {}
  std::unique_ptr<MailItem> CreateItem(int32_t type) override {
    item_ = real_->CreateItem(type);
    if (!item_) return nullptr;
    return std::unique_ptr<MailItem>(new Forward(*this));
  }
  bool SetBody(const QString& body) override { return item_->SetBody(body); }
  MailAttachments* Attachments() override { return item_->Attachments(); }
  DisplayResult Display() override {
    at_display_();
    return item_->Display();
  }

 private:
  struct Forward final : MailItem {
    explicit Forward(WatchedAutomation& to) : to_(to) {}
    bool SetBody(const QString& body) override { return to_.SetBody(body); }
    MailAttachments* Attachments() override { return to_.Attachments(); }
    DisplayResult Display() override { return to_.Display(); }
    WatchedAutomation& to_;
  };
  std::unique_ptr<MailAutomation> real_;
  std::unique_ptr<MailItem> item_;
  std::function<void()> at_display_;
};

class EmailDispatchTest : public testing::SendTest {
 protected:
  void UseRecordingComposer() {
    WriteRecordingProgram(Bin() / "composer", Record("composer"));
    env_.Set("VOCAPOST_MAIL_COMPOSER", Bin() / "composer");
  }
  // Sends through the desktop automation, noting the message window at
  // Display.
  void SendWatched(const QString& name) {
    EmailDispatch dispatch = Dispatch([this] {
      return std::make_unique<WatchedAutomation>(
          std::make_unique<DesktopMailAutomation>(
              QDBusConnection("vocapost-no-bus")),
          [this] {
            ++displays_;
            shown_at_display_ = Shown();
            title_at_display_ = messages_.error_form()
                                    ? messages_.error_form()->windowTitle()
                                    : QString();
          });
    });
    SendFileByEmail(dispatch, name);
  }
  int displays_ = 0;
  QString shown_at_display_;
  QString title_at_display_;
};

TEST_F(EmailDispatchTest, OutlookHandsTheHomeFileAndTheNoticeToTheComposer) {
  UseRecordingComposer();
  temp_.WriteFile("voca-MSG.exe", "package");
  SendWatched("voca-MSG.exe");

  EXPECT_EQ(displays_, 1);
  EXPECT_EQ(shown_at_display_,
            "Launching Outlook with Vocapost Audio/Video file attached..."
            "\r\n\r\n"
            "Please wait until special Vocapost text message is added for "
            "your recipient.");
  EXPECT_EQ(title_at_display_, "Vocapost Message");
  EXPECT_EQ(title_, "Vocapost Message");
  EXPECT_EQ(messages_.error_form(), nullptr) << "gone once the mail is shown";
  const auto arguments = RecordedArguments(Record("composer"));
  ASSERT_TRUE(arguments);
  EXPECT_EQ(*arguments, QStringList({"--attach", HomeFile("voca-MSG.exe"),
                                     "--body", ExpectedBody()}));
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(EmailDispatchTest, TheNoticeBodyUsesLoneCarriageReturns) {
  for (int line = 1; line <= 5; ++line) texts_[line] = QString::number(line);
  EXPECT_EQ(NoticeBody(texts_), "\r\r1\r2\r3\r4\r5\r\r");
  EXPECT_EQ(WithLineFeeds("\r\ra\r\nb\r\r"), "\n\na\nb\n\n");
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
    UseRecordingComposer();
    if (c.composer) env_.Set("VOCAPOST_MAIL_COMPOSER", QByteArray(c.composer));
    const std::string name = std::string("f") + (c.file_there ? "1" : "0");
    if (c.file_there) temp_.WriteFile(name + ".vrc", "message");
    displays_ = 0;
    if (c.automation) {
      SendWatched(QString::fromStdString(name + ".vrc"));
    } else {
      EmailDispatch dispatch = Dispatch([] { return nullptr; });
      SendFileByEmail(dispatch, QString::fromStdString(name + ".vrc"));
    }
    EXPECT_EQ(Shown(),
              "This feature is available if you have Outlook "
              "installed.");
    EXPECT_EQ(displays_, c.file_there && c.automation ? 1 : 0);
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
