#include "platform/environment/environment.h"

#include <QtGlobal>

namespace vocapost {

Environment ReadEnvironment() {
  Environment environment;
  environment.message_log = qEnvironmentVariable("VOCAPOST_MESSAGE_LOG");
  environment.autoclose_messages =
      qEnvironmentVariable("VOCAPOST_AUTOCLOSE_MESSAGES") == "1";
  environment.window_log = qEnvironmentVariable("VOCAPOST_WINDOW_LOG");
  environment.audio_in = qEnvironmentVariable("VOCAPOST_AUDIO");
  environment.audio_out = qEnvironmentVariable("VOCAPOST_AUDIO_OUT");
  environment.capture = qEnvironmentVariable("VOCAPOST_CAPTURE");
  return environment;
}

}  // namespace vocapost
