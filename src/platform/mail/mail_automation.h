#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace vocapost {

// How the displayed mail ended up.
enum class DisplayResult {
  kDisplayed,     // a new mail is open with the file attached
  kAttachByHand,  // a new mail is open; the user attaches the file
  kFailed,        // no mail program could be reached
};

class MailAttachments {
 public:
  virtual ~MailAttachments() = default;
  // `type` 1 attaches by value; `position` is where in the body it goes.
  virtual bool Add(const QString& path, int32_t type, int16_t position) = 0;
};

// One new mail, filled in and then shown to the user to address and send.
class MailItem {
 public:
  virtual ~MailItem() = default;
  virtual bool SetBody(const QString& body) = 0;
  // Null when the attachments cannot be reached.
  virtual MailAttachments* Attachments() = 0;
  // Opens the mail window and returns without waiting for the user.
  virtual DisplayResult Display() = 0;
};

// The mail automation object; item type 0 is a mail.
class MailAutomation {
 public:
  virtual ~MailAutomation() = default;
  // Null when no such item can be made.
  virtual std::unique_ptr<MailItem> CreateItem(int32_t type) = 0;
};

// Creates a fresh automation object for one send; null when there is none.
using MailAutomationFactory = std::function<std::unique_ptr<MailAutomation>()>;

}  // namespace vocapost
