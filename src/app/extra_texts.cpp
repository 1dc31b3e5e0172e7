#include "app/extra_texts.h"

namespace vocapost {

void FillStartupExtraTexts(ExtraTexts& texts) {
  texts[1] = "The attachment you received is a Vocapost Audio/Video message.";
  texts[2] =
      "The voca-MSG*.exe attachment self extracts and installs the Vocapost "
      "Viewer when run.";
  texts[3] =
      "The embedded Audio/Video message (*.vrc file) is then saved and "
      "played.";
  texts[4] =
      "Subsequent Vocapost messages (*.vrc files) may be played simply by "
      "opening the attachment.";
  texts[5] = "Get full Vocapost recorder package:  " + kWebSite;
  texts[6] = "&Send";
  texts[7] = "&Play";
  texts[8] = "&Delete";
  texts[9] = "&Cancel";
  texts[10] = "C&reate file /w viewer";
  texts[11] = "Launching Outlook with Vocapost Audio/Video file attached...";
  texts[12] =
      "Please wait until special Vocapost text message is added for your "
      "recipient.";
}

}  // namespace vocapost
