#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "messages/form_messages.h"
#include "messages/message_form.h"
#include "platform/clock/clock.h"
#include "platform/display/display_info.h"
#include "platform/message_box/message_presenter.h"
#include "platform/message_log/message_log.h"
#include "platform/settings/settings_store.h"

namespace vocapost {

// The platform layers one program runs on: real ones in main(), fakes in tests.
struct Services {
  SettingsStore& settings;
  Clock& clock;
  DisplayInfo& display;
  MessagePresenter& presenter;
  const MessageLog* log = nullptr;
};

struct StartOptions {
  std::filesystem::path home;
  std::filesystem::path shipped_data;
  QString command_line;  // as given, untrimmed
};

enum class StartResult { kRunning, kEnded };

// One running Vocapost: its state, its message operations and its windows.
class Application {
 public:
  explicit Application(Services services);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Prepares the program home, reads the settings, chooses the language and
  // checks the display. kEnded means the program must end now, with
  // exit_code().
  StartResult Start(const StartOptions& options);

  AppState& state() { return state_; }
  FormMessages& messages() { return messages_; }
  MessageForm* message_form() const { return message_form_.get(); }
  int exit_code() const { return exit_code_; }

 private:
  StartResult End(int code);

  Services services_;
  AppState state_;
  FormMessages messages_;
  std::unique_ptr<MessageForm> message_form_;
  int exit_code_ = 0;
};

}  // namespace vocapost
