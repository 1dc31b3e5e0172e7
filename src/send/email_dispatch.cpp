#include "send/email_dispatch.h"

#include <QCoreApplication>

#include "platform/process/program_start.h"

namespace vocapost {
namespace {

constexpr int32_t kMailItem = 0;
constexpr int32_t kAttachByValue = 1;
constexpr int16_t kFirstPosition = 1;

void Yield() { QCoreApplication::processEvents(); }

QString MailFolderFile(const EmailDispatch& dispatch, const QString& name) {
  return QString::fromStdString(
      (dispatch.mail_folder / name.toStdString()).lexically_normal().string());
}

// The progress note stays up until the mail is shown; a failure replaces it
// and stays.
void ThroughAutomation(EmailDispatch& dispatch, const QString& file_name) {
  auto fail = [&dispatch] {
    dispatch.messages.ShowMessageForm(kMailAutomationFailed, 0,
                                      dispatch.message_title);
  };
  const QString progress = dispatch.texts[11] + "\r\n\r\n" + dispatch.texts[12];
  dispatch.messages.ShowMessageForm(progress, 0, dispatch.message_title);
  Yield();
  std::unique_ptr<MailAutomation> automation =
      dispatch.create_automation ? dispatch.create_automation() : nullptr;
  if (!automation) return fail();
  std::unique_ptr<MailItem> item = automation->CreateItem(kMailItem);
  if (!item || !item->SetBody(NoticeBody(dispatch.texts))) return fail();
  Yield();
  MailAttachments* attachments = item->Attachments();
  const QString path = MailFolderFile(dispatch, file_name);
  if (!attachments || !attachments->Add(path, kAttachByValue, kFirstPosition)) {
    return fail();
  }
  Yield();
  const DisplayResult shown = item->Display();
  if (shown == DisplayResult::kFailed) return fail();
  Yield();
  dispatch.messages.UnloadErrorForm();
  if (shown == DisplayResult::kAttachByHand) {
    dispatch.messages.ShowMessageForm(
        UserText("Please attach %1 to the new mail: drag it from the list of "
                 "files into the mail.")
            .arg(path),
        0, dispatch.message_title);
  }
}

}  // namespace

QString NoticeBody(const ExtraTexts& texts) {
  QString body = "\r\r";
  for (int line = 1; line <= 5; ++line) body += texts[line] + '\r';
  return body + '\r';
}

int16_t SendFileByEmail(EmailDispatch& dispatch, const QString& file_name) {
  if (dispatch.use_email_client != kMailAutomationSetting) {
    if (!StartCommandLine(dispatch.use_email_client, dispatch.mail_folder)) {
      dispatch.messages.ShowMessageForm(kMailProgramStartFailed, 0,
                                        dispatch.message_title);
    }
    return 0;
  }
  ThroughAutomation(dispatch, file_name);
  return 0;
}

}  // namespace vocapost
