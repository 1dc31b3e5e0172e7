#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>

#include "app/extra_texts.h"
#include "messages/form_messages.h"
#include "platform/mail/desktop_mail_automation.h"
#include "send/email_dispatch.h"
#include "support/recording_program.h"
#include "support/temp_home.h"

namespace vocapost::testing {

// Sending from a fresh program home with the real message window, on a
// desktop of the test's own making: no mail program, no desktop session and
// no session bus unless the test sets them up.
class SendTest : public HomeTest {
 protected:
  SendTest() {
    FillStartupExtraTexts(texts_);
    env_.Unset("VOCAPOST_MAIL_COMPOSER");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                             "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"}) {
      env_.Unset(name);
    }
    env_.Set("XDG_DATA_DIRS", temp_.root() / "share");
    env_.Set("XDG_CONFIG_DIRS", temp_.root() / "xdg");
  }
  ~SendTest() override {
    messages_.UnloadErrorForm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Sends on `bus` (none: a bus that is not there).
  void Send(const QString& name,
            QDBusConnection bus = QDBusConnection("vocapost-no-bus")) {
    EmailDispatch dispatch = Dispatch(
        [bus] { return std::make_unique<DesktopMailAutomation>(bus); });
    SendFileByEmail(dispatch, name);
  }
  EmailDispatch Dispatch(MailAutomationFactory factory) {
    return {setting_,  texts_,       title_,
            messages_, temp_.home(), std::move(factory)};
  }
  // The text of the message window, or "" when it is closed.
  QString Shown() const {
    const ErrorForm1* form = messages_.error_form();
    return form && form->isVisible() ? form->Label1()->text() : QString();
  }
  std::filesystem::path Bin() const { return temp_.root() / "bin"; }
  std::filesystem::path Record(const std::string& name) const {
    return temp_.root() / (name + ".args");
  }
  QString HomeFile(const std::string& name) const {
    return QString::fromStdString((temp_.home() / name).string());
  }
  // The recipient notice as the mail programs get it.
  QString ExpectedBody() const {
    QString body = "\n\n";
    for (int line = 1; line <= 5; ++line) body += texts_[line] + '\n';
    return body + '\n';
  }

  EnvironmentScope env_;
  QString setting_ = "Outlook";
  ExtraTexts texts_;
  QString title_;
  QString language_ = ".ENG";
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{language_, presenter_, nullptr, clock_};
};

}  // namespace vocapost::testing
