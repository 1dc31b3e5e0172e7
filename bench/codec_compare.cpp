// Our SMSV codec against ffmpeg's libvpx VP8 in real-time mode on the same
// frames, at the frame rate and bytes a second one recording budget leaves:
// ms a frame to compress and to decompress, bytes a frame, PSNR and SSIM.
// usage: vocapost_codec_compare CLIP.bgr WIDTH HEIGHT BUDGET WORKDIR
// CLIP.bgr holds 20 frames a second of 24-bit BGR pictures. Prints one JSON
// object.
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "child_runs.h"
#include "picture_scores.h"
#include "smsv_pair.h"

namespace {

using Frames = std::vector<std::vector<uint8_t>>;
constexpr int kTicksPerSecond = 20;
constexpr double kAudioBlockSeconds = 0.68;
constexpr int kAudioRecordBytes = 1115;
constexpr int kRepeats = 3;

Frames ReadFrames(const QString& path, int w, int h) {
  QFile file(path);
  Frames frames;
  if (!file.open(QIODevice::ReadOnly)) return frames;
  const qint64 size = qint64{w} * h * 3;
  for (QByteArray data = file.read(size); data.size() == size;
       data = file.read(size)) {
    frames.emplace_back(data.begin(), data.end());
  }
  return frames;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

struct OursResult {
  std::vector<size_t> taken;  // clip frame numbers the budget let through
  Frames decoded;
  double stored = 0, bytes = 0;
  // Times after the first frame: ffmpeg's are found as a run less a run of
  // one frame, which leaves its first (key) frame out as well.
  double compress_s = 0, decompress_s = 0;
};

// The recording's rate test at every 50 ms tick: a frame is taken while the
// bytes stored (audio records every 0.68 s, frames so far) stay within the
// budget; none before the first audio record.
OursResult RunOurs(const Frames& clip, int w, int h, double budget) {
  vocapost::bench::SmsvPair pair(w, h, 25);
  std::vector<uint8_t> payload(vocapost::kLongestPayload);
  OursResult r;
  for (size_t k = 1; k < clip.size(); ++k) {
    const double t = static_cast<double>(k) / kTicksPerSecond;
    const int audio = static_cast<int>(t / kAudioBlockSeconds);
    if (audio == 0 || (audio * kAudioRecordBytes + r.stored) / t > budget)
      continue;
    auto start = std::chrono::steady_clock::now();
    pair.Compress(clip[k].data(), r.taken.size() % 51 == 0, payload);
    const bool first = r.taken.empty();
    if (!first) r.compress_s += Seconds(std::chrono::steady_clock::now() - start);
    const uint32_t size = pair.out.bitmap.size_image;
    r.bytes += size;
    r.stored += size + 48 + 10;  // an IMG record
    std::vector<uint8_t> picture(clip[k].size());
    start = std::chrono::steady_clock::now();
    pair.Decompress(payload, picture.data());
    if (!first)
      r.decompress_s += Seconds(std::chrono::steady_clock::now() - start);
    r.taken.push_back(k);
    r.decoded.push_back(std::move(picture));
  }
  return r;
}

// CPU seconds of one ffmpeg run, the least of a few; fails loudly.
double Ffmpeg(const QStringList& args) {
  return vocapost::bench::LeastChildCpu(
      "ffmpeg", QStringList{"-v", "error", "-y", "-threads", "1"} + args,
      kRepeats, 600000);
}

QJsonObject Side(double compress_ms, double decompress_ms, double bytes,
                 const PictureScore& score) {
  return {{"compress_ms", compress_ms},
          {"decompress_ms", decompress_ms},
          {"bytes_per_frame", bytes},
          {"psnr_db", score.psnr_db},
          {"ssim", score.ssim}};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qt(argc, argv);
  const QStringList args = qt.arguments();
  if (args.size() != 6) {
    std::fprintf(stderr, "usage: %s CLIP.bgr W H BUDGET WORKDIR\n", argv[0]);
    return 2;
  }
  const int w = args[2].toInt(), h = args[3].toInt();
  const double budget = args[4].toDouble();
  const QString work = args[5];
  const Frames clip = ReadFrames(args[1], w, h);
  if (clip.size() < 2) return 1;
  OursResult ours = RunOurs(clip, w, h, budget);
  for (int i = 1; i < kRepeats; ++i) {  // the least time of a few runs
    const OursResult again = RunOurs(clip, w, h, budget);
    ours.compress_s = std::min(ours.compress_s, again.compress_s);
    ours.decompress_s = std::min(ours.decompress_s, again.decompress_s);
  }
  const double n = static_cast<double>(ours.taken.size());
  Frames taken;
  QFile source(work + "/taken.bgr");
  if (n == 0 || !source.open(QIODevice::WriteOnly)) return 1;
  for (size_t k : ours.taken) {
    taken.push_back(clip[k]);
    source.write(reinterpret_cast<const char*>(clip[k].data()),
                 static_cast<qint64>(clip[k].size()));
  }
  source.close();
  const double seconds = static_cast<double>(clip.size()) / kTicksPerSecond;
  const double fps = n / seconds, video_bytes_per_s = ours.bytes / seconds;
  // Theirs gets the same frames, frame rate and codec bytes a second.
  const QString bits = QString::number(std::lround(video_bytes_per_s * 8));
  const QStringList input{"-f",  "rawvideo", "-pix_fmt", "bgr24",
                          "-s",  QString("%1x%2").arg(w).arg(h),
                          "-r",  QString::number(fps, 'f', 6),
                          "-i",  work + "/taken.bgr"};
  const QStringList vp8{"-c:v", "libvpx", "-deadline", "realtime",
                        "-cpu-used", "8", "-g", "51", "-b:v", bits,
                        "-minrate", bits, "-maxrate", bits, "-f", "ivf"};
  const QString ivf = work + "/theirs.ivf", decoded = work + "/theirs.bgr";
  const double one = Ffmpeg(input + QStringList{"-frames:v", "1"} + vp8 +
                            QStringList{work + "/one.ivf"});
  const double all = Ffmpeg(input + vp8 + QStringList{ivf});
  const QStringList to_bgr{"-f", "rawvideo", "-pix_fmt", "bgr24"};
  const double dec_one = Ffmpeg(QStringList{"-i", ivf, "-frames:v", "1"} +
                                to_bgr + QStringList{work + "/one.bgr"});
  const double dec_all =
      Ffmpeg(QStringList{"-i", ivf} + to_bgr + QStringList{decoded});
  const Frames theirs = ReadFrames(decoded, w, h);
  // The ivf container adds 32 bytes and 12 a frame; the stream is what counts.
  const double their_bytes =
      (static_cast<double>(QFile(ivf).size()) - 32) /
          std::max<double>(1, static_cast<double>(theirs.size())) -
      12;
  const double per = std::max(1.0, n - 1);
  const QJsonObject row{
      {"width", w},
      {"height", h},
      {"budget", budget},
      {"frames", n},
      {"fps", fps},
      {"ours", Side(1000 * ours.compress_s / per, 1000 * ours.decompress_s / per,
                    ours.bytes / n, Score(taken, ours.decoded, w, h))},
      {"theirs",
       Side(1000 * std::max(0.0, all - one) / per,
            1000 * std::max(0.0, dec_all - dec_one) / per, their_bytes,
            Score(taken, theirs, w, h))},
  };
  std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).data());
  return 0;
}
