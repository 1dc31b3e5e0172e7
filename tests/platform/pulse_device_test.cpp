// The real sound path: PortAudio through ALSA into a PulseAudio server of the
// test's own, whose null sink's monitor is recorded while we play into it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <utility>

#include "platform/wave/device_wave_library.h"
#include "platform/window_message/window_message.h"
#include "support/temp_home.h"
#include "support/tone.h"

namespace vocapost {
namespace {

class Window final : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != WindowMessageEvent::EventType()) return QObject::event(e);
    const auto* m = static_cast<WindowMessageEvent*>(e);
    (m->message() == kRecordedBufferMessage ? filled : played)
        .push_back(m->lparam());
    return true;
  }
  std::vector<intptr_t> filled, played;
};

class PulseDeviceTest : public testing::HomeTest {
 protected:
  void SetUp() override {
    const QString runtime =
        QString::fromStdString((temp_.root() / "pulse-run").string());
    std::filesystem::create_directories(runtime.toStdString());
    chmod(runtime.toUtf8().constData(), 0700);
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_RUNTIME_DIR", runtime);
    env_.insert("HOME", runtime);
    QProcess daemon;
    daemon.setProcessEnvironment(env_);
    daemon.start("pulseaudio",
                 {"-D", "--system=false", "--exit-idle-time=-1", "-n",
                  "--load=module-null-sink sink_name=nullsink",
                  "--load=module-native-protocol-unix auth-anonymous=1"});
    if (!daemon.waitForFinished(15000) || daemon.exitCode() != 0) {
      GTEST_SKIP() << "no PulseAudio server could be started here: "
                   << daemon.readAllStandardError().toStdString();
    }
    socket_ = runtime + "/pulse/native";
    for (int i = 0; i < 100 && !QFile::exists(socket_); ++i)
      QThread::msleep(50);
    if (!QFile::exists(socket_))
      GTEST_SKIP() << "the PulseAudio server did not come up";
    started_ = true;
    // PortAudio (through the ALSA pulse plugin) finds the server from these.
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    qputenv("PULSE_SERVER", ("unix:" + socket_).toUtf8());
  }
  void TearDown() override {
    if (!started_) return;
    QProcess stop;
    stop.setProcessEnvironment(env_);
    stop.start("pulseaudio", {"-k"});
    stop.waitForFinished(10000);
  }

  QProcessEnvironment env_;
  QString socket_;
  bool started_ = false;
};

TEST_F(PulseDeviceTest, ToneWePlayIsFoundInWhatWeRecord) {
  DeviceWaveLibrary library(MakePortAudioInput(), MakePortAudioOutput());
  Window window;
  StateBlock state{};
  ASSERT_EQ(library.InitWaveRecorder(&window, 1105, WaveFormat{}, state, 0), 0)
      << "no PortAudio input through the server";
  ASSERT_EQ(library.StartWavePlayerRaw(state), 0);
  ASSERT_EQ(library.StartWaveRecorderRaw(state), 0);
  const std::vector<int16_t> tone = testing::Tone(440, 5440 * 8, 12000);
  GsmEncoder encoder;
  const QByteArray coded = encoder.Encode(tone.data(), tone.size());
  const auto* blocks = reinterpret_cast<const uint8_t*>(coded.constData());
  GsmDecoder decoder;
  std::vector<double> buffer_snr;
  int queued = 0, next = 0;
  uint8_t block[kAudioBlockSize];
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 9000) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
    queued -= static_cast<int>(std::exchange(window.played, {}).size());
    for (; queued < 3 && next < 8; ++queued, ++next)
      ASSERT_EQ(
          library.CopyRawBufferWavePlayer(blocks + next * 1105, 1105, state),
          0);
    for (const intptr_t header : std::exchange(window.filled, {})) {
      ASSERT_EQ(library.CopyRawBufferWaveRecorder(header, block, 0, state),
                1105);
      buffer_snr.push_back(
          testing::ToneSnrDb(decoder.Decode(block, 1105), 440));
    }
  }
  library.CloseWaveRecorder(state);
  library.StopWavePlayer(state);
  ASSERT_GE(buffer_snr.size(), 8u) << "the recorder delivered too little";
  // The buffers that fall inside the tone carry it clearly.
  EXPECT_GE(std::count_if(buffer_snr.begin(), buffer_snr.end(),
                          [](double snr) { return snr >= 12.0; }),
            4);
  // After the tone has ended the monitor is silent.
  EXPECT_LT(buffer_snr.back(), 0.0);
}

}  // namespace
}  // namespace vocapost
