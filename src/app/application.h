#pragma once

#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/app_state.h"
#include "audio/audio_engine.h"
#include "messages/form_messages.h"
#include "messages/message_form.h"
#include "platform/capture/capture_window.h"
#include "platform/clock/clock.h"
#include "platform/codec/codec_manager.h"
#include "platform/desktop/accessible_desktop.h"
#include "platform/desktop/desktop_windows.h"
#include "platform/disk/free_space.h"
#include "platform/display/display_info.h"
#include "platform/message_box/message_presenter.h"
#include "platform/message_log/message_log.h"
#include "platform/process/program_end.h"
#include "platform/process/program_start.h"
#include "platform/registry/registry_store.h"
#include "platform/settings/settings_store.h"
#include "platform/wave/wave_library.h"
#include "platform/window_registry/window_registry.h"
#include "player/player_engine.h"
#include "player/player_window.h"
#include "record/recording_cycle.h"
#include "send/email_dispatch.h"
#include "video/video_engine.h"

namespace vocapost {

class AboutForm;
class HelpViewer;
class MKERForm1;
class Viewer;

// The platform layers one program runs on: real ones in main(), fakes in tests.
struct Services {
  SettingsStore& settings;
  Clock& clock;
  DisplayInfo& display;
  MessagePresenter& presenter;
  WindowRegistry& registry;
  ProgramEnd& ender;
  WaveLibrary& wave;
  RegistryStore& registry_store;
  CaptureDriver& capture_driver;
  FreeSpace& free_space;
  WallClock& wall_clock;
  const MessageLog* log = nullptr;
  ProgramStarter* starter = nullptr;  // null: start programs for real
  // Null: the real desktop and its accessibility tree; a given desktop comes
  // with the accessibility tree given beside it, if any.
  DesktopWindows* desktop = nullptr;
  AccessibleDesktop* accessibility = nullptr;
};

struct StartOptions {
  std::filesystem::path home;
  std::filesystem::path shipped_data;
  QString command_line;               // as given, untrimmed
  QString program_name = "vocapost";  // the executable's file name
};

enum class StartResult { kRunning, kEnded };

inline const QString kViewerCaption = "Vocapost ";

// Makes the procedure that takes the window messages sent to MessageForm,
// given the one it replaces (for the messages it does not handle).
using ProcedureFactory =
    std::function<WindowProcedure(WindowProcedure previous)>;

// One running Vocapost: its state, its message operations and its windows.
class Application : public PlayerWindow {
 public:
  explicit Application(Services services);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the Viewer window and runs its load, the start-up sequence.
  // kEnded: the launch was refused and the program must end now, with
  // exit_code(), running no unload.
  StartResult Start(const StartOptions& options);

  AppState& state() { return state_; }
  Services& services() { return services_; }
  ProgramStarter& starter() { return *services_.starter; }
  FormMessages& messages() { return messages_; }
  AudioEngine& audio() { return audio_; }
  VideoEngine& video() { return video_; }
  WidgetCaptureService& capture() { return capture_; }
  CodecManager& codecs() { return codecs_; }
  RecordingCycle& recording() { return recording_; }
  PlayerEngine& player() { return player_; }

  // What playback asks of the windows.
  void ClearPackageList() override;
  QString CurrentRecordingName() const override;
  void PressSizeButton(int button) override;
  void DisableForActivity() override;
  void EnableAfterActivity() override;
  void ShowAudioOnlyPicture() override;
  void ShowViewer(int offset_twips) override;
  void HideViewer() override;
  void ShowRecorder() override;
  void PressExit() override;
  const StartOptions& options() const { return options_; }
  int exit_code() const { return exit_code_; }

  // Windows; null while not loaded.
  Viewer* viewer() const;
  MKERForm1* recorder() const;
  MessageForm* message_form() const { return message_form_.get(); }
  AboutForm* about_form() const;

  HelpViewer* help_viewer() const;

  // The help service: shows the help file's contents (whatever the topic)
  // in the help window, which it opens first if need be.
  void ShowHelp(int16_t& topic);
  // The quit request: closes the help window, if open.
  void QuitHelp();

  MessageForm& LoadMessageForm();
  MKERForm1& LoadRecorder();
  void UnloadRecorder();
  AboutForm& LoadAboutForm();

  // What sending a file by e-mail works with: this program's setting, texts
  // and messages, and the desktop's mail programs.
  EmailDispatch MailDispatch();
  // After a file was dragged out of a list: the notice into the mail.
  void InsertRecipientNotice();

  // Running copies of the program, this one included once its Viewer exists.
  int CountRunningCopies() const;

  // Replaces MessageForm's procedure, keeping the old one for RestoreProcedure.
  void ReplaceMessageProcedure();
  void RestoreMessageProcedure();
  void SetProcedureFactory(ProcedureFactory factory) {
    procedure_factory_ = std::move(factory);
  }

  // The Recorder's local video picture, where the capture window lives.
  QWidget* CapturePicture() const;

  // Ends the program now; the caller has run whatever had to run before.
  void EndProgram(int code);
  // Ending "at once" during start-up: nothing more runs.
  StartResult EndAtOnce(int code);

 private:
  Services services_;
  DetachedProgramStarter detached_starter_;
  AppState state_;
  FormMessages messages_;
  AudioEngine audio_;
  CodecManager codecs_;
  WidgetCaptureService capture_;
  VideoEngine video_;
  RecordingCycle recording_;
  PlayerEngine player_;
  StartOptions options_;
  std::unique_ptr<MessageForm> message_form_;
  QPointer<Viewer> viewer_;
  QPointer<MKERForm1> recorder_;
  QPointer<AboutForm> about_form_;
  std::unique_ptr<DesktopWindows> real_desktop_;
  std::unique_ptr<AccessibleDesktop> real_accessibility_;
  QPointer<HelpViewer> help_viewer_;
  WindowProcedure saved_procedure_;
  ProcedureFactory procedure_factory_;
  int exit_code_ = 0;
};

}  // namespace vocapost
