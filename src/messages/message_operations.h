#pragma once

#include <QString>
#include <cstdint>

#include "platform/text/user_text.h"

namespace vocapost {

inline const QString kDefaultMessageTitle = UserText("Vocapost Message");

// The program's two ways of telling the user something, and the pause that
// lets a message be read. Engines use this interface; the windows implement
// it. Titles are the caller's variables: an empty one is set to
// "Vocapost Message".
class MessageOperations {
 public:
  virtual ~MessageOperations() = default;
  // Modal: returns when the user has closed the box.
  virtual void ShowMessage(const QString& text, int16_t style,
                           QString& title) = 0;
  // Non-modal, in the one message window; returns at once.
  virtual void ShowMessageForm(const QString& text, int16_t style,
                               QString& title) = 0;
  // Closes the message window, if open.
  virtual void UnloadErrorForm() = 0;
  // Waits a little more than seconds + 1 while the event loop runs.
  virtual int16_t PauseWithEvents(float seconds, const QString& note) = 0;
};

}  // namespace vocapost
