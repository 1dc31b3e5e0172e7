// Turns scripts/bench's report.json into the Markdown table of report.md.
// usage: vocapost_bench_report report.json > report.md
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

QString Num(double value, int decimals = 2) {
  return QString::number(value, 'f', decimals);
}

QString Ratio(double ours, double theirs) {
  return theirs > 0 ? Num(ours / theirs) + "×" : "–";
}

QString Met(bool met) { return met ? "yes" : "**no**"; }

struct Row {
  QString what, ours, theirs, ratio, goal, met;
};

void Table(QTextStream& out, const QStringList& head,
           const std::vector<QStringList>& rows) {
  out << "| " << head.join(" | ") << " |\n|";
  for (qsizetype i = 0; i < head.size(); ++i) out << " --- |";
  out << "\n";
  for (const QStringList& row : rows) out << "| " << row.join(" | ") << " |\n";
  out << "\n";
}

QStringList Cells(const Row& r) {
  return {r.what, r.ours, r.theirs, r.ratio, r.goal, r.met};
}

std::vector<QStringList> ProgramRows(const QJsonObject& program) {
  const QJsonObject rec = program["record"].toObject(),
                    play = program["play"].toObject();
  const QJsonObject ro = rec["ours"].toObject(), rt = rec["theirs"].toObject(),
                    po = play["ours"].toObject(),
                    pt = play["theirs"].toObject();
  const auto cpu = [](const QJsonObject& o) { return o["cpu_pct"].toDouble(); };
  const auto rss = [](const QJsonObject& o) { return o["rss_mb"].toDouble(); };
  return {
      Cells({"Recording 60 s, 240×180, 30000 B/s: CPU, % of one core",
             Num(cpu(ro)), Num(cpu(rt)) + " (ffmpeg VP8 + GSM, real time)",
             Ratio(cpu(ro), cpu(rt)), "≤ 3 %", Met(cpu(ro) <= 3)}),
      Cells({"Recording: peak resident memory, MB", Num(rss(ro), 1),
             Num(rss(rt), 1), Ratio(rss(ro), rss(rt)), "≤ 60 MB",
             Met(rss(ro) <= 60)}),
      Cells({"Playback of that message: CPU, % of one core", Num(cpu(po)),
             Num(cpu(pt)) + " (mpv, our WebM export)", Ratio(cpu(po), cpu(pt)),
             "≤ 2 %", Met(cpu(po) <= 2)}),
      Cells({"Playback: peak resident memory, MB", Num(rss(po), 1),
             Num(rss(pt), 1), Ratio(rss(po), rss(pt)), "≤ 60 MB",
             Met(rss(po) <= 60)}),
      Cells({"Playback: largest lag of a picture behind its sound, ms "
             "(mean)",
             Num(po["lag_ms"].toDouble(), 0) + " (" +
                 Num(po["mean_lag_ms"].toDouble(), 0) + ")",
             "–", "–", "the record layout's bound, below", "see below"}),
  };
}

std::vector<QStringList> StartupRows(const QJsonObject& s) {
  const double bare = s["bare"].toObject()["median_ms"].toDouble();
  std::vector<QStringList> rows;
  const std::pair<const char*, const char*> kinds[] = {
      {"recorder_cold", "Start-up to the Recorder shown, cold, ms"},
      {"recorder_warm", "Start-up to the Recorder shown, warm, ms"},
      {"file_cold", "vocapost FILE.vrc to its first picture, cold, ms"},
      {"file_warm", "vocapost FILE.vrc to its first picture, warm, ms"}};
  for (const auto& [key, what] : kinds) {
    const double ms = s[key].toObject()["median_ms"].toDouble();
    const bool recorder = QString(key).startsWith("recorder");
    rows.push_back(Cells({what, Num(ms, 1), Num(bare, 1) + " (bare Qt window)",
                          Ratio(ms, bare), recorder ? "≤ 1.5×" : "–",
                          recorder ? Met(ms <= 1.5 * bare) : "–"}));
  }
  const double label = s["bare_label"].toObject()["median_ms"].toDouble();
  rows.push_back(Cells({"For reference: a bare Qt window with one label, ms",
                        Num(label, 1), Num(bare, 1) + " (bare Qt window)",
                        Ratio(label, bare), "–", "–"}));
  return rows;
}

std::vector<QStringList> SummaryRows(const QJsonObject& report) {
  std::vector<QStringList> rows = ProgramRows(report["program"].toObject());
  for (QStringList& r : StartupRows(report["startup"].toObject()))
    rows.push_back(r);
  const QJsonArray video = report["video"].toArray();
  int faster = 0, sharper = 0, decodes = 0;
  for (const QJsonValue& v : video) {
    const QJsonObject o = v["ours"].toObject(), t = v["theirs"].toObject();
    faster += o["compress_ms"].toDouble() <= t["compress_ms"].toDouble();
    decodes += o["decompress_ms"].toDouble() <= t["decompress_ms"].toDouble();
    sharper += o["psnr_db"].toDouble() >= t["psnr_db"].toDouble();
  }
  const QString n = QString::number(video.size());
  rows.push_back(Cells({"Video codec: rows with compress time ratio ≤ 1.0",
                        QString::number(faster) + " of " + n, "libvpx (ffmpeg)",
                        "–", "all", Met(faster == video.size())}));
  rows.push_back(Cells({"Video codec: rows with decompress time ratio ≤ 1.0",
                        QString::number(decodes) + " of " + n,
                        "libvpx (ffmpeg)", "–", "all",
                        Met(decodes == video.size())}));
  rows.push_back(Cells({"Video codec: rows with PSNR not lower",
                        QString::number(sharper) + " of " + n,
                        "libvpx (ffmpeg)", "–", "all",
                        Met(sharper == video.size())}));
  const QJsonObject so = report["sound"]["ours"].toObject(),
                    st = report["sound"]["theirs"].toObject();
  for (const auto& [key, what] :
       {std::pair{"encode_ms", "GSM encode of 60 s, ms"},
        std::pair{"decode_ms", "GSM decode of 60 s, ms"}}) {
    rows.push_back(Cells({what, Num(so[key].toDouble(), 1),
                          Num(st[key].toDouble(), 1) + " (sox)",
                          Ratio(so[key].toDouble(), st[key].toDouble()), "–",
                          "–"}));
  }
  rows.push_back(Cells({"GSM signal-to-noise of the decoded sound, dB",
                        Num(so["snr_db"].toDouble()),
                        Num(st["snr_db"].toDouble()) + " (sox)",
                        Ratio(so["snr_db"].toDouble(), st["snr_db"].toDouble()),
                        "not lower",
                        Met(so["snr_db"].toDouble() >=
                            st["snr_db"].toDouble() - 0.01)}));
  const QJsonObject p = report["packages"].toObject();
  for (const auto& [key, what, peer] :
       {std::tuple{"build", "Package of a 2,000,000-byte message, ms", "tar cf"},
        std::tuple{"extract", "Its extraction, ms", "tar xf"},
        std::tuple{"info", "vocapost-msg info on 1,000 messages, ms",
                   "ffprobe on 1,000 WebM exports"}}) {
    const double o = p[key]["ours_ms"].toDouble(),
                 t = p[key]["theirs_ms"].toDouble();
    rows.push_back(Cells({what, Num(o, 1), Num(t, 1) + " (" + peer + ")",
                          Ratio(o, t), "–", "–"}));
  }
  return rows;
}

std::vector<QStringList> VideoRows(const QJsonArray& video) {
  std::vector<QStringList> rows;
  const auto pair = [](const QJsonObject& o, const QJsonObject& t,
                       const char* key, int decimals, bool ratio) {
    const double a = o[key].toDouble(), b = t[key].toDouble();
    return Num(a, decimals) + " / " + Num(b, decimals) +
           (ratio ? " (" + Ratio(a, b) + ")" : "");
  };
  for (const QJsonValue& v : video) {
    const QJsonObject o = v["ours"].toObject(), t = v["theirs"].toObject();
    rows.push_back(
        {v["clip"].toString(),
         QString("%1×%2").arg(v["width"].toInt()).arg(v["height"].toInt()),
         Num(v["budget"].toDouble(), 0), Num(v["fps"].toDouble()),
         pair(o, t, "compress_ms", 3, true),
         pair(o, t, "decompress_ms", 3, true),
         pair(o, t, "bytes_per_frame", 0, true), pair(o, t, "psnr_db", 2, false),
         pair(o, t, "ssim", 3, false)});
  }
  return rows;
}

constexpr char kNotes[] =
    "How it was measured. The whole program: `vocapost` under Xvfb with "
    "VOCAPOST_CAPTURE=test-pattern, VOCAPOST_AUDIO=test-tone and "
    "VOCAPOST_AUDIO_OUT=discard, driven by xdotool (size 240×180 from the "
    "video menu, Record, Stop); CPU is user + system time from "
    "/proc/PID/stat over the 60 s between Record and Stop, and for playback "
    "from the Viewer shown to the program's end; memory is VmHWM. ffmpeg "
    "records testsrc2 and a sine tone to VP8 (real time, cpu-used 8, our "
    "bytes a second) and GSM in real time (-re); mpv plays our WebM export "
    "(--vo=x11 --ao=null); both are measured over their whole run by "
    "/usr/bin/time. Start-up is the median of 20 launches from exec to the "
    "line in the program's window log (VOCAPOST_WINDOW_LOG: \"shown "
    "MKERForm1\", \"drawn Viewer\").\n\n"
    "The lag of a picture behind its sound comes from the player engine on "
    "the same test devices in process (vocapost_playback_bench, a 30 s "
    "recording at 30000 B/s): the time from drawing each frame to the start "
    "of the sound record stored before it. A message file has no time "
    "stamps: a picture can only stand between two sound records, each "
    "0.68 s of sound (17 GSM blocks), written when the block is full, and "
    "frames reach the file four frames late through the delay ring. Where a "
    "picture belongs within the sound is therefore known to one sound "
    "record, so the layout allows lags up to 680 ms plus one 50 ms tick; "
    "the player draws each frame as soon as it reads it, right after "
    "queueing the sound before it, which keeps it within that bound.\n\n";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qt(argc, argv);
  QFile file(argc > 1 ? argv[1] : "report.json");
  if (!file.open(QIODevice::ReadOnly)) return 1;
  const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
  const QJsonObject m = report["machine"].toObject();
  QTextStream out(stdout);
  out << "# Vocapost benchmark report\n\n"
      << "Machine: " << m["cpu"].toString() << ", " << m["cores"].toInt()
      << " cores, " << m["os"].toString() << " (Linux "
      << m["kernel"].toString() << "), " << m["display"].toString()
      << "; commit " << m["commit"].toString() << ", " << m["date"].toString()
      << "; the run took " << m["wall_s"].toInt() << " s.\n\n";
  Table(out, {"What", "Vocapost", "Peer", "Ours ÷ peer", "Goal", "Met"},
        SummaryRows(report));
  out << kNotes;
  out << "## Video: our codec / ffmpeg's libvpx VP8 (real time, cpu-used 8, "
         "same frames, frame rate and bytes a second)\n\n"
      << "The budget is the recording's bytes a second; its rate test picks "
         "the frames, as a recording would, from 20 s at 20 frames a second. "
         "Times are per frame after the first (ffmpeg's: CPU time of a run less "
         "that of a one-frame run; ours: the time inside the codec, one "
         "thread each); ours include the BGR ↔ YUV conversion, ffmpeg's its "
         "swscale conversion. With the 2000 B/s budget only two or three "
         "frames are taken, so those rows' times say little.\n\n";
  Table(out,
        {"Clip", "Size", "Budget B/s", "Frames/s", "Compress ms", "Decompress ms",
         "Bytes/frame", "PSNR dB", "SSIM"},
        VideoRows(report["video"].toArray()));
  return 0;
}
