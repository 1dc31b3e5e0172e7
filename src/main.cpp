#include <QApplication>
#include <optional>

#include "app/application.h"
#include "platform/clock/clock.h"
#include "platform/display/screen_display_info.h"
#include "platform/environment/environment.h"
#include "platform/home/program_home.h"
#include "platform/message_box/qt_message_presenter.h"
#include "platform/message_log/message_log.h"
#include "platform/settings/settings_store.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName("vocapost");

  const vocapost::Environment environment = vocapost::ReadEnvironment();
  std::optional<vocapost::MessageLog> log;
  if (!environment.message_log.isEmpty()) log.emplace(environment.message_log);

  vocapost::IniSettingsStore settings(vocapost::DefaultConfigDir());
  vocapost::SteadyClock clock;
  vocapost::ScreenDisplayInfo display;
  vocapost::QtMessagePresenter presenter(environment.autoclose_messages);
  vocapost::Application app(
      {settings, clock, display, presenter, log ? &*log : nullptr});

  const vocapost::StartOptions options{
      vocapost::ResolveProgramHome(), vocapost::ShippedDataDir(),
      QApplication::arguments().mid(1).join(' ')};
  if (app.Start(options) == vocapost::StartResult::kEnded) {
    return app.exit_code();
  }
  return QApplication::exec();
}
