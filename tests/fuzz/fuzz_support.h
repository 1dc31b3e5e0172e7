#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "audio/audio_engine.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "platform/codec/codec_manager.h"
#include "platform/registry/registry_store.h"
#include "platform/wave/device_wave_library.h"
#include "player/player_engine.h"
#include "video/video_engine.h"

namespace vocapost::fuzz {

// A broken promise stops the run as a memory fault would, so that libFuzzer
// reports it and keeps the input.
inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Qt's core objects and a temporary folder for the whole run: its "home" is
// the program home, "outside" a folder nothing may touch.
inline const QDir& Root() {
  static const QDir root = [] {
    static int argc = 1;
    static char name[] = "vocapost_fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);  // lives as long as the process
    static QTemporaryDir dir(QDir::tempPath() + "/vocapost-fuzz-XXXXXX");
    const QDir made(dir.path());
    Check(dir.isValid() && made.mkpath("home") && made.mkpath("outside"),
          "no temporary folder");
    qputenv("VOCAPOST_HOME", QFile::encodeName(made.filePath("home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(made.filePath("config")));
    return made;
  }();
  return root;
}

// The program works in its home; libFuzzer reads and writes the files named
// on its command line, maybe relative, between inputs.
class InHome {
 public:
  InHome() { Check(QDir::setCurrent(Root().filePath("home")), "no home"); }
  ~InHome() { QDir::setCurrent(previous_); }

 private:
  QString previous_ = QDir::currentPath();
};

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  Check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
        "cannot write a fuzz file");
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class NullMessages final : public MessageOperations {
 public:
  void ShowMessage(const QString&, int16_t, QString&) override {}
  void ShowMessageForm(const QString&, int16_t, QString&) override {}
  void UnloadErrorForm() override {}
  int16_t PauseWithEvents(float, const QString&) override { return 0; }
};

// Sound played at once on the caller's thread by Drain(), so that decoded
// samples can be looked at.
class SyncOutput final : public AudioOutput {
 public:
  bool Open() override { return true; }
  bool Start(SampleSource source) override {
    source_ = std::move(source);
    return true;
  }
  void Stop() override { source_ = nullptr; }
  std::vector<int16_t> Drain(size_t samples) {
    std::vector<int16_t> played(samples);
    if (source_ && samples > 0) source_(played.data(), samples);
    return played;
  }

 private:
  SampleSource source_;
};

class NullCapture final : public CaptureService {
 public:
  bool CreateCaptureWindow(int, int) override { return false; }
  bool DriverConnect(int) override { return false; }
  void DriverDisconnect() override {}
  void SetCallbackFrame(std::function<void(const VideoFrame&)>) override {}
  bool SetVideoFormat(const BitmapInfoHeader&) override { return false; }
  void GrabFrame() override {}
  void GrabFrameNoStop() override {}
  void DlgVideoSource() override {}
  void DlgVideoDisplay() override {}
  void SizePicture(int, int) override {}
};

// The window side: the frame-size probe's button is applied at once.
class RigWindow final : public PlayerWindow {
 public:
  explicit RigWindow(AppState& state) : state_(state) {}
  void ClearPackageList() override {}
  QString CurrentRecordingName() const override { return {}; }
  void PressSizeButton(int button) override {
    Check(button >= 6 && button <= 10, "no such size button");
    state_.video.size_change_busy = 0;
  }
  void DisableForActivity() override {}
  void EnableAfterActivity() override {}
  void ShowAudioOnlyPicture() override {}
  void ShowViewer(int) override {}
  void HideViewer() override {}
  void ShowRecorder() override {}
  void PressExit() override {}

 private:
  AppState& state_;
};

// Reads every byte of each drawn picture, so that a picture larger than the
// decoded-frame buffer shows as a read past it.
class ReadingView final : public FrameView {
 public:
  int OuterWidthTwips() const override { return 164 * 15; }
  int OuterHeightTwips() const override { return 124 * 15; }
  void SizePictureTwips(int, int) override {}
  void DrawPicture(const BitmapInfoHeader& format, const uint8_t* bgr, int,
                   int) override {
    const int64_t bytes =
        int64_t{format.width} * std::abs(int64_t{format.height}) * 3;
    Check(format.width > 0 && bytes <= kDecodedFrameBuffer,
          "a picture larger than the decoded-frame buffer");
    volatile uint8_t sum = 0;
    for (int64_t i = 0; i < bytes; ++i) sum = sum + bgr[i];
  }
  void SetWindowWidthTwips(int) override {}
  void ShowMagnification(bool, const QString&) override {}
};

// The engines that play a message, with no windows and no devices.
class PlayerRig {
 public:
  PlayerRig() {
    video_.SetFrameView(&view_);
    video_.OpenFrameDrawing();
    Check(video_.OpenCodec(), "the codec does not open");
    Check(audio_.StartPlayer() == 1, "the player does not start");
    player_.SetWindow(&window_);
  }
  AppState& state() { return state_; }
  VideoEngine& video() { return video_; }
  PlayerEngine& player() { return player_; }
  // A fresh decoder, so that no input depends on the one before.
  void ReopenCodec() {
    video_.CloseCodec();
    Check(video_.OpenCodec(), "the codec does not reopen");
  }
  // Plays `name` to its end, one tick at a time; false when it does not end.
  bool PlayToEnd(const QString& name, int most_ticks) {
    state_.launch.selected_play_file = name;
    player_.Play();
    Check(state_.activity.is_playing == 1, "an existing file does not play");
    for (int tick = 0; tick < most_ticks; ++tick) {
      player_.PlayerTick();
      // The blocks queued by this tick play at once.
      output_->Drain(static_cast<size_t>(
                         std::max<int>(state_.audio.queued_play_buffers, 0)) *
                     (kAudioBlockSize / kGsmBlockBytes) * kGsmBlockSamples);
      state_.audio.queued_play_buffers = 0;
      if (state_.activity.is_playing == 0) return true;
    }
    return false;
  }

 private:
  // What start-up leaves for the engines, set before they are made.
  static bool SetStartState(AppState& state) {
    Root();
    StartupValues& values = state.values;
    values.codec_ratio = 25;
    values.display_width = values.chosen_width = 160;
    values.display_height = values.chosen_height = 120;
    state.video.capture_width = 160;
    state.video.capture_height = 120;
    state.video.video_state = 1;
    state.audio.audio_capability = 2;
    state.settings.full_duplex = 1;  // the player is started once, above
    return true;
  }

  AppState state_;
  [[maybe_unused]] bool state_set_ = SetStartState(state_);
  ManualClock clock_;
  NullMessages messages_;
  NullCapture capture_;
  IniRegistryStore registry_{Root().filePath("config")};
  RigWindow window_{state_};
  ReadingView view_;
  CodecManager codecs_{registry_};
  VideoEngine video_{state_, codecs_, capture_, registry_, messages_, clock_};
  SyncOutput* output_ = new SyncOutput;  // owned by the wave library
  DeviceWaveLibrary wave_{MakeNoInput(), std::unique_ptr<SyncOutput>(output_)};
  AudioEngine audio_{wave_, state_, messages_, clock_};
  PlayerEngine player_{state_, audio_, video_, messages_, clock_};
};

}  // namespace vocapost::fuzz
