#include <gtest/gtest.h>

#include <QThread>
#include <mutex>

#include "platform/wave/audio_device.h"
#include "platform/wave/wav_file.h"
#include "support/temp_home.h"
#include "support/tone.h"

namespace vocapost {
namespace {

class AudioDevicesTest : public testing::HomeTest {
 protected:
  QString Path(const char* name) const {
    return QString::fromStdString((temp_.home() / name).string());
  }
};

TEST_F(AudioDevicesTest, WavFilesRoundTripAndAreWholeAfterEveryAppend) {
  const std::vector<int16_t> tone = testing::Tone(440, 1000);
  {
    WavWriter writer(Path("t.wav"));
    writer.Append(tone.data(), 600);
    // Readable while still being written, as after an abrupt end.
    EXPECT_EQ(ReadWavSamples(Path("t.wav")).value().size(), 600u);
    writer.Append(tone.data() + 600, 400);
  }
  EXPECT_EQ(ReadWavSamples(Path("t.wav")).value(), tone);
  const QByteArray wav = temp_.ReadFile("t.wav");
  QByteArray stereo = wav, padded = wav;
  stereo[22] = 2;
  // An odd-sized chunk before the samples is followed by a pad byte.
  padded.insert(36, QByteArray("LIST\x03\0\0\0abc\0", 12));
  temp_.WriteFile("padded.wav", padded);
  EXPECT_EQ(ReadWavSamples(Path("padded.wav")).value(), tone);
  temp_.WriteFile("stereo.wav", stereo);
  temp_.WriteFile("junk.wav", "RIFF....WAVEjunk");
  EXPECT_FALSE(ReadWavSamples(Path("stereo.wav")).has_value());
  EXPECT_FALSE(ReadWavSamples(Path("junk.wav")).has_value());
  EXPECT_FALSE(ReadWavSamples(Path("absent.wav")).has_value());
}

TEST_F(AudioDevicesTest, WavInputPlaysTheFileInRealTimeThenSilence) {
  const std::vector<int16_t> tone = testing::Tone(440, 800, 9000, 0);
  WavWriter(Path("in.wav")).Append(tone.data(), tone.size());
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
  EXPECT_EQ(*std::max_element(got.begin() + 800, got.end()), 0);
}

TEST_F(AudioDevicesTest, NamedChoicesThatCannotWorkDoNotOpen) {
  EXPECT_FALSE(MakeAudioInput("none")->Open());
  EXPECT_FALSE(MakeAudioInput("wav:/absent.wav")->Open());
  EXPECT_FALSE(MakeAudioOutput("speaker-7")->Open());
  EXPECT_FALSE(MakeAudioOutput("wav:/nonexistent-folder/out.wav")->Open());
}

}  // namespace
}  // namespace vocapost
