#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
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
  QByteArray wav = temp_.ReadFile("ok.wav");
  ASSERT_EQ(wav.size(), 44);
  QByteArray stereo = wav;
  stereo[22] = 2;
  temp_.WriteFile("stereo.wav", stereo);
  QByteArray fast = wav;
  fast[25] = 0x44;  // 17,472 samples a second
  temp_.WriteFile("fast.wav", fast);
  temp_.WriteFile("junk.wav", "RIFF....WAVEjunk");
  EXPECT_TRUE(ReadWavSamples(Path("ok.wav")).has_value());
  EXPECT_FALSE(ReadWavSamples(Path("stereo.wav")).has_value());
  EXPECT_FALSE(ReadWavSamples(Path("fast.wav")).has_value());
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
  std::lock_guard lock(mutex);
  // About 300 ms at 8000 samples a second, not as fast as it can.
  EXPECT_GE(got.size(), 800u);  // a busy machine may start the thread late
  EXPECT_LE(got.size(), 4000u);
  EXPECT_TRUE(std::equal(tone.begin(), tone.end(), got.begin()));
  EXPECT_TRUE(std::all_of(got.begin() + 800, got.end(),
                          [](int16_t s) { return s == 0; }));
}

TEST_F(AudioDevicesTest, ToneInputCarriesATone) {
  auto input = MakeAudioInput("test-tone");
  ASSERT_TRUE(input->Open());
  std::mutex mutex;
  std::vector<int16_t> got;
  ASSERT_TRUE(input->Start([&](const int16_t* s, size_t n) {
    std::lock_guard lock(mutex);
    got.insert(got.end(), s, s + n);
  }));
  QThread::msleep(200);
  input->Stop();
  std::lock_guard lock(mutex);
  ASSERT_GE(got.size(), 320u);
  const auto loudest = *std::max_element(got.begin(), got.end());
  EXPECT_GT(loudest, 6000);
}

TEST_F(AudioDevicesTest, WavOutputKeepsWhatWasPlayed) {
  auto output = MakeAudioOutput("wav:" + Path("out.wav"));
  ASSERT_TRUE(output->Open());
  std::atomic<int> value{0};
  ASSERT_TRUE(output->Start([&](int16_t* s, size_t n) {
    std::fill_n(s, n, static_cast<int16_t>(++value));
  }));
  QThread::msleep(200);
  output->Stop();
  const auto played = ReadWavSamples(Path("out.wav"));
  ASSERT_TRUE(played.has_value());
  EXPECT_EQ(played->size(), static_cast<size_t>(value.load()) * kDeviceChunk);
  EXPECT_EQ(played->front(), 1);
  EXPECT_EQ(played->back(), value.load());
}

TEST_F(AudioDevicesTest, NamedChoicesThatCannotWorkDoNotOpen) {
  EXPECT_FALSE(MakeAudioInput("none")->Open());
  EXPECT_FALSE(MakeAudioInput("microphone-7")->Open());
  EXPECT_FALSE(MakeAudioInput("wav:" + Path("absent.wav"))->Open());
  EXPECT_FALSE(MakeAudioOutput("speaker-7")->Open());
  EXPECT_FALSE(MakeAudioOutput("wav:/nonexistent-folder/out.wav")->Open());
  EXPECT_TRUE(MakeAudioOutput("discard")->Open());
}

}  // namespace
}  // namespace vocapost
