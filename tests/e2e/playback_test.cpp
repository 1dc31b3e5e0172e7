// The real program playing a message it was given, on the test devices
// with the played sound kept in a WAV file.
#include <gtest/gtest.h>

#include "e2e/program_run.h"
#include "message/message_writer.h"
#include "platform/wave/gsm_codec.h"
#include "platform/wave/wav_file.h"
#include "support/tone.h"

namespace vocapost {
namespace {

using testing::Eventually;
using testing::ProgramRun;

class PlaybackE2eTest : public testing::HomeTest {
 protected:
  // Two seconds of a 440 Hz tone as three audio records.
  QByteArray MakeMessage(const std::string& name) {
    const std::vector<int16_t> tone = testing::Tone(440, 5440 * 3);
    GsmEncoder encoder;
    const QByteArray coded = encoder.Encode(tone.data(), tone.size());
    MessageWriter writer;
    EXPECT_TRUE(writer.BeginFile(
        QString::fromStdString((temp_.home() / name).string())));
    for (int i = 0; i < 3; ++i)
      EXPECT_TRUE(writer.AppendAudio(coded.mid(i * 1105, 1105)));
    EXPECT_TRUE(writer.Finish());
    return coded;
  }
};

TEST_F(PlaybackE2eTest, MessageOnTheCommandLinePlaysItsSoundAndEndsTheProgram) {
  const QByteArray coded = MakeMessage("05143012.vrc");
  const QString out =
      QString::fromStdString((temp_.root() / "played.wav").string());
  ProgramRun run(temp_, temp_.home());
  run.SetEnvironment("VOCAPOST_AUDIO_OUT", "wav:" + out);
  run.Launch({"05143012.vrc"});
  ASSERT_TRUE(run.Ended(20000))
      << "the program ends by itself after the playback";
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(temp_.home() / "popplay.txt"));
  EXPECT_TRUE(run.Windows().contains("shown\tViewer\n"));

  GsmDecoder decoder;
  const std::vector<int16_t> expected = decoder.Decode(
      reinterpret_cast<const uint8_t*>(coded.constData()), coded.size());
  const auto played = ReadWavSamples(out);
  ASSERT_TRUE(played.has_value());
  // The sound starts after some silence and is exactly the decoded file.
  const auto start = std::find_if(played->begin(), played->end(),
                                  [](int16_t s) { return s != 0; });
  ASSERT_NE(start, played->end()) << "nothing was heard";
  const auto offset = static_cast<size_t>(start - played->begin());
  const auto first = std::find_if(expected.begin(), expected.end(),
                                  [](int16_t s) { return s != 0; });
  const auto skip = static_cast<size_t>(first - expected.begin());
  ASSERT_GE(played->size(), offset + expected.size() - skip);
  EXPECT_TRUE(std::equal(expected.begin() + static_cast<ptrdiff_t>(skip),
                         expected.end(),
                         played->begin() + static_cast<ptrdiff_t>(offset)));
}

}  // namespace
}  // namespace vocapost
