#pragma once

#include <QString>
#include <cstdint>

#include "app/language_choice.h"
#include "app/settings.h"

namespace vocapost {

struct MessageState {
  QString language_extension = kDefaultLanguageExtension;
  QString message_title;         // set to "Vocapost Message" by its first use
  QString viewer_message_title;  // set by start-up
};

// The run state of one program: owned by the Application, handed to the
// forms and engines by reference.
struct AppState {
  SettingsState settings;
  MessageState messages;
  int32_t maximum_message_size = 0;
};

}  // namespace vocapost
