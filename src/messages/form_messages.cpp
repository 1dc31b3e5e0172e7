#include "messages/form_messages.h"

#include <QGuiApplication>

#include "messages/language_file.h"
#include "messages/pause.h"
#include "platform/display/screen_placement.h"
#include "platform/units/units.h"

namespace vocapost {

FormMessages::FormMessages(const QString& language_extension,
                           MessagePresenter& presenter, const MessageLog* log,
                           Clock& clock)
    : language_extension_(language_extension),
      presenter_(presenter),
      log_(log),
      clock_(clock) {}

FormMessages::~FormMessages() { delete error_form_.data(); }

FormMessages::Shown FormMessages::Prepare(const QString& text,
                                          QString& title) const {
  if (title.isEmpty()) title = kDefaultMessageTitle;
  const Shown shown{LookUpMessageText(title, language_extension_),
                    LookUpMessageText(text, language_extension_)};
  if (log_ != nullptr) log_->Append(shown.title, shown.text);
  return shown;
}

void FormMessages::ShowMessage(const QString& text, int16_t style,
                               QString& title) {
  const Shown shown = Prepare(text, title);
  presenter_.Present({shown.title, shown.text, style});
}

void FormMessages::ShowMessageForm(const QString& text, int16_t /*style*/,
                                   QString& title) {
  const Shown shown = Prepare(text, title);
  if (error_form_ == nullptr) {
    error_form_ = new ErrorForm1(language_extension_);
    QObject::connect(error_form_, &ErrorForm1::UnloadRequested, error_form_,
                     [this] { UnloadErrorForm(); });
  }
  error_form_->setWindowTitle(shown.title);
  error_form_->Label1()->setText(shown.text);
  // Moved while the window manager is still framing it, a window gets its
  // client area at the spot and its title bar above, off the screen. So a new
  // window is placed before it is shown, and again after only once its frame
  // is known.
  const bool was_shown = error_form_->isVisible();
  if (!was_shown) PlaceErrorForm();
  const int unframed_width = error_form_->frameGeometry().width();
  error_form_->show();
  if (was_shown || error_form_->frameGeometry().width() != unframed_width)
    PlaceErrorForm();
  // Shown again or not, the message comes to the front: it must not stay
  // hidden behind the window it is about.
  error_form_->raise();
  error_form_->activateWindow();
}

void FormMessages::PlaceErrorForm() {
  const int width = PixelsToTwips(error_form_->frameGeometry().width());
  error_form_->move(CentredOnScreen(width, 0).x(),
                    ScreenArea().y() + TwipsToPixels(60));
}

void FormMessages::UnloadErrorForm() {
  ErrorForm1* form = error_form_;
  if (form == nullptr) return;
  error_form_ = nullptr;  // the next message creates a fresh window
  form->hide();
  // Deferred: the unload may come from one of the form's own handlers.
  form->deleteLater();
}

int16_t FormMessages::PauseWithEvents(float seconds, const QString& /*note*/) {
  return vocapost::PauseWithEvents(clock_, seconds);
}

}  // namespace vocapost
