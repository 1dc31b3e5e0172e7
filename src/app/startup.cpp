#include "app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <limits>

#include "app/display_check.h"
#include "app/extra_texts.h"
#include "app/launch_selection.h"
#include "app/markers.h"
#include "messages/about_form.h"
#include "messages/localise_form.h"
#include "platform/home/program_home.h"
#include "platform/units/units.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {
namespace {

constexpr double kAnswerSeconds = 10.0;
constexpr double kLeaveSeconds = 5.0;

}  // namespace

Startup::Startup(Application& app) : app_(app), state_(app.state()) {}

StartResult Startup::Run() {
  if (!PrepareEnvironment()) return app_.EndAtOnce(1);
  if (OtherCopyIsBusy()) return app_.EndAtOnce(0);
  ClearStaleMarkers();
  if (!ChooseLaunch()) return app_.EndAtOnce(1);
  if (!SettleWithRunningCopy()) return app_.EndAtOnce(end_code_);
  SetStartupValues();
  LoadRecorderAndFinish();
  EndLaunchThatCannotPlay();
  return StartResult::kRunning;
}

void Startup::ClearStaleMarkers() {
  // A copy that runs may have begun recording or playing since we looked:
  // its busy marker is only stale once no other copy runs.
  if (app_.CountRunningCopies() == 1) DeleteMarker(kBusyMarker);
  for (const QString& marker :
       {kEndRequestMarker, kEndingAnswerMarker, kShowRequestMarker}) {
    DeleteMarker(marker);
  }
}

bool Startup::PrepareEnvironment() {
  const StartOptions& options = app_.options();
  const HomeResult home =
      PrepareProgramHome(options.home, options.shipped_data);
  if (!home.ok) {
    app_.messages().ShowMessage(home.error, 0, state_.messages.message_title);
    return false;
  }
  state_.settings = ReadSettings(app_.services().settings);
  state_.messages.language_extension =
      ChooseLanguageExtension(std::filesystem::current_path());
  if (DisplayHasEnoughColours(app_.services().display)) return true;
  // Such a display may not paint the box at all: say it on the terminal too.
  const QString text = DisplayMessageText(SystemDirectory());
  std::fprintf(stderr, "vocapost: %s\n", qPrintable(text));
  // The Viewer's title is not set yet; the message operation fills it in.
  app_.messages().ShowMessage(text, 0, state_.messages.viewer_message_title);
  return false;
}

bool Startup::OtherCopyIsBusy() {
  return app_.CountRunningCopies() > 1 && MarkerExists(kBusyMarker);
}

bool Startup::ChooseLaunch() {
  LaunchState& launch = state_.launch;
  ReadCommandLine(app_.options().command_line, launch, app_.messages(),
                  app_.services().clock);
  launch.exit_on_request = 0;
  launch.play_file_name.clear();
  launch.play_file_taken = 0;
  const QString temp_dir = QDir::current().filePath("temp");
  return SelectPlayFile(launch, app_.messages(), temp_dir) ==
         Selection::kContinue;
}

bool Startup::SettleWithRunningCopy() {
  LaunchState& launch = state_.launch;
  launch.return_to_recorder = 0;
  if (app_.CountRunningCopies() > 1) {
    if (launch.play_file_name.isEmpty()) {
      WriteMarker(kShowRequestMarker);
      end_code_ = 0;  // the running copy takes over: not a failure
      return false;
    }
    if (!IsPackageLaunch(launch.command_line) &&
        !MarkerExists(kStoppingMarker)) {
      launch.return_to_recorder = 1;
    }
  }
  if (app_.CountRunningCopies() < 2 || launch.play_file_name.isEmpty())
    return true;

  QString title = kDefaultMessageTitle;
  app_.messages().ShowMessageForm("Loading...", 0, title);
  WriteMarker(kEndRequestMarker);
  Clock& clock = app_.services().clock;
  // A copy that was ending already, or crashed, goes without answering.
  WaitWithEvents(clock, kAnswerSeconds, [this] {
    return MarkerExists(kEndingAnswerMarker) || app_.CountRunningCopies() == 1;
  });
  DeleteMarker(kEndingAnswerMarker);
  if (WaitWithEvents(clock, kLeaveSeconds,
                     [this] { return app_.CountRunningCopies() == 1; })) {
    // Unread, our own request would end this copy at its first tick.
    DeleteMarker(kEndRequestMarker);
    return true;
  }
  app_.messages().ShowMessage("Please launch again.", 0, title);
  DeleteMarker(kBusyMarker);
  end_code_ = 1;
  return false;
}

void Startup::SetStartupValues() {
  StartupValues& values = state_.values;
  LaunchState& launch = state_.launch;
  values.codec_ratio = 25;
  values.display_width = values.chosen_width = 160;
  values.display_height = values.chosen_height = 120;

  MessageForm& message_form = app_.LoadMessageForm();
  message_form.hide();
  app_.ReplaceMessageProcedure();
  if (app_.CountRunningCopies() == 1 && app_.options().command_line.isEmpty()) {
    message_form.show();
    launch.message_form_shown = true;
  }

  Viewer& viewer = *app_.viewer();
  viewer.hide();
  viewer.GiveImageButtonsTheirLooks();

  values.force_key_frame = 0;
  values.viewer_offset = 240;
  values.recorder_height = 6555;
  values.recorder_width = 2760;
  state_.maximum_message_size =
      MaximumMessageSize(state_.settings.record_to_memory);
  values.picture_top = 195;
  values.product_name = kProductName;
  values.about_text =
      "Audio and video mail\n"
      "by the Vocapost team.";
  state_.messages.viewer_message_title = kDefaultMessageTitle;

  app_.LoadAboutForm().resize(TwipsToPixels(2430), app_.about_form()->height());

  values.achieved_rate = 0;
  values.recorded_size = 0;
  values.recording_start_time = 0;
  values.smallest_viewer_width = 1350;
  launch.exit_enabled = 1;
  viewer.Command6()->setEnabled(true);
  values.data_rate_budget = 2400.0f;
  viewer.Label1()->setText("1.0");
  viewer.Timer1()->start(50);
}

void Startup::LoadRecorderAndFinish() {
  LaunchState& launch = state_.launch;
  QCoreApplication::processEvents();
  MKERForm1& recorder = app_.LoadRecorder();
  WaitWithEvents(app_.services().clock, std::numeric_limits<double>::infinity(),
                 [&launch] { return launch.recorder_loaded != 0; });
  if (launch.play_file_name.isEmpty()) recorder.show();
  if (launch.started_from_setup == 1) {
    launch.started_from_setup = 0;
    app_.messages().UnloadErrorForm();
  }
  if (launch.message_form_shown) app_.message_form()->hide();

  FillStartupExtraTexts(state_.extra_texts);
  state_.extra_text_count = kStartupExtraTextCount;
  LocaliseForm(*app_.viewer(), state_.extra_texts, state_.extra_text_count,
               state_.messages.language_extension);

  if (launch.play_file_name.isEmpty()) recorder.Command8()->Press();
  launch.viewer_ready = 1;
  if (!launch.play_file_name.isEmpty()) {
    app_.player().OpenMessageForPlay(launch.play_file_name);
    recorder.Command4()->Press();
  }
  app_.viewer()->CopyTooltipsToImageButtons();
}

void Startup::EndLaunchThatCannotPlay() {
  const LaunchState& launch = state_.launch;
  if (launch.play_file_name.isEmpty() || state_.activity.is_playing == 1)
    return;
  // Play's hint speaks of its button; a launch tells what it could not play
  // and then goes as after its playback, so no hidden copy stays busy.
  app_.messages().UnloadErrorForm();
  DeleteMarker(kBusyMarker);
  QString title = kWarning;
  app_.messages().ShowMessage(CannotPlayLaunchText(launch.play_file_name), 0,
                              title);
  app_.player().LeaveLaunchPlayback();
}

}  // namespace vocapost
