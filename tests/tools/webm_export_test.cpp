// WebM export checked with FFmpeg's own tools against the program's decoder
// and its player.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QtEndian>
#include <deque>
#include <numeric>

#include "message/message_writer.h"
#include "messages/error_form.h"
#include "msg_commands.h"
#include "platform/wave/gsm_codec.h"
#include "platform/window_message/window_message.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/file_size_limit.h"
#include "support/run_process.h"
#include "support/tone.h"

namespace vocapost {
namespace {

constexpr int64_t kTick = 400;  // samples in one 50 ms tick

QByteArray RunTool(const QString& program, const QStringList& args) {
  const testing::ProcessResult run = testing::RunProcess(program, args);
  EXPECT_EQ(run.code, 0) << program.toStdString() << ": " << run.err.data();
  return run.out;
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

  // A recording by the program's own codec at the size of `size_button`
  // and a 440 Hz tone: before each run of frames one audio record of 0.68 s
  // (none for a negative run).
  QByteArray Record(const QString& name, const std::vector<int>& runs,
                    int size_button = 10) {
    recorder().Command(size_button)->Press();
    GsmEncoder encoder;
    GsmDecoder decoder;
    sound_.clear();
    MessageWriter writer;
    EXPECT_TRUE(writer.BeginFile(name));
    size_t sample = 0;
    for (const int frames : runs) {
      if (frames >= 0) {
        const auto tone =
            testing::Tone(440, 17 * kGsmBlockSamples, 8000, sample);
        sample += tone.size();
        const QByteArray gsm = encoder.Encode(tone.data(), tone.size());
        sound_.push_back(decoder.Decode(
            reinterpret_cast<const uint8_t*>(gsm.constData()), gsm.size()));
        EXPECT_TRUE(writer.AppendAudio(gsm));
      }
      for (int i = 0; i < std::abs(frames); ++i) {
        const int32_t length = app_->video().CompressCurrentFrame();
        EXPECT_TRUE(writer.AppendVideo(QByteArray(
            reinterpret_cast<const char*>(app_->video().compressed_frame()),
            length)));
      }
    }
    EXPECT_TRUE(writer.Finish());
    return temp_.ReadFile(name.toStdString());
  }

  // Plays `name` with the program's player, tick by tick, on a sound card
  // that plays the blocks handed to it back to back. Gives the frames'
  // times, the sound records' starts and the end, in samples.
  std::vector<int64_t> Play(const QString& name, std::vector<int64_t>& starts,
                            int64_t& end) {
    std::vector<int64_t> frame_times;
    wave_.played_sizes.clear();
    recorder().ShowRecordingName(name);
    recorder().Command4()->Press();
    app_->viewer()->Timer1()->stop();
    std::deque<int64_t> playing;
    int64_t now = 0, card_end = 0;
    size_t handed = 0;
    const auto played_until = [&](int64_t time) {
      for (; !playing.empty() && playing.front() <= time; playing.pop_front())
        QCoreApplication::postEvent(
            wave_.window,
            new WindowMessageEvent(kPlayedBlockMessage, 0, ++reported_));
      QCoreApplication::processEvents();
    };
    for (; app_->state().activity.is_playing == 1 && now < 60 * 8000;
         now += kTick) {
      played_until(now);
      const qint64 before = app_->viewer()->Picture2()->pixmap().cacheKey();
      app_->viewer()->player_tick();
      if (app_->viewer()->Picture2()->pixmap().cacheKey() != before)
        frame_times.push_back(now);
      for (; handed < wave_.played_sizes.size(); ++handed) {
        starts.push_back(std::max(now, card_end));
        card_end = starts.back() + wave_.played_sizes[handed] / kGsmBlockBytes *
                                       kGsmBlockSamples;
        playing.push_back(card_end);
      }
    }
    played_until(card_end);  // the card plays on after the player ends
    end = std::max(now - kTick, card_end);
    return frame_times;
  }

  // Exports a recording of `runs` and checks the tracks against what the
  // player shows and plays, at the same times.
  void ExpectInStep(const std::vector<int>& runs, const QStringList& streams) {
    SCOPED_TRACE(streams.join(' ').toStdString());
    Record("m.vrc", runs);
    ASSERT_EQ(Export("m.webm"), tool::kOk) << err_text_.toStdString();
    std::vector<int64_t> starts;
    int64_t end = 0;
    const std::vector<int64_t> times = Play("m.vrc", starts, end);
    // The tracks, then the length, which is the player's.
    QStringList probed = Probe(
        "m.webm",
        {"-show_entries", "stream=codec_name,width,height:format=duration"});
    ASSERT_FALSE(probed.isEmpty());
    EXPECT_NEAR(probed.takeLast().toDouble(), end / 8000.0, 0.05);
    EXPECT_EQ(probed, streams);
    // The frame on screen at any time is the player's.
    QStringList frames;
    for (const int64_t time : times)
      frames << QString::number(time / 8000.0, 'f', 6);
    EXPECT_EQ(Probe("m.webm", {"-select_streams", "v:0", "-show_entries",
                               "packet=pts_time"}),
              frames);
    if (starts.empty()) return;
    // The sound from time 0 on, silence before its first packet's time,
    // against the recorded sound where the player played it.
    const QByteArray pcm =
        RunTool("ffmpeg", {"-v", "error", "-copyts", "-i", "m.webm", "-map",
                           "0:a:0", "-af", "aresample=async=1:first_pts=0",
                           "-f", "s16le", "-ac", "1", "-ar", "8000", "-"});
    const auto* sound = reinterpret_cast<const int16_t*>(pcm.constData());
    std::vector<int16_t> expected(static_cast<size_t>(end), 0);
    for (size_t i = 0; i < sound_.size(); ++i)
      std::copy(sound_[i].begin(), sound_[i].end(),
                expected.begin() + starts[i]);
    const size_t length = std::min<size_t>(pcm.size() / 2, expected.size());
    ASSERT_GE(length + kTick, expected.size());
    const auto dot = [&](const int16_t* a, const int16_t* b) {
      return std::inner_product(a, a + length, b, 0.0);
    };
    const double both = dot(sound, expected.data()), theirs = dot(sound, sound),
                 own = dot(expected.data(), expected.data());
    EXPECT_GT(both / std::sqrt(own * theirs), 0.9) << "sound out of step";
    EXPECT_NEAR(10 * std::log10(theirs / own), 0, 3) << "sound level";
  }
  int Export(const QString& webm) {
    err_text_.clear();
    return tool::Export("m.vrc", webm, out_, err_);
  }

  std::vector<std::vector<int16_t>> sound_;  // the recorded sound, decoded
  // Played blocks are told apart by number, as a card's headers are, across
  // plays too.
  intptr_t reported_ = 0;
  QString out_text_, err_text_;
  QTextStream out_{&out_text_}, err_{&err_text_};
};

// Runs of frames shorter and longer than the sound that paces them: the
// 20-frame run outlasts its 0.68 s of sound and leaves a pause.
// A message without pictures is sound alone.
TEST_F(WebmExportTest, ExportPlaysInStepAsThePlayerPlaysIt) {
  ExpectInStep({0, 0, 0}, {"opus"});
  ExpectInStep({6, 14, 20, 3, 9}, {"vp8,240,180", "opus"});
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
  const QStringList small3(3, "160,120");
  const QString cannot_write = "vocapost-msg: cannot write out/";
  std::filesystem::create_directories(temp_.home() / "out");
  const struct {
    QByteArray message;    // none when null
    QStringList pictures;  // none when the export fails
    QString says = {};
    QString webm = "out/m.webm";
    rlim_t disk = RLIM_INFINITY;
  } cases[] = {
      {small + large, small3 + QStringList(3, "240,180")},
      {small + after_key(large), small3},
      {small + taller, small3},
      {small + large.left(100), small3,
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
    const int code = [&] {
      const testing::FileSizeLimit disk(c.disk);
      return Export(c.webm);
    }();
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
