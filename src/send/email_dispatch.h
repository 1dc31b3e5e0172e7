#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>

#include "app/app_state.h"
#include "messages/message_operations.h"
#include "platform/mail/mail_automation.h"
#include "platform/text/user_text.h"

namespace vocapost {

inline const QString kMailProgramStartFailed = UserText(
    "There was a problem launching the E-mail Program which you have "
    "specified in Vocapost Properties.");
inline const QString kMailAutomationFailed =
    UserText("This feature is available if you have Outlook installed.");
inline const QString kMailAutomationSetting = "Outlook";

// What sending needs of the program: the mail-program setting, the notice
// and progress texts (extra texts 1 to 5, 11 and 12) and the messages.
struct EmailDispatch {
  const QString& use_email_client;
  const ExtraTexts& texts;
  QString& message_title;
  MessageOperations& messages;
  std::filesystem::path mail_folder;  // the program home
  MailAutomationFactory create_automation;
};

// The recipient notice as one mail body: two carriage returns, the five
// lines each ended by one, and one more.
QString NoticeBody(const ExtraTexts& texts);

// Hands the mail folder's file of that bare name to the configured mail
// program. Always returns 0.
int16_t SendFileByEmail(EmailDispatch& dispatch, const QString& file_name);

}  // namespace vocapost
