#include "app/application.h"

#include <QGuiApplication>

#include "messages/about_form.h"
#include "messages/help_viewer.h"
#include "platform/desktop/atspi_desktop.h"
#include "platform/desktop/x11_desktop_windows.h"
#include "platform/display/screen_placement.h"
#include "platform/mail/desktop_mail_automation.h"
#include "platform/units/units.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "send/mail_text_insertion.h"

namespace vocapost {

Application::Application(Services services)
    : services_(services),
      messages_(state_.messages.language_extension, services.presenter,
                services.log, services.clock),
      audio_(services.wave, state_, messages_, services.clock),
      codecs_(services.registry_store),
      capture_(services.capture_driver,
               [this]() -> QWidget* { return CapturePicture(); }),
      video_(state_, codecs_, capture_, services.registry_store, messages_,
             services.clock),
      recording_(state_,
                 {audio_, video_, services.wave, services.free_space,
                  services.wall_clock},
                 messages_, services.clock),
      player_(state_, audio_, video_, messages_, services.clock),
      procedure_factory_([this](WindowProcedure previous) {
        return audio_.MakeWaveProcedure(std::move(previous));
      }) {
  if (services_.starter == nullptr) services_.starter = &detached_starter_;
}

Application::~Application() {
  // Devices may still be posting to MessageForm, which goes away with us.
  services_.wave.Detach();
  delete recorder_.data();
  delete about_form_.data();
  delete help_viewer_.data();
  delete viewer_.data();
}

Viewer* Application::viewer() const { return viewer_; }
MKERForm1* Application::recorder() const { return recorder_; }
AboutForm* Application::about_form() const { return about_form_; }
HelpViewer* Application::help_viewer() const { return help_viewer_; }

void Application::ShowHelp(int16_t& /*topic*/) {
  if (help_viewer_ == nullptr)
    help_viewer_ = new HelpViewer(state_.messages.language_extension);
  help_viewer_->ShowContents(kHelpFile);
  help_viewer_->show();
  help_viewer_->raise();
  help_viewer_->activateWindow();
}

void Application::QuitHelp() {
  HelpViewer* help = help_viewer_;
  if (help == nullptr) return;
  help_viewer_ = nullptr;
  help->hide();
  help->deleteLater();
}

QWidget* Application::CapturePicture() const {
  return recorder_ != nullptr ? recorder_->Picture1() : nullptr;
}

StartResult Application::Start(const StartOptions& options) {
  options_ = options;
  viewer_ = new Viewer(*this);
  video_.SetFrameView(viewer_);
  player_.SetWindow(this);
  // From now on this copy counts as running.
  services_.registry.Publish({kViewerCaption});
  return viewer_->Form_Load();
}

MessageForm& Application::LoadMessageForm() {
  if (!message_form_) {
    message_form_ = std::make_unique<MessageForm>();
    audio_.SetMessageWindow(message_form_.get());
  }
  return *message_form_;
}

MKERForm1& Application::LoadRecorder() {
  if (recorder_ == nullptr) {
    recorder_ = new MKERForm1(*this);
    recorder_->Form_Load();
  }
  return *recorder_;
}

void Application::UnloadRecorder() {
  MKERForm1* recorder = recorder_;
  if (recorder == nullptr) return;
  recorder_ = nullptr;
  recording_.SetWindow(nullptr);
  audio_.SetRecorderWindow(nullptr);
  recorder->Form_Unload();
  recorder->hide();
  recorder->deleteLater();  // the unload may come from its own handler
}

AboutForm& Application::LoadAboutForm() {
  if (about_form_ == nullptr) about_form_ = new AboutForm(*this);
  return *about_form_;
}

int Application::CountRunningCopies() const {
  return services_.registry.CountWindowsTitled(kViewerCaption);
}

void Application::ReplaceMessageProcedure() {
  MessageForm& form = LoadMessageForm();
  saved_procedure_ = form.InstallProcedure(nullptr);
  form.InstallProcedure(procedure_factory_(saved_procedure_));
}

void Application::RestoreMessageProcedure() {
  if (message_form_ && saved_procedure_) {
    message_form_->InstallProcedure(saved_procedure_);
  }
}

void Application::EndProgram(int code) {
  exit_code_ = code;
  services_.ender.EndProgram(code);
}

StartResult Application::EndAtOnce(int code) {
  exit_code_ = code;
  return StartResult::kEnded;
}

EmailDispatch Application::MailDispatch() {
  return {state_.settings.use_email_client,
          state_.extra_texts,
          state_.messages.message_title,
          messages_,
          options_.home,
          [] { return std::make_unique<DesktopMailAutomation>(); }};
}

void Application::InsertRecipientNotice() {
  if (services_.desktop == nullptr) {
    real_desktop_ = MakeDesktopWindows();
    real_accessibility_ = std::make_unique<AtspiDesktop>();
    services_.desktop = real_desktop_.get();
    services_.accessibility = real_accessibility_.get();
  }
  MailTextInsertion insertion{*services_.desktop, services_.accessibility,
                              services_.clock, state_.extra_texts,
                              state_.mail_search};
  vocapost::InsertRecipientNotice(insertion);
}

void Application::ClearPackageList() {
  if (recorder_ != nullptr) recorder_->ClearPackageList();
}

QString Application::CurrentRecordingName() const {
  return recorder_ != nullptr ? recorder_->Label(9)->text() : QString();
}

void Application::PressSizeButton(int button) {
  if (recorder_ != nullptr) recorder_->Command(button)->Press();
}

void Application::DisableForActivity() {
  if (recorder_ != nullptr) recorder_->DisableForActivity();
}

void Application::EnableAfterActivity() {
  if (recorder_ != nullptr) recorder_->EnableAfterActivity();
}

void Application::ShowAudioOnlyPicture() {
  if (viewer_ != nullptr)
    viewer_->Picture2()->setPixmap(QPixmap("firsview.bmp"));
}

void Application::ShowViewer(int offset_twips) {
  if (viewer_ != nullptr) viewer_->ShowForPlayback(offset_twips);
}

void Application::HideViewer() {
  if (viewer_ != nullptr) viewer_->hide();
}

void Application::ShowRecorder() {
  if (recorder_ != nullptr) recorder_->show();
}

void Application::PressExit() {
  if (viewer_ != nullptr) viewer_->Command6()->Press();
}

}  // namespace vocapost
