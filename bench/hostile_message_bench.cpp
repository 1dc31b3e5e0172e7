// The real program playing a message of 100 frame records whose 160 × 120
// header hides a VP8 key frame declaring 16383 × 16383, between about 26 s
// of sound: how long playback takes and the program's peak memory, beside
// the same message with honest frames.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "message/message_writer.h"
#include "platform/codec/bitmap_header.h"
#include "platform/codec/vp8_codec.h"
#include "platform/wave/gsm_codec.h"

namespace {

using namespace vocapost;

constexpr int kAudioRecords = 38;  // 0.68 s each
constexpr int kFrames = 100;

QByteArray KeyFrameRecord(bool lying) {
  // A flat picture at the coarsest quantizer: a key frame of a few bytes.
  const std::vector<uint8_t> picture(160 * 120 * 3, 128);
  Vp8Encoder encoder(160, 120, 200);
  bool key = false;
  QByteArray vp8 = encoder.Encode(picture.data(), true, true, &key);
  if (lying) {
    for (const int at : {6, 8}) vp8[at] = '\xff', vp8[at + 1] = '\x3f';
  }
  vp8.append('\x01');  // the key frame trailer
  FrameHeader header;
  header.bitmap.size = kFrameHeaderBytes;
  header.bitmap.width = 160;
  header.bitmap.height = 120;
  header.bitmap.size_image = static_cast<uint32_t>(vp8.size());
  QByteArray record(kFrameHeaderBytes, '\0');
  WriteFrameHeader(header, reinterpret_cast<uint8_t*>(record.data()));
  return record + vp8;
}

bool WriteMessage(const QString& path, bool lying) {
  std::vector<int16_t> tone(kGsmBlockSamples * 17);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<int16_t>((i / 20 % 2) ? 3000 : -3000);
  GsmEncoder gsm;
  const QByteArray frame = KeyFrameRecord(lying);
  MessageWriter writer;
  bool ok = writer.BeginFile(path);
  int frames = 0;
  for (int a = 0; ok && a < kAudioRecords; ++a) {
    ok = writer.AppendAudio(gsm.Encode(tone.data(), tone.size()));
    const int due = kFrames * (a + 1) / kAudioRecords;
    for (; ok && frames < due; ++frames) ok = writer.AppendVideo(frame);
  }
  return writer.Finish() && ok;
}

void Play(const char* what, bool lying) {
  QTemporaryDir dir;
  const QString home = dir.filePath("home"), message = dir.filePath("m.vrc");
  if (!WriteMessage(message, lying)) {
    std::printf("%s: the message could not be written\n", what);
    return;
  }
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VOCAPOST_HOME", home);
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  env.insert("XDG_RUNTIME_DIR", dir.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  env.insert("VOCAPOST_AUDIO", "test-tone");
  env.insert("VOCAPOST_AUDIO_OUT", "discard");
  env.insert("VOCAPOST_CAPTURE", "test-pattern");
  program.setProcessEnvironment(env);
  QElapsedTimer timer;
  timer.start();
  program.start(VOCAPOST_BINARY, {message});
  if (!program.waitForFinished(600000)) {
    std::printf("%s: still playing after 10 minutes\n", what);
    program.kill();
    program.waitForFinished();
    return;
  }
  const double seconds = timer.elapsed() / 1000.0;
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  std::printf(
      "%-14s %lld bytes (frame records of %lld bytes), %.1f s of sound: "
      "program ran %.1f s, peak memory (largest so far) %.1f MB\n",
      what, static_cast<long long>(QFile(message).size()),
      static_cast<long long>(KeyFrameRecord(lying).size()),
      kAudioRecords * 1105.0 / kGsmBytesPerSecond, seconds,
      children.ru_maxrss / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qt(argc, argv);
  // Honest first: the peak over children only grows.
  Play("honest frames", false);
  Play("lying frames", true);
  return 0;
}
