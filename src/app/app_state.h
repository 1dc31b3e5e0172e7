#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "app/language_choice.h"
#include "app/settings.h"
#include "audio/audio_state.h"
#include "record/recording_session.h"
#include "send/mail_search_state.h"

namespace vocapost {

struct MessageState {
  QString language_extension = kDefaultLanguageExtension;
  QString message_title;         // set to "Vocapost Message" by its first use
  QString viewer_message_title;  // set by start-up
};

// What this launch is for and how far the copy has come; flags hold 0 or 1.
struct LaunchState {
  QString command_line;  // trimmed; emptied for "FROMSET"
  QString play_file_name;
  int16_t play_file_taken = 0;
  QString selected_play_file;
  int16_t return_to_recorder = 0;
  int16_t started_from_setup = 0;
  int16_t exit_on_request = 0;
  int16_t recorder_loaded = 0;
  int16_t viewer_ready = 0;
  int16_t exit_enabled = 0;
  int16_t recorder_closing = 0;
  bool message_form_shown = false;
};

// Values start-up sets for recording, playback and the windows; lengths in
// twips unless said otherwise.
struct StartupValues {
  int16_t codec_ratio = 0;
  int16_t display_width = 0;  // pixels
  int16_t display_height = 0;
  int16_t chosen_width = 0;  // pixels
  int16_t chosen_height = 0;
  int16_t force_key_frame = 0;
  int16_t viewer_offset = 0;
  int16_t recorder_height = 0;
  int16_t recorder_width = 0;
  int16_t picture_top = 0;
  int16_t smallest_viewer_width = 0;
  float data_rate_budget = 0;  // bytes per second
  float achieved_rate = 0;
  int32_t recorded_size = 0;
  double recording_start_time = 0;
  QString product_name;
  QString about_text;
};

// Capture, codec and display; sizes in pixels, flags 0 or 1.
struct VideoState {
  int16_t video_state = 0;  // 0 no video, 1 playback only, 2 capture too
  int16_t no_capture = 0;
  int16_t capture_width = 0;
  int16_t capture_height = 0;
  int16_t grab_mode = 0;
  int16_t size_supported[3] = {};
  int16_t frames_ready = 0;
  int32_t key_frame_counter = 0;
  int32_t key_frame_limit = 0;
  int16_t compress_busy = 0;
  int16_t decode_busy = 0;
  int16_t size_change_busy = 0;
  int16_t applied_width = 0;  // the chosen size as last applied
  int16_t applied_height = 0;
  int16_t chosen_button_width = 160;  // of the size button last pressed
};

// Recording and playing exclude each other.
struct ActivityState {
  int16_t is_recording = 0;
  int16_t is_playing = 0;
  int16_t recorded_width_twips = 0;
};

// Texts handed to caption localisation with a form; entry 0 stays empty.
using ExtraTexts = std::array<QString, 21>;

// The run state of one program: owned by the Application, handed to the
// forms and engines by reference.
struct AppState {
  SettingsState settings;
  MessageState messages;
  LaunchState launch;
  StartupValues values;
  ActivityState activity;
  AudioState audio;
  VideoState video;
  RecordingSession recording;
  ExtraTexts extra_texts;
  int extra_text_count = 0;
  MailSearchState mail_search;
  int32_t maximum_message_size = 0;
};

}  // namespace vocapost
