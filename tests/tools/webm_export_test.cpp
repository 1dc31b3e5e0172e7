// WebM export checked with FFmpeg's own tools against the program's decoder
// and its player.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QTimer>
#include <QtEndian>
#include <deque>

#include "message/message_writer.h"
#include "messages/error_form.h"
#include "msg_commands.h"
#include "platform/codec/bitmap_header.h"
#include "platform/wave/gsm_codec.h"
#include "platform/window_message/window_message.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/file_size_limit.h"
#include "support/tone.h"

namespace vocapost {
namespace {

constexpr double kToneHz = 440;
constexpr int64_t kTick = 400;  // samples in one 50 ms tick

struct PlayerRun {
  std::vector<int64_t> frame_times;   // samples from the first tick
  std::vector<int64_t> sound_starts;  // one per audio record
  int64_t end = 0;
};

QByteArray RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
  EXPECT_EQ(process.exitCode(), 0)
      << program.toStdString() << ": " << process.readAllStandardError().data();
  return process.readAllStandardOutput();
}

// What ffprobe shows of `webm`, one line per entry.
QStringList Probe(const QString& webm, const QStringList& entries) {
  return QString::fromUtf8(
             RunTool("ffprobe", QStringList{"-v", "error"} + entries +
                                    QStringList{"-of", "csv=p=0", webm}))
      .split('\n', Qt::SkipEmptyParts);
}

class WebmExportTest : public testing::AppTest {
 protected:
  WebmExportTest() { EXPECT_EQ(Start(), StartResult::kRunning); }
  MKERForm1& recorder() { return *app_->recorder(); }

  // A recording by the program's own codec at the size of `size_button`
  // and a 440 Hz tone: before each run of frames one audio record of 0.68 s
  // (none for a negative run).
  QByteArray Record(const QString& name, const std::vector<int>& runs,
                    int size_button = 10) {
    recorder().Command(size_button)->Press();
    GsmEncoder gsm;
    sound_.clear();
    vp8_.clear();
    MessageWriter writer;
    EXPECT_TRUE(writer.BeginFile(name));
    size_t sample = 0;
    for (const int frames : runs) {
      if (frames >= 0) {
        const std::vector<int16_t> tone =
            testing::Tone(kToneHz, 17 * kGsmBlockSamples, 8000, sample);
        sample += tone.size();
        sound_.push_back(gsm.Encode(tone.data(), tone.size()));
        EXPECT_TRUE(writer.AppendAudio(sound_.back()));
      }
      for (int i = 0; i < std::abs(frames); ++i) {
        const int32_t length = app_->video().CompressCurrentFrame();
        EXPECT_GT(length, kFrameHeaderBytes + 1);
        const QByteArray frame(
            reinterpret_cast<const char*>(app_->video().compressed_frame()),
            length);
        vp8_ << frame.mid(kFrameHeaderBytes, length - kFrameHeaderBytes - 1);
        EXPECT_TRUE(writer.AppendVideo(frame));
      }
    }
    EXPECT_TRUE(writer.Finish());
    return temp_.ReadFile(name.toStdString());
  }

  // Plays `name` with the program's player, tick by tick, on a sound card
  // that plays the blocks handed to it back to back.
  PlayerRun Play(const QString& name) {
    PlayerRun run;
    wave_.played_sizes.clear();
    recorder().ShowRecordingName(name);
    recorder().Command4()->Press();
    app_->viewer()->Timer1()->stop();
    std::deque<int64_t> playing;
    int64_t now = 0, card_end = 0;
    intptr_t reported = 0;
    size_t handed = 0;
    while (app_->state().activity.is_playing == 1 && now < 60 * 8000) {
      while (!playing.empty() && playing.front() <= now) {
        playing.pop_front();
        QCoreApplication::postEvent(
            wave_.window,
            new WindowMessageEvent(kPlayedBlockMessage, 0, ++reported));
      }
      QCoreApplication::processEvents();
      const qint64 before = app_->viewer()->Picture2()->pixmap().cacheKey();
      app_->viewer()->player_tick();
      if (app_->viewer()->Picture2()->pixmap().cacheKey() != before)
        run.frame_times.push_back(now);
      for (; handed < wave_.played_sizes.size(); ++handed) {
        const int64_t start = std::max(now, card_end);
        run.sound_starts.push_back(start);
        card_end = start + wave_.played_sizes[handed] / kGsmBlockBytes *
                               kGsmBlockSamples;
        playing.push_back(card_end);
      }
      now += kTick;
    }
    run.end = std::max(now - kTick, card_end);
    return run;
  }

  // The sound from time 0 on, silence before its first packet's time.
  static std::vector<int16_t> FfmpegSound(const QString& webm) {
    const QByteArray pcm =
        RunTool("ffmpeg", {"-v", "error", "-copyts", "-i", webm, "-map",
                           "0:a:0", "-af", "aresample=async=1:first_pts=0",
                           "-f", "s16le", "-ac", "1", "-ar", "8000", "-"});
    std::vector<int16_t> samples(static_cast<size_t>(pcm.size() / 2));
    std::memcpy(samples.data(), pcm.constData(), samples.size() * 2);
    return samples;
  }

  // The recorded sound where the player played it, silence in its pauses.
  std::vector<int16_t> PlayedSound(const PlayerRun& played) const {
    GsmDecoder gsm;
    std::vector<int16_t> sound(static_cast<size_t>(played.end), 0);
    for (size_t i = 0; i < sound_.size(); ++i) {
      const std::vector<int16_t> samples =
          gsm.Decode(reinterpret_cast<const uint8_t*>(sound_[i].constData()),
                     static_cast<size_t>(sound_[i].size()));
      std::copy(samples.begin(), samples.end(),
                sound.begin() + played.sound_starts[i]);
    }
    return sound;
  }

  // Exports a recording of `runs` and checks the tracks against what the
  // player shows and plays, at the same times.
  void ExpectInStep(const std::vector<int>& runs, const QStringList& streams) {
    SCOPED_TRACE(streams.join(' ').toStdString());
    Record("m.vrc", runs);
    ASSERT_EQ(tool::Export("m.vrc", "m.webm", out_, err_), tool::kOk)
        << err_text_.toStdString();
    const PlayerRun played = Play("m.vrc");
    ASSERT_EQ(played.frame_times.size(), static_cast<size_t>(vp8_.size()));
    // The tracks, then the length, which is the player's.
    QStringList probed = Probe(
        "m.webm",
        {"-show_entries", "stream=codec_name,width,height:format=duration"});
    EXPECT_NEAR(probed.takeLast().toDouble(), played.end / 8000.0, 0.05);
    EXPECT_EQ(probed, streams);
    // The frame on screen at any time is the player's: same times, the VP8
    // data untouched.
    QStringList frames;
    for (qsizetype i = 0; i < vp8_.size(); ++i)
      frames << QString("%1,MD5:%2")
                    .arg(played.frame_times[i] / 8000.0, 0, 'f', 6)
                    .arg(QCryptographicHash::hash(vp8_[i],
                                                  QCryptographicHash::Md5)
                             .toHex());
    EXPECT_EQ(
        Probe("m.webm", {"-select_streams", "v:0", "-show_data_hash", "MD5",
                         "-show_entries", "packet=pts_time,data_hash"}),
        frames);
    if (played.sound_starts.empty()) return;

    const std::vector<int16_t> expected = PlayedSound(played);
    const std::vector<int16_t> sound = FfmpegSound("m.webm");
    ASSERT_GE(sound.size(), expected.size() - kTick);
    double both = 0, own = 0, theirs = 0;
    for (size_t i = 0; i < std::min(sound.size(), expected.size()); ++i) {
      both += double(sound[i]) * expected[i];
      own += double(expected[i]) * expected[i];
      theirs += double(sound[i]) * sound[i];
    }
    EXPECT_GT(both / std::sqrt(own * theirs), 0.9) << "sound out of step";
    EXPECT_NEAR(10 * std::log10(theirs / own), 0, 3) << "sound level";
  }

  std::vector<QByteArray> sound_;  // the recorded sound records
  QByteArrayList vp8_;             // and the VP8 data of its frames
  QString out_text_, err_text_;
  QTextStream out_{&out_text_}, err_{&err_text_};
};

// Runs of frames shorter and longer than the sound that paces them: the
// 20-frame run outlasts its 0.68 s of sound and leaves a pause.
TEST_F(WebmExportTest, ExportPlaysInStepAsThePlayerPlaysIt) {
  ExpectInStep({6, 14, 20, 3, 9}, {"vp8,240,180", "opus"});
}

// One player per test: the sound-only message is played first.
TEST_F(WebmExportTest, MessageWithoutVideoOrSoundGivesOneTrack) {
  ExpectInStep({0, 0, 0}, {"opus"});
  ExpectInStep({-8}, {"vp8,240,180"});
}

// A new picture size starts on its key frame; a cut-off last record is left
// out and told; a failed export says why and leaves nothing.
TEST_F(WebmExportTest, ExportTakesTheWholeRecordsOrSaysWhyNot) {
  const QByteArray small = Record("s.vrc", {-3}, 8);
  const QByteArray large = Record("l.vrc", {-3}, 10);  // a key frame first
  const QByteArray sound = Record("a.vrc", {2});
  const auto after_key = [](const QByteArray& message) {
    return message.mid(10 +
                       RecordLength(QString::fromLatin1(message.left(10))));
  };
  // Difference frames whose header gives another height only.
  QByteArray taller = after_key(small);
  qToLittleEndian<qint32>(90, taller.data() + 10 + 8);
  const QStringList small_pictures(3, "160,120");
  const QString cannot_write = "vocapost-msg: cannot write out/";
  std::filesystem::create_directories(temp_.home() / "out");
  const struct {
    QByteArray message;    // none when null
    QStringList pictures;  // none when the export fails
    QString says = {};
    QString webm = "out/m.webm";
    rlim_t disk = RLIM_INFINITY;
  } cases[] = {
      {small + large, small_pictures + QStringList(3, "240,180")},
      {small + after_key(large), small_pictures},
      {small + taller, small_pictures},
      {small + large.left(100), small_pictures,
       QString("vocapost-msg: m.vrc: not exported: the last 100 of %1 bytes, "
               "from offset %2, which hold no whole record\n")
           .arg(small.size() + 100)
           .arg(small.size())},
      {{}, {}, "vocapost-msg: cannot read m.vrc\n"},
      {"JUNK      and more",
       {},
       "vocapost-msg: m.vrc: not a Vocapost message (no whole record at its "
       "start)\n"},
      {sound, {}, cannot_write + "missing/m.webm: ", "out/missing/m.webm"},
      {sound, {}, cannot_write + "m.webm: ", "out/m.webm", 4000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    std::filesystem::remove(temp_.home() / "m.vrc");
    if (!c.message.isNull()) temp_.WriteFile("m.vrc", c.message);
    err_text_.clear();
    int code = 0;
    {
      const testing::FileSizeLimit disk(c.disk);
      code = tool::Export("m.vrc", c.webm, out_, err_);
    }
    if (c.pictures.isEmpty()) {
      EXPECT_EQ(code, tool::kFailed);
      EXPECT_TRUE(err_text_.startsWith(c.says)) << err_text_.toStdString();
      EXPECT_TRUE(QDir("out").isEmpty());
      continue;
    }
    EXPECT_EQ(code, tool::kOk);
    EXPECT_EQ(err_text_, c.says);
    EXPECT_EQ(Probe(c.webm, {"-show_entries", "frame=width,height"}),
              c.pictures);
    std::filesystem::remove(temp_.home() / "out" / "m.webm");
  }
}

TEST_F(WebmExportTest, MessageListsExportThroughTheSaveDialog) {
  Record("05143012.vrc", {4});
  recorder().File2()->Refresh();
  recorder().File2()->SetListIndex(0);
  const QString chosen = QDir::current().filePath("exported.webm");
  QString offered;
  QTimer::singleShot(0, [&] {
    auto* dialog =
        qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    offered = dialog->selectedFiles().value(0);
    dialog->selectFile(chosen);
    static_cast<QDialog*>(dialog)->accept();  // the file dialog's own checks
  });
  recorder().findChild<QAction*>("mnuExportDelete")->trigger();
  EXPECT_TRUE(offered.endsWith("/05143012.webm")) << offered.toStdString();
  ASSERT_NE(app_->messages().error_form(), nullptr);
  EXPECT_EQ(app_->messages().error_form()->Label1()->text(),
            "Exported to " + chosen + ".");
  EXPECT_EQ(Probe(chosen, {"-show_entries", "stream=codec_name"}),
            QStringList({"vp8", "opus"}));
}

}  // namespace
}  // namespace vocapost
