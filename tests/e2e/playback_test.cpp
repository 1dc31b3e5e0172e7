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

using testing::ProgramRun;

class PlaybackE2eTest : public testing::HomeTest {};

// The program ends by itself after the playback, in play mode without the
// start-up picture or the Recorder.
TEST_F(PlaybackE2eTest, MessageOnTheCommandLinePlaysItsSoundAndEndsTheProgram) {
  // Two seconds of a 440 Hz tone as three audio records.
  const std::vector<int16_t> tone = testing::Tone(440, 5440 * 3);
  const QByteArray coded = GsmEncoder().Encode(tone.data(), tone.size());
  MessageWriter writer;
  ASSERT_TRUE(writer.BeginFile("05143012.vrc"));
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(writer.AppendAudio(coded.mid(i * 1105, 1105)));
  ASSERT_TRUE(writer.Finish());
  const QString out =
      QString::fromStdString((temp_.root() / "played.wav").string());
  ProgramRun run(temp_, temp_.home());
  run.SetEnvironment("VOCAPOST_AUDIO_OUT", "wav:" + out);
  run.Launch({"05143012.vrc"});
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(temp_.home() / "popplay.txt"));
  EXPECT_EQ(run.Windows(), "shown\tViewer\nhidden\tViewer\n");
  EXPECT_EQ(run.Messages(), "");

  // The decoded file, from its first sound on, is played whole.
  const std::vector<int16_t> expected = GsmDecoder().Decode(
      reinterpret_cast<const uint8_t*>(coded.constData()), coded.size());
  const auto sound = std::find_if(expected.begin(), expected.end(),
                                  [](int16_t s) { return s != 0; });
  const auto played = ReadWavSamples(out);
  ASSERT_TRUE(played.has_value());
  EXPECT_NE(std::search(played->begin(), played->end(), sound, expected.end()),
            played->end());
}

}  // namespace
}  // namespace vocapost
