#pragma once

#include "message/message_package.h"
#include "messages/message_operations.h"

namespace vocapost {

// Package building tells the user through the message window, titled by the
// program's message title; the window that lists packages adds ShowPackage.
class PackageMessages : public PackageUi {
 public:
  PackageMessages(MessageOperations& messages, QString& message_title)
      : messages_(messages), message_title_(message_title) {}

  void ShowPackageMessage(const QString& text) override {
    messages_.ShowMessageForm(text, 0, message_title_);
  }

 private:
  MessageOperations& messages_;
  QString& message_title_;
};

}  // namespace vocapost
