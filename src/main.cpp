#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <optional>

#include "app/application.h"
#include "app/launch_selection.h"
#include "app/standard_options.h"
#include "platform/capture/capture_window.h"
#include "platform/clock/clock.h"
#include "platform/display/screen_display_info.h"
#include "platform/environment/environment.h"
#include "platform/home/program_home.h"
#include "platform/message_box/qt_message_presenter.h"
#include "platform/message_log/message_log.h"
#include "platform/process/program_end.h"
#include "platform/registry/registry_store.h"
#include "platform/settings/settings_store.h"
#include "platform/wave/device_wave_library.h"
#include "platform/window_log/window_log.h"
#include "platform/window_registry/window_registry.h"

namespace {

constexpr char kHelp[] =
    "Usage: vocapost [FILE.vrc]\n"
    "Records, plays and sends short audio/video messages.\n"
    "\n"
    "Without a file Vocapost opens its Recorder window. With a message file "
    "it\n"
    "plays the message and ends; a running Vocapost hands over to the new "
    "one.\n"
    "\n"
    "  --help     show this help and end\n"
    "  --version  show the version and end\n"
    "\n"
    "Messages and Vocapost's files are kept in $VOCAPOST_HOME, else in\n"
    "$XDG_DATA_HOME/vocapost (~/.local/share/vocapost). Devices are chosen by\n"
    "VOCAPOST_CAPTURE (v4l2, test-pattern, none), VOCAPOST_AUDIO (portaudio,\n"
    "test-tone, wav:IN.wav, none) and VOCAPOST_AUDIO_OUT (portaudio,\n"
    "wav:OUT.wav, discard). See vocapost(1).\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that no display is needed.
  if (vocapost::AnswerStandardOption(argc, argv, "vocapost", kHelp)) return 0;
  QApplication qt(argc, argv);
  QApplication::setApplicationName("vocapost");
  // Ties the windows to the installed menu entry and its icon.
  QApplication::setDesktopFileName("org.vocapost.Vocapost");
  // The theme search reads every icon folder's index: done once the first
  // window is up, which a window manager takes as a change of icon.
  QTimer::singleShot(0, [] {
    QApplication::setWindowIcon(QIcon::fromTheme("org.vocapost.Vocapost"));
  });
  // The program ends through its Viewer window, which stays hidden.
  QApplication::setQuitOnLastWindowClosed(false);

  const vocapost::Environment environment = vocapost::ReadEnvironment();
  std::optional<vocapost::MessageLog> log;
  if (!environment.message_log.isEmpty()) log.emplace(environment.message_log);
  std::optional<vocapost::WindowLog> window_log;
  if (!environment.window_log.isEmpty()) {
    window_log.emplace(environment.window_log);
    qt.installEventFilter(&*window_log);
  }

  vocapost::IniSettingsStore settings(vocapost::DefaultConfigDir());
  vocapost::SteadyClock clock;
  vocapost::ScreenDisplayInfo display;
  vocapost::QtMessagePresenter presenter(environment.autoclose_messages);
  const std::filesystem::path home = vocapost::ResolveProgramHome();
  vocapost::WindowRegistry registry(
      vocapost::HomeRegistryDir(vocapost::DefaultRegistryDir(), home));
  vocapost::ProcessEnd ender;
  vocapost::DeviceWaveLibrary wave(
      vocapost::MakeAudioInput(environment.audio_in),
      vocapost::MakeAudioOutput(environment.audio_out));
  vocapost::IniRegistryStore registry_store(vocapost::DefaultConfigDir());
  const std::unique_ptr<vocapost::CaptureDriver> camera =
      vocapost::MakeCaptureDriver(environment.capture);
  vocapost::DiskFreeSpace free_space;
  vocapost::SystemWallClock wall_clock;
  vocapost::Application app({settings, clock, display, presenter, registry,
                             ender, wave, registry_store, *camera, free_space,
                             wall_clock, log ? &*log : nullptr});

  const vocapost::StartOptions options{
      home, vocapost::ShippedDataDir(),
      vocapost::CommandLineFromArguments(QApplication::arguments().mid(1)),
      QFileInfo(QApplication::applicationFilePath()).fileName()};
  if (app.Start(options) == vocapost::StartResult::kEnded) {
    return app.exit_code();
  }
  return QApplication::exec();
}
