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
  // What `input` delivers in `ms` of real time.
  static std::vector<int16_t> Listen(AudioInput& input, int ms) {
    std::mutex mutex;
    std::vector<int16_t> got;
    EXPECT_TRUE(input.Start([&](const int16_t* s, size_t n) {
      std::lock_guard lock(mutex);
      got.insert(got.end(), s, s + n);
    }));
    QThread::msleep(ms);
    input.Stop();
    std::lock_guard lock(mutex);
    return got;
  }
};

TEST_F(AudioDevicesTest, WavFilesRoundTripAndAreWholeAfterEveryAppend) {
  const std::vector<int16_t> tone = testing::Tone(440, 1000);
  {
    WavWriter writer(Path("t.wav"));
    ASSERT_TRUE(writer.ok());
    writer.Append(tone.data(), 600);
    // Readable while still being written, as after an abrupt end.
    EXPECT_EQ(ReadWavSamples(Path("t.wav")).value().size(), 600u);
    writer.Append(tone.data() + 600, 400);
  }
  EXPECT_EQ(ReadWavSamples(Path("t.wav")).value(), tone);
}

TEST_F(AudioDevicesTest, OnlyEightKilohertzMonoSixteenBitIsRead) {
  WavWriter(Path("ok.wav")).Append(nullptr, 0);
  const QByteArray wav = temp_.ReadFile("ok.wav");
  ASSERT_EQ(wav.size(), 44);
  QByteArray stereo = wav, fast = wav, padded = wav;
  stereo[22] = 2;
  fast[25] = 0x44;  // 17,472 samples a second
  // An odd-sized chunk before the samples is followed by a pad byte.
  padded.insert(36, QByteArray("LIST\x03\0\0\0abc\0", 12));
  const struct {
    const char* name;
    QByteArray bytes;
    bool read;
  } cases[] = {{"ok.wav", wav, true},
               {"padded.wav", padded, true},
               {"stereo.wav", stereo, false},
               {"fast.wav", fast, false},
               {"junk.wav", "RIFF....WAVEjunk", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    temp_.WriteFile(c.name, c.bytes);
    EXPECT_EQ(ReadWavSamples(Path(c.name)).has_value(), c.read);
  }
  EXPECT_FALSE(ReadWavSamples(Path("absent.wav")).has_value());
}

TEST_F(AudioDevicesTest, WavInputPlaysTheFileInRealTimeThenSilence) {
  const std::vector<int16_t> tone = testing::Tone(440, 800, 9000, 0);
  WavWriter(Path("in.wav")).Append(tone.data(), tone.size());
  auto input = MakeAudioInput("wav:" + Path("in.wav"));
  ASSERT_TRUE(input->Open());
  const std::vector<int16_t> got = Listen(*input, 300);
  // About 300 ms at 8000 samples a second, not as fast as it can.
  ASSERT_GE(got.size(), 800u);  // a busy machine may start the thread late
  EXPECT_LE(got.size(), 4000u);
  EXPECT_EQ(std::vector<int16_t>(got.begin(), got.begin() + 800), tone);
  EXPECT_TRUE(std::all_of(got.begin() + 800, got.end(),
                          [](int16_t s) { return s == 0; }));
}

TEST_F(AudioDevicesTest, ToneInputCarriesATone) {
  auto input = MakeAudioInput("test-tone");
  ASSERT_TRUE(input->Open());
  const std::vector<int16_t> got = Listen(*input, 200);
  ASSERT_GE(got.size(), 320u);
  EXPECT_GT(*std::max_element(got.begin(), got.end()), 6000);
}

TEST_F(AudioDevicesTest, NamedChoicesThatCannotWorkDoNotOpen) {
  for (const QString choice : {"none", "microphone-7", "wav:/absent.wav"}) {
    EXPECT_FALSE(MakeAudioInput(choice)->Open()) << choice.toStdString();
  }
  EXPECT_FALSE(MakeAudioOutput("speaker-7")->Open());
  EXPECT_FALSE(MakeAudioOutput("wav:/nonexistent-folder/out.wav")->Open());
  EXPECT_TRUE(MakeAudioOutput("discard")->Open());
}

}  // namespace
}  // namespace vocapost
