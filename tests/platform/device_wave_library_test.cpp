#include "platform/wave/device_wave_library.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/window_message/window_message.h"
#include "support/tone.h"

namespace vocapost {
namespace {

class ManualInput final : public AudioInput {
 public:
  bool Open() override { return openable; }
  bool Start(SampleSink s) override {
    sink = std::move(s);
    return true;
  }
  void Stop() override { sink = nullptr; }
  bool openable = true;
  SampleSink sink;
};

class ManualOutput final : public AudioOutput {
 public:
  bool Open() override { return openable; }
  bool Start(SampleSource) override { return true; }
  void Stop() override {}
  bool openable = true;
};

// The window the library posts to.
class Window final : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != WindowMessageEvent::EventType()) return QObject::event(e);
    const auto* m = static_cast<WindowMessageEvent*>(e);
    messages.emplace_back(m->message(), m->lparam());
    return true;
  }
  std::vector<std::pair<uint32_t, intptr_t>> messages;
};

class DeviceWaveLibraryTest : public ::testing::Test {
 protected:
  DeviceWaveLibraryTest() {
    auto in = std::make_unique<ManualInput>();
    auto out = std::make_unique<ManualOutput>();
    input_ = in.get();
    output_ = out.get();
    library_ =
        std::make_unique<DeviceWaveLibrary>(std::move(in), std::move(out));
  }
  ~DeviceWaveLibraryTest() override { library_.reset(); }
  int16_t Init(int16_t size = 1105, WaveFormat format = {}) {
    return library_->InitWaveRecorder(&window_, size, format, state_, 0);
  }
  void StartRecorder() {
    ASSERT_EQ(Init(), 0);
    ASSERT_EQ(library_->StartWaveRecorderRaw(state_), 0);
  }
  int16_t Copy(intptr_t header, int16_t choice = 0) {
    return library_->CopyRawBufferWaveRecorder(header, block_, choice, state_);
  }
  size_t Filled() const { return Headers(kRecordedBufferMessage).size(); }
  void Capture(size_t samples) {
    const std::vector<int16_t> tone = testing::Tone(440, samples);
    input_->sink(tone.data(), tone.size());
    QCoreApplication::processEvents();
  }
  std::vector<intptr_t> Headers(uint32_t message) const {
    std::vector<intptr_t> headers;
    for (const auto& [m, h] : window_.messages) {
      if (m == message) headers.push_back(h);
    }
    return headers;
  }

  ManualInput* input_;
  ManualOutput* output_;
  std::unique_ptr<DeviceWaveLibrary> library_;
  Window window_;
  StateBlock state_{};
  uint8_t block_[kAudioBlockSize] = {};
};

TEST_F(DeviceWaveLibraryTest, RefusesAnythingButGsmInWholeBlocks) {
  WaveFormat pcm;
  pcm.format_tag = 1;
  EXPECT_EQ(Init(1105, pcm), DeviceWaveLibrary::kBadFormat);
  EXPECT_EQ(Init(1100), DeviceWaveLibrary::kBadFormat);
  EXPECT_EQ(Init(0), DeviceWaveLibrary::kBadFormat);
  input_->openable = false;
  EXPECT_EQ(Init(), DeviceWaveLibrary::kNoInput);
  EXPECT_EQ(library_->StartWaveRecorderRaw(state_),
            DeviceWaveLibrary::kNotReady);
  output_->openable = false;
  EXPECT_EQ(library_->StartWavePlayerRaw(state_), DeviceWaveLibrary::kNoOutput);
}

// The recorder window drops a notification whose header repeats the last.
TEST_F(DeviceWaveLibraryTest, BuffersGoRoundEachWithItsOwnHeaderAndSound) {
  StartRecorder();
  for (int i = 0; i < 6; ++i) {
    Capture(5440);
    ASSERT_EQ(Copy(Headers(kRecordedBufferMessage).back()), 1105);
  }
  const std::vector<intptr_t> headers = Headers(kRecordedBufferMessage);
  ASSERT_EQ(headers.size(), 6u);
  for (size_t i = 1; i < headers.size(); ++i)
    EXPECT_NE(headers[i], headers[i - 1]) << i;
  GsmDecoder decoder;
  const std::vector<int16_t> sound = decoder.Decode(block_, 1105);
  EXPECT_GE(testing::ToneSnrDb({sound.begin() + 960, sound.end()}, 440), 12.0);
  EXPECT_EQ(Copy(headers.back()), DeviceWaveLibrary::kUnknownBuffer)
      << "a buffer given back is recording again";
  EXPECT_EQ(Copy(12345), DeviceWaveLibrary::kUnknownBuffer);
}

TEST_F(DeviceWaveLibraryTest, BuffersKeptOutAreNotRecordedIntoUntilStarted) {
  StartRecorder();
  Capture(5440 * DeviceWaveLibrary::kRecorderBuffers);
  for (const intptr_t header : Headers(kRecordedBufferMessage))
    ASSERT_EQ(Copy(header, 1), 1105);
  Capture(5440 * 2);  // nowhere to go: dropped
  EXPECT_EQ(Filled(), size_t{DeviceWaveLibrary::kRecorderBuffers});
  ASSERT_EQ(library_->CloseWaveRecorder(state_), 0);
  ASSERT_EQ(library_->StartWaveRecorderRaw(state_), 0)
      << "restarts without a new init";
  Capture(5440);
  EXPECT_EQ(Filled(), size_t{DeviceWaveLibrary::kRecorderBuffers} + 1);
}

TEST_F(DeviceWaveLibraryTest, QueueIsBoundedAndStoppingReportsWhatWasCutOff) {
  ASSERT_EQ(Init(), 0);
  ASSERT_EQ(library_->StartWavePlayerRaw(state_), 0);
  for (size_t i = 0; i < DeviceWaveLibrary::kMostQueuedBlocks; ++i)
    ASSERT_EQ(library_->CopyRawBufferWavePlayer(block_, 65, state_), 0);
  EXPECT_EQ(library_->CopyRawBufferWavePlayer(block_, 65, state_),
            DeviceWaveLibrary::kQueueFull);
  ASSERT_EQ(library_->StopWavePlayer(state_), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(Headers(kPlayedBlockMessage).size(),
            DeviceWaveLibrary::kMostQueuedBlocks);
}

TEST_F(DeviceWaveLibraryTest, DetachedLibraryPostsNothing) {
  StartRecorder();
  library_->Detach();
  Capture(5440);
  EXPECT_TRUE(window_.messages.empty());
}

}  // namespace
}  // namespace vocapost
