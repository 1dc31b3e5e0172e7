#pragma once

#include <QPointer>

#include "messages/error_form.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "platform/message_box/message_presenter.h"
#include "platform/message_log/message_log.h"

namespace vocapost {

// The message operations on real windows: a modal box through the presenter,
// and the one shared ErrorForm1, created on first use and after each unload.
class FormMessages final : public MessageOperations {
 public:
  // `language_extension` is read at every message, so a later language
  // choice applies at once. `log` may be null.
  FormMessages(const QString& language_extension, MessagePresenter& presenter,
               const MessageLog* log, Clock& clock);
  ~FormMessages() override;
  FormMessages(const FormMessages&) = delete;
  FormMessages& operator=(const FormMessages&) = delete;

  void ShowMessage(const QString& text, int16_t style, QString& title) override;
  void ShowMessageForm(const QString& text, int16_t style,
                       QString& title) override;
  void UnloadErrorForm() override;
  int16_t PauseWithEvents(float seconds, const QString& note) override;

  // The message window while it is loaded, else null.
  ErrorForm1* error_form() const { return error_form_; }

 private:
  void PlaceErrorForm();
  struct Shown {
    QString title, text;
  };
  // Both looked up; the caller's title variable keeps the English title.
  Shown Prepare(const QString& text, QString& title) const;

  const QString& language_extension_;
  MessagePresenter& presenter_;
  const MessageLog* log_;
  Clock& clock_;
  QPointer<ErrorForm1> error_form_;
};

}  // namespace vocapost
