// Frame size and quality buttons, and the zoom label they show.
#include <gtest/gtest.h>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class RecordingParametersTest : public testing::AppTest {
 protected:
  void SetUp() override { ASSERT_EQ(Start(), StartResult::kRunning); }
  MKERForm1& recorder() { return *app_->recorder(); }
  qint64 Shown(int picture) {
    return recorder().ImagePicture(picture)->pixmap().cacheKey();
  }
  qint64 Model(int command, QPixmap ButtonPictures::*look) {
    return (recorder().Command(command)->pictures().*look).cacheKey();
  }
  std::optional<uint32_t> StoredRatio() {
    return registry_store_.GetDword(kCodecKey, "Ratio");
  }
};

TEST_F(RecordingParametersTest, QualityButtonsWriteTheRatioAndReapplyTheSize) {
  // A key frame of the moving test picture: the higher the ratio, the fewer
  // bytes.
  auto key_frame_bytes = [this] {
    app_->state().values.force_key_frame = 1;
    return app_->video().CompressCurrentFrame();
  };
  const size_t formats_before = camera_.asked().size();
  recorder().Command(12)->Press();
  EXPECT_EQ(app_->state().values.codec_ratio, 50);
  EXPECT_EQ(StoredRatio(), 50u);
  EXPECT_GT(camera_.asked().size(), formats_before)
      << "160 x 120 applied again";
  EXPECT_EQ(Shown(14), Model(12, &ButtonPictures::down));
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::normal));
  EXPECT_EQ(Shown(13), Model(13, &ButtonPictures::normal));
  const int32_t medium = key_frame_bytes();
  recorder().Command(13)->Press();
  EXPECT_EQ(StoredRatio(), 100u);
  const int32_t low = key_frame_bytes();
  recorder().Command(11)->Press();
  EXPECT_EQ(StoredRatio(), 25u);
  EXPECT_EQ(Shown(15), Model(11, &ButtonPictures::down));
  const int32_t high = key_frame_bytes();
  // The moving picture alone changes a key frame by less than half.
  EXPECT_GT(low, 48) << "a frame, not its header alone";
  EXPECT_LT(2 * low, medium);
  EXPECT_LT(2 * low, high);
}

TEST_F(RecordingParametersTest, UnsupportedSizeIsRefusedWithItsMessage) {
  app_->state().video.size_supported[0] = 0;
  recorder().Command(6)->Press();
  EXPECT_TRUE(Logged().contains(
      "\tYou video capture device does not support capture at this size.\n"));
  EXPECT_EQ(app_->state().video.capture_width, 160);
  EXPECT_EQ(app_->state().values.chosen_width, 160);
}

TEST_F(RecordingParametersTest, ZoomLabelIsTheShownWidthOverTheRecordedWidth) {
  struct Case {
    int recorded_twips, size_button;
    const char* label;
  };
  // The shown width is the picture's and its border's: (160 + 4) x 15 twips.
  for (const Case& c : {Case{1200, 8, "2.1"},    // 2460 / 1200 = 2.05
                        Case{2400, 10, "1.5"},   // 3660 / 2400
                        Case{3600, 8, ".7"}}) {  // 2460 / 3600
    SCOPED_TRACE(c.label);
    app_->state().activity.recorded_width_twips =
        static_cast<int16_t>(c.recorded_twips);
    recorder().Command(c.size_button)->Press();
    EXPECT_TRUE(app_->viewer()->Label1()->isVisibleTo(app_->viewer()));
    EXPECT_EQ(app_->viewer()->Label1()->text(), QString(c.label));
  }
}

TEST_F(RecordingParametersTest, ChosenSizeIsAppliedOnlyToANormalWindow) {
  app_->state().values.chosen_width = 80;
  app_->state().values.chosen_height = 60;
  recorder().showMinimized();
  recorder().ApplyChosenFrameSize();
  EXPECT_EQ(app_->state().video.applied_width, 160);
  recorder().showNormal();
  recorder().ApplyChosenFrameSize();
  EXPECT_EQ(app_->state().video.capture_width, 80);
}

}  // namespace
}  // namespace vocapost
