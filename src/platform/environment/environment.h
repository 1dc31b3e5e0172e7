#pragma once

#include <QString>

namespace vocapost {

// Choices made through the environment, read once at start-up.
struct Environment {
  QString message_log;              // VOCAPOST_MESSAGE_LOG
  bool autoclose_messages = false;  // VOCAPOST_AUTOCLOSE_MESSAGES=1
  QString window_log;               // VOCAPOST_WINDOW_LOG
  QString audio_in;                 // VOCAPOST_AUDIO
  QString audio_out;                // VOCAPOST_AUDIO_OUT
  QString capture;                  // VOCAPOST_CAPTURE
};

Environment ReadEnvironment();

}  // namespace vocapost
