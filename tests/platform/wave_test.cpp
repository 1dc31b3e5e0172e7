#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <mutex>

#include "platform/wave/audio_device.h"
#include "platform/wave/device_wave_library.h"
#include "platform/wave/wav_file.h"
#include "platform/window_message/window_message.h"
#include "support/recording_program.h"
#include "support/temp_home.h"
#include "support/tone.h"

namespace vocapost {
namespace {

// Either side of a sound card; the test captures through `sink`.
struct Manual final : AudioInput, AudioOutput {
  bool Open() override { return openable; }
  bool Start(SampleSink s) override { return (sink = std::move(s), true); }
  bool Start(SampleSource) override { return true; }
  void Stop() override { sink = nullptr; }
  bool openable = true;
  SampleSink sink;
};

// The window the library posts to.
struct Window final : QObject {
  bool event(QEvent* e) override {
    if (e->type() != WindowMessageEvent::EventType()) return QObject::event(e);
    const auto* m = static_cast<WindowMessageEvent*>(e);
    (m->message() == kRecordedBufferMessage ? filled : played)
        .push_back(m->lparam());
    return true;
  }
  std::vector<intptr_t> filled, played;
};

class DeviceWaveLibraryTest : public testing::HomeTest {
 protected:
  int16_t Init(int16_t size = 1105, WaveFormat format = {}) {
    return library_.InitWaveRecorder(&window_, size, format, state_, 0);
  }
  int16_t Copy(intptr_t header, int16_t choice = 0) {
    return library_.CopyRawBufferWaveRecorder(header, block_, choice, state_);
  }
  QString Path(const char* name) const {
    return QString::fromStdString((temp_.home() / name).string());
  }
  void Capture(size_t samples) {
    const std::vector<int16_t> tone = testing::Tone(440, samples);
    input_->sink(tone.data(), tone.size());
    QCoreApplication::processEvents();
  }

  Manual* input_ = new Manual;
  Manual* output_ = new Manual;
  Window window_;
  DeviceWaveLibrary library_{std::unique_ptr<AudioInput>(input_),
                             std::unique_ptr<AudioOutput>(output_)};
  StateBlock state_{};
  uint8_t block_[kAudioBlockSize] = {};
};

// The recorder window drops a notification whose header repeats the last.
// Buffers kept out (choice 1) are not recorded into until the next start.
TEST_F(DeviceWaveLibraryTest, BuffersGoRoundEachWithItsOwnHeaderAndSound) {
  ASSERT_EQ(Init(), 0);
  ASSERT_EQ(library_.StartWaveRecorderRaw(state_), 0);
  for (int i = 0; i < 6; ++i) {
    Capture(5440);
    ASSERT_EQ(Copy(window_.filled.back()), 1105);
  }
  for (size_t i = 1; i < window_.filled.size(); ++i)
    EXPECT_NE(window_.filled[i], window_.filled[i - 1]) << i;
  GsmDecoder decoder;
  const std::vector<int16_t> sound = decoder.Decode(block_, 1105);
  EXPECT_GE(testing::ToneSnrDb({sound.begin() + 960, sound.end()}, 440), 12.0);
  EXPECT_EQ(Copy(window_.filled.back()), DeviceWaveLibrary::kUnknownBuffer)
      << "a buffer given back is recording again";
  Capture(5440 * DeviceWaveLibrary::kRecorderBuffers);
  for (size_t i = 6; i < window_.filled.size(); ++i)
    ASSERT_EQ(Copy(window_.filled[i], 1), 1105);
  Capture(5440 * 2);  // nowhere to go: dropped
  EXPECT_EQ(window_.filled.size(), 6u + DeviceWaveLibrary::kRecorderBuffers);
  ASSERT_EQ(library_.CloseWaveRecorder(state_), 0);
  ASSERT_EQ(library_.StartWaveRecorderRaw(state_), 0);
  Capture(5440);
  EXPECT_EQ(window_.filled.size(), 7u + DeviceWaveLibrary::kRecorderBuffers);
}

TEST_F(DeviceWaveLibraryTest, RefusesWhatItCannotPlayAndBoundsItsQueue) {
  EXPECT_EQ(Init(1105, {.format_tag = 1}), DeviceWaveLibrary::kBadFormat);
  EXPECT_EQ(Init(1100), DeviceWaveLibrary::kBadFormat);  // not whole blocks
  EXPECT_EQ(Init(0), DeviceWaveLibrary::kBadFormat);
  input_->openable = output_->openable = false;
  EXPECT_EQ(Init(), DeviceWaveLibrary::kNoInput);
  EXPECT_EQ(library_.StartWaveRecorderRaw(state_),
            DeviceWaveLibrary::kNotReady);
  EXPECT_EQ(library_.StartWavePlayerRaw(state_), DeviceWaveLibrary::kNoOutput);
  input_->openable = output_->openable = true;
  ASSERT_EQ(Init(), 0);
  ASSERT_EQ(library_.StartWavePlayerRaw(state_), 0);
  for (size_t i = 0; i < DeviceWaveLibrary::kMostQueuedBlocks; ++i)
    ASSERT_EQ(library_.CopyRawBufferWavePlayer(block_, 65, state_), 0);
  EXPECT_EQ(library_.CopyRawBufferWavePlayer(block_, 65, state_),
            DeviceWaveLibrary::kQueueFull);
  ASSERT_EQ(library_.StopWavePlayer(state_), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(window_.played.size(), DeviceWaveLibrary::kMostQueuedBlocks)
      << "stopping reports what was cut off";
  library_.Detach();
  ASSERT_EQ(library_.StartWaveRecorderRaw(state_), 0);
  Capture(5440);
  EXPECT_TRUE(window_.filled.empty()) << "a detached library posts nothing";
}

// Whole after every append, as after an abrupt end, and read at its pace.
TEST_F(DeviceWaveLibraryTest, WavFilesRoundTripAndPlayInRealTimeThenSilence) {
  const std::vector<int16_t> tone = testing::Tone(440, 800, 9000);
  {
    WavWriter writer(Path("in.wav"));
    writer.Append(tone.data(), 500);
    EXPECT_EQ(ReadWavSamples(Path("in.wav")).value().size(), 500u);
    writer.Append(tone.data() + 500, 300);
  }
  EXPECT_EQ(ReadWavSamples(Path("in.wav")).value(), tone);
  // An odd-sized chunk before the samples is followed by a pad byte.
  temp_.WriteFile("padded.wav", temp_.ReadFile("in.wav").insert(
                                    36, QByteArray("LIST\x03\0\0\0abc\0", 12)));
  EXPECT_EQ(ReadWavSamples(Path("padded.wav")).value(), tone);
  temp_.WriteFile("junk.wav", "RIFF....WAVEjunk");
  EXPECT_FALSE(ReadWavSamples(Path("junk.wav")).has_value());
  QByteArray fast = temp_.ReadFile("in.wav");
  fast[25] = 0x7d;  // 32064 samples a second
  temp_.WriteFile("fast.wav", fast);
  EXPECT_FALSE(MakeAudioInput("wav:" + Path("fast.wav"))->Open());
  auto input = MakeAudioInput("wav:" + Path("in.wav"));
  ASSERT_TRUE(input->Open());
  std::mutex mutex;
  std::vector<int16_t> got;
  ASSERT_TRUE(input->Start([&](const int16_t* s, size_t n) {
    std::lock_guard lock(mutex);
    got.insert(got.end(), s, s + n);
  }));
  QThread::msleep(300);
  input->Stop();
  // About 300 ms at 8000 samples a second, not as fast as it can.
  ASSERT_GE(got.size(), 800u);  // a busy machine may start the thread late
  EXPECT_LE(got.size(), 4000u);
  EXPECT_EQ(std::vector<int16_t>(got.begin(), got.begin() + 800), tone);
  EXPECT_TRUE(std::all_of(got.begin() + 800, got.end(),
                          [](int16_t sample) { return sample == 0; }));
  // Named choices that cannot work do not open.
  EXPECT_FALSE(MakeAudioInput("none")->Open());
  EXPECT_FALSE(MakeAudioInput("wav:/absent.wav")->Open());
  EXPECT_FALSE(MakeAudioOutput("speaker-7")->Open());
  EXPECT_FALSE(MakeAudioOutput("wav:/nonexistent-folder/out.wav")->Open());
}

// The real sound path: PortAudio through ALSA into a PulseAudio server of the
// test's own, whose null sink's monitor is recorded while we play into it.
TEST_F(DeviceWaveLibraryTest, ToneWePlayIsFoundInWhatAPulseServerRecords) {
  // The server, and PortAudio through the ALSA pulse plugin, meet in here.
  const QString runtime = QString::fromStdString(temp_.root().string());
  testing::EnvironmentScope scope;
  scope.Set("XDG_RUNTIME_DIR", temp_.root());
  scope.Set("HOME", temp_.root());
  QProcess daemon;
  daemon.start("pulseaudio",
               {"-D", "--system=false", "--exit-idle-time=-1", "-n",
                "--load=module-null-sink sink_name=nullsink",
                "--load=module-native-protocol-unix auth-anonymous=1"});
  if (!daemon.waitForFinished(15000) || daemon.exitCode() != 0)
    GTEST_SKIP() << "no PulseAudio server could be started here";
  const auto stop = qScopeGuard([&] {
    daemon.start("pulseaudio", {"-k"});
    daemon.waitForFinished(10000);
  });
  const QString socket = runtime + "/pulse/native";
  for (int i = 0; i < 100 && !QFile::exists(socket); ++i) QThread::msleep(50);
  if (!QFile::exists(socket)) GTEST_SKIP() << "the PulseAudio socket is missing";
  scope.Set("PULSE_SERVER", ("unix:" + socket).toUtf8());
  std::vector<double> snr;
  {
    DeviceWaveLibrary library(MakePortAudioInput(), MakePortAudioOutput());
    EXPECT_EQ(library.InitWaveRecorder(&window_, 1105, {}, state_, 0), 0);
    EXPECT_EQ(library.StartWavePlayerRaw(state_), 0);
    EXPECT_EQ(library.StartWaveRecorderRaw(state_), 0);
    const std::vector<int16_t> tone = testing::Tone(440, 5440 * 8, 12000);
    const QByteArray coded = GsmEncoder().Encode(tone.data(), tone.size());
    EXPECT_EQ(library.CopyRawBufferWavePlayer(
                  reinterpret_cast<const uint8_t*>(coded.constData()),
                  static_cast<int32_t>(coded.size()), state_),
              0);
    GsmDecoder decoder;
    QElapsedTimer clock;
    for (clock.start(); clock.elapsed() < 9000; QThread::msleep(10)) {
      QCoreApplication::processEvents();
      for (const intptr_t header : std::exchange(window_.filled, {})) {
        EXPECT_EQ(library.CopyRawBufferWaveRecorder(header, block_, 0, state_),
                  1105);
        snr.push_back(testing::ToneSnrDb(decoder.Decode(block_, 1105), 440));
      }
    }
  }
  ASSERT_GE(snr.size(), 8u) << "the recorder delivered too little";
  // The buffers inside the tone carry it clearly; after it, silence.
  EXPECT_GE(
      std::count_if(snr.begin(), snr.end(), [](double db) { return db >= 12; }),
      4);
  EXPECT_LT(snr.back(), 0.0);
}

}  // namespace
}  // namespace vocapost
