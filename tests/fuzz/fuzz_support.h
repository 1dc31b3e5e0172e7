#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "audio/audio_engine.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "platform/codec/codec_manager.h"
#include "platform/wave/device_wave_library.h"
#include "player/player_engine.h"
#include "video/video_engine.h"

namespace vocapost::fuzz {

// Stops the run with a message libFuzzer reports as a crash, so that a
// broken promise is found like a memory fault.
[[noreturn]] void Fail(const char* what);
inline void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

// Qt's core objects and a program home for the whole run: <root>/home is the
// current directory, <root>/outside a folder nothing may touch.
class FuzzHome {
 public:
  static FuzzHome& Get();
  QString root() const { return dir_.path(); }
  QString home() const { return dir_.filePath("home"); }
  QString outside() const { return dir_.filePath("outside"); }
  // Removes everything in the home.
  void Clear() const;

 private:
  FuzzHome();
  QTemporaryDir dir_;
};

void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

class NullMessages final : public MessageOperations {
 public:
  void ShowMessage(const QString&, int16_t, QString&) override {}
  void ShowMessageForm(const QString&, int16_t, QString&) override {}
  void UnloadErrorForm() override {}
  int16_t PauseWithEvents(float, const QString&) override { return 0; }
};

// The codec's settings key, kept in memory.
class MemoryRegistry final : public RegistryStore {
 public:
  bool CreateKey(const QString& key) override;
  int32_t SetDword(const QString& key, const QString& name,
                   uint32_t value) override;
  std::optional<uint32_t> GetDword(const QString& key,
                                   const QString& name) override;

 private:
  std::map<QString, std::map<QString, uint32_t>> keys_;
};

// Sound that is played at once on the caller's thread when Drain() is
// called, so that decoded samples can be looked at.
class SyncOutput final : public AudioOutput {
 public:
  bool Open() override { return true; }
  bool Start(SampleSource source) override;
  void Stop() override { source_ = nullptr; }
  std::vector<int16_t> Drain(size_t samples);

 private:
  SampleSource source_;
};

// The engines that play a message, with no windows and no devices.
class PlayerRig {
 public:
  PlayerRig();
  ~PlayerRig();
  AppState& state() { return state_; }
  VideoEngine& video() { return *video_; }
  PlayerEngine& player() { return *player_; }
  // The frame-size probe's button (0 when none was pressed).
  int pressed_button() const;
  // Plays `name` to its end, one tick at a time; false when it does not end.
  bool PlayToEnd(const QString& name, int most_ticks);
  // A fresh decoder, so that no input depends on the one before.
  void ReopenCodec();

 private:
  struct Fakes;
  std::unique_ptr<Fakes> fakes_;
  AppState state_;
  ManualClock clock_;
  std::unique_ptr<CodecManager> codecs_;
  std::unique_ptr<VideoEngine> video_;
  SyncOutput* output_ = nullptr;
  std::unique_ptr<DeviceWaveLibrary> wave_;
  std::unique_ptr<AudioEngine> audio_;
  std::unique_ptr<PlayerEngine> player_;
};

}  // namespace vocapost::fuzz
