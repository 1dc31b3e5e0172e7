#include "app/application.h"

#include <cstdio>

#include "app/display_check.h"
#include "app/language_choice.h"
#include "platform/home/program_home.h"

namespace vocapost {

Application::Application(Services services)
    : services_(services),
      messages_(state_.messages.language_extension, services.presenter,
                services.log, services.clock) {}

Application::~Application() = default;

StartResult Application::End(int code) {
  exit_code_ = code;
  return StartResult::kEnded;
}

StartResult Application::Start(const StartOptions& options) {
  const HomeResult home =
      PrepareProgramHome(options.home, options.shipped_data);
  if (!home.ok) {
    messages_.ShowMessage(home.error, 0, state_.messages.message_title);
    return End(1);
  }
  state_.settings = ReadSettings(services_.settings);
  state_.messages.language_extension =
      ChooseLanguageExtension(std::filesystem::current_path());
  if (!DisplayHasEnoughColours(services_.display)) {
    // Such a display may not paint the box at all: say it on the terminal too.
    const QString text = DisplayMessageText(SystemDirectory());
    std::fprintf(stderr, "vocapost: %s\n", qPrintable(text));
    // The Viewer's title is not set yet; the message operation fills it in.
    messages_.ShowMessage(text, 0, state_.messages.viewer_message_title);
    return End(1);
  }
  message_form_ = std::make_unique<MessageForm>();
  if (options.command_line.isEmpty()) message_form_->show();
  state_.maximum_message_size =
      MaximumMessageSize(state_.settings.record_to_memory);
  state_.messages.viewer_message_title = kDefaultMessageTitle;
  return StartResult::kRunning;
}

}  // namespace vocapost
