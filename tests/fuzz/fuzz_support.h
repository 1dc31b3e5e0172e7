#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdio>

#include "platform/wave/device_wave_library.h"
#include "player/player_engine.h"

namespace vocapost::fuzz {
using namespace vocapost;  // the targets name only this namespace

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
    static char* argv[] = {const_cast<char*>("vocapost_fuzz"), nullptr};
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
struct InHome {
  InHome() { Check(QDir::setCurrent(Root().filePath("home")), "no home"); }
  ~InHome() { QDir::setCurrent(previous); }
  const QString previous = QDir::currentPath();
};

inline QByteArray Bytes(const void* data, size_t size) {
  return QByteArray(static_cast<const char*>(data), qsizetype(size));
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  Check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
        "cannot write a fuzz file");
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Inputs made of pieces: each a 2-byte little-endian length (modulo `most`)
// and that many bytes, cut at the end of the input. Each piece has a buffer
// of its own size, so that any read past it is caught.
inline auto Pieces(const uint8_t* data, size_t size, size_t most = 65536) {
  std::vector<std::vector<uint8_t>> pieces;
  for (size_t at = 0; at + 2 <= size; at += 2 + pieces.back().size()) {
    const size_t length =
        std::min(qFromLittleEndian<quint16>(data + at) % most, size - at - 2);
    pieces.emplace_back(data + at + 2, data + at + 2 + length);
  }
  return pieces;
}

inline QByteArray Piece(const QByteArray& bytes) {
  const char length[] = {char(bytes.size()), char(bytes.size() >> 8)};
  return QByteArray(length, 2) + bytes;
}

// Sound played at once on the caller's thread by Drain().
struct SyncOutput final : AudioOutput {
  bool Open() override { return true; }
  bool Start(SampleSource given) override { return bool(source = given); }
  void Stop() override { source = nullptr; }
  void Drain(size_t samples) {
    std::vector<int16_t> played(samples);
    if (source && samples > 0) source(played.data(), samples);
  }
  SampleSource source;
};

// The engines that play a message, the sound path (audio engine, wave
// library, its GSM decoder and play queue) on no device, with no windows and
// no camera, telling the user nothing.
struct PlayerRig : MessageOperations, PlayerWindow, FrameView, CaptureService {
  PlayerRig() {
    state.audio.audio_capability = 2;
    state.settings.full_duplex = 1;  // the player is started once, here
    Check(audio.StartPlayer() == 1, "the player does not start");
    StartupValues& v = state.values;  // what start-up leaves
    v.codec_ratio = 25;
    v.display_width = v.chosen_width = state.video.capture_width = 160;
    v.display_height = v.chosen_height = state.video.capture_height = 120;
    state.video.video_state = 1;
    video.SetFrameView(this);
    video.OpenFrameDrawing();
    ReopenCodec();
    player.SetWindow(this);
  }
  void ShowMessage(const QString&, int16_t, QString&) override {}
  void ShowMessageForm(const QString&, int16_t, QString&) override {}
  void UnloadErrorForm() override {}
  int16_t PauseWithEvents(float, const QString&) override { return 0; }
  // A fresh decoder, so that no input depends on the one before.
  void ReopenCodec() {
    video.CloseCodec();
    Check(video.OpenCodec(), "the codec does not open");
  }
  // The window side: the frame-size probe's button is applied at once.
  void PressSizeButton(int) override { state.video.size_change_busy = 0; }
  void ClearPackageList() override {}
  QString CurrentRecordingName() const override { return {}; }
  void DisableForActivity() override {}
  void EnableAfterActivity() override {}
  void ShowAudioOnlyPicture() override {}
  void ShowViewer(int) override {}
  void HideViewer() override {}
  void ShowRecorder() override {}
  void PressExit() override {}

  // The picture is drawn from the decoded-frame buffer, so must fit in it.
  void DrawPicture(const BitmapInfoHeader& format, const uint8_t* bgr, int,
                   int) override {
    const int64_t bytes =
        int64_t{format.width} * std::abs(int64_t{format.height}) * 3;
    Check(bgr && bytes > 0 && bytes <= kDecodedFrameBuffer,
          "a picture larger than the decoded-frame buffer");
  }
  int OuterWidthTwips() const override { return 164 * 15; }
  int OuterHeightTwips() const override { return 124 * 15; }
  void SizePictureTwips(int, int) override {}
  void SetWindowWidthTwips(int) override {}
  void ShowMagnification(bool, const QString&) override {}

  // No camera.
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

  AppState state;
  ManualClock clock;
  SyncOutput* output = new SyncOutput;  // owned by the wave library
  DeviceWaveLibrary wave{MakeNoInput(), std::unique_ptr<SyncOutput>(output)};
  AudioEngine audio{wave, state, *this, clock};
  IniRegistryStore registry{Root().filePath("config")};
  CodecManager codecs{registry};
  VideoEngine video{state, codecs, *this, registry, *this, clock};
  PlayerEngine player{state, audio, video, *this, clock};
};

}  // namespace vocapost::fuzz
