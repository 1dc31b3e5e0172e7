#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vocapost::fuzz {

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

FuzzHome& FuzzHome::Get() {
  static FuzzHome home;
  return home;
}

FuzzHome::FuzzHome() : dir_(QDir::tempPath() + "/vocapost-fuzz-XXXXXX") {
  static int argc = 1;
  static char name[] = "vocapost_fuzz";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr)
    new QCoreApplication(argc, argv);  // lives as long as the process
  Check(dir_.isValid() && QDir().mkpath(home()) && QDir().mkpath(outside()),
        "no temporary folder");
  qputenv("VOCAPOST_HOME", QFile::encodeName(home()));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("config")));
  Check(QDir::setCurrent(home()), "cannot enter the home");
}

void FuzzHome::Clear() const {
  QDir dir(home());
  for (const QString& name :
       dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                     QDir::NoDotAndDotDot)) {
    const QString path = dir.filePath(name);
    // A link is removed itself, never what it points at.
    if (QFileInfo(path).isSymLink() || !QFileInfo(path).isDir()) {
      Check(QFile::remove(path), "cannot clear the home");
    } else {
      QDir(path).removeRecursively();
    }
  }
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(bytes) == bytes.size(),
        "cannot write a fuzz file");
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SyncOutput::Start(SampleSource source) {
  source_ = std::move(source);
  return true;
}

std::vector<int16_t> SyncOutput::Drain(size_t samples) {
  std::vector<int16_t> played(samples);
  if (source_ && samples > 0) source_(played.data(), samples);
  return played;
}

bool MemoryRegistry::CreateKey(const QString& key) {
  keys_[key];
  return true;
}

int32_t MemoryRegistry::SetDword(const QString& key, const QString& name,
                                 uint32_t value) {
  const auto it = keys_.find(key);
  if (it == keys_.end()) return kKeyMissing;
  it->second[name] = value;
  return kOk;
}

std::optional<uint32_t> MemoryRegistry::GetDword(const QString& key,
                                                 const QString& name) {
  const auto it = keys_.find(key);
  if (it == keys_.end() || !it->second.contains(name)) return std::nullopt;
  return it->second.at(name);
}

namespace {

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

// The window side: the probe's button is noted and applied at once.
class RigWindow final : public PlayerWindow {
 public:
  explicit RigWindow(AppState& state) : state_(state) {}
  void ClearPackageList() override {}
  QString CurrentRecordingName() const override { return {}; }
  void PressSizeButton(int button) override {
    Check(button >= 6 && button <= 10, "no such size button");
    pressed = button;
    state_.video.size_change_busy = 0;
  }
  void DisableForActivity() override {}
  void EnableAfterActivity() override {}
  void ShowAudioOnlyPicture() override {}
  void ShowViewer(int) override {}
  void HideViewer() override {}
  void ShowRecorder() override {}
  void PressExit() override {}
  int pressed = 0;

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

}  // namespace

struct PlayerRig::Fakes {
  explicit Fakes(AppState& state) : window(state) {}
  NullMessages messages;
  NullCapture capture;
  MemoryRegistry registry;
  RigWindow window;
  ReadingView view;
};

PlayerRig::PlayerRig() {
  FuzzHome::Get();
  fakes_ = std::make_unique<Fakes>(state_);
  StartupValues& values = state_.values;
  values.codec_ratio = 25;
  values.display_width = values.chosen_width = 160;
  values.display_height = values.chosen_height = 120;
  state_.video.capture_width = 160;
  state_.video.capture_height = 120;
  state_.video.video_state = 1;
  state_.audio.audio_capability = 2;
  state_.settings.full_duplex = 1;  // the player is started once, below

  codecs_ = std::make_unique<CodecManager>(fakes_->registry);
  video_ =
      std::make_unique<VideoEngine>(state_, *codecs_, fakes_->capture,
                                    fakes_->registry, fakes_->messages, clock_);
  video_->SetFrameView(&fakes_->view);
  video_->OpenFrameDrawing();
  Check(video_->OpenCodec(), "the codec does not open");
  auto output = std::make_unique<SyncOutput>();
  output_ = output.get();
  wave_ = std::make_unique<DeviceWaveLibrary>(MakeNoInput(), std::move(output));
  audio_ =
      std::make_unique<AudioEngine>(*wave_, state_, fakes_->messages, clock_);
  Check(audio_->StartPlayer() == 1, "the player does not start");
  player_ = std::make_unique<PlayerEngine>(state_, *audio_, *video_,
                                           fakes_->messages, clock_);
  player_->SetWindow(&fakes_->window);
}

PlayerRig::~PlayerRig() = default;

int PlayerRig::pressed_button() const { return fakes_->window.pressed; }

void PlayerRig::ReopenCodec() {
  video_->CloseCodec();
  Check(video_->OpenCodec(), "the codec does not reopen");
}

bool PlayerRig::PlayToEnd(const QString& name, int most_ticks) {
  state_.launch.selected_play_file = name;
  player_->Play();
  Check(state_.activity.is_playing == 1, "an existing file does not play");
  for (int tick = 0; tick < most_ticks; ++tick) {
    player_->PlayerTick();
    // The blocks queued by this tick play at once.
    const int queued = state_.audio.queued_play_buffers;
    output_->Drain(static_cast<size_t>(std::max(queued, 0)) *
                   (kAudioBlockSize / kGsmBlockBytes) * kGsmBlockSamples);
    state_.audio.queued_play_buffers = 0;
    if (state_.activity.is_playing == 0) return true;
  }
  return false;
}

}  // namespace vocapost::fuzz

// The home becomes the current directory before libFuzzer reads anything, so
// the paths it is given are made absolute first; crashes are kept where the
// run started unless told otherwise.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  namespace fs = std::filesystem;
  static std::vector<std::string> kept;
  static std::vector<char*> args;
  bool prefix_given = false;
  for (int i = 0; i < *argc; ++i) {
    std::string arg = (*argv)[i];
    const size_t equals = arg.find('=');
    const std::string flag = arg.substr(0, equals + 1);
    if (i > 0 && arg[0] != '-') {
      arg = fs::absolute(arg).string();
    } else if (equals != std::string::npos &&
               (flag == "-artifact_prefix=" ||
                flag == "-exact_artifact_path=" || flag == "-dict=")) {
      arg = flag + fs::absolute(arg.substr(equals + 1)).string();
      prefix_given = prefix_given || flag == "-artifact_prefix=";
    }
    kept.push_back(arg);
  }
  if (!prefix_given)
    kept.push_back("-artifact_prefix=" + fs::current_path().string() + "/");
  for (std::string& arg : kept) args.push_back(arg.data());
  args.push_back(nullptr);
  *argc = static_cast<int>(kept.size());
  *argv = args.data();
  vocapost::fuzz::FuzzHome::Get();
  return 0;
}
