#include "messages/error_form.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "messages/localise_form.h"
#include "platform/units/units.h"

namespace vocapost {

ErrorForm1::ErrorForm1(const QString& language_extension)
    : QWidget(nullptr,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      label1_(new QLabel(this)),
      command1_(new QPushButton("&OK", this)) {
  setObjectName("ErrorForm1");
  // Closing a message is not closing the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  label1_->setObjectName("Label1");
  label1_->setWordWrap(true);
  label1_->setTextFormat(Qt::PlainText);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  command1_->setObjectName("Command1");
  // Enter presses OK, as in a message box.
  command1_->setDefault(true);
  command1_->setAutoDefault(true);
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  Form_Load(language_extension);
}

void ErrorForm1::Form_Load(const QString& language_extension) {
  setGeometry(TwipsToPixels(1290), TwipsToPixels(330), TwipsToPixels(3530),
              TwipsToPixels(2235));
  label1_->setGeometry(TwipsToPixels(120), TwipsToPixels(120),
                       TwipsToPixels(3250), TwipsToPixels(1335));
  command1_->setGeometry(TwipsToPixels(1455), TwipsToPixels(1575),
                         TwipsToPixels(615), TwipsToPixels(375));
  ExtraTexts no_texts;
  LocaliseForm(*this, no_texts, 0, language_extension);
}

void ErrorForm1::Command1_Click() { emit UnloadRequested(); }

void ErrorForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  raise();  // a message must not hide behind the window it is about
}

void ErrorForm1::keyPressEvent(QKeyEvent* event) {
  // Outside a dialog the default button is not pressed by Enter unless it
  // has the focus; the window passes Enter on to it.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    command1_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ErrorForm1::closeEvent(QCloseEvent* event) {
  event->accept();
  emit UnloadRequested();
}

}  // namespace vocapost
