// Thumbnails of messages, as file managers ask vocapost-msg for them.
#include <gtest/gtest.h>

#include "msg_commands.h"
#include "support/sample_message.h"
#include "support/temp_home.h"
#include "thumbnail_command.h"

namespace vocapost::tool {
namespace {

using testing::Near;
using testing::QuadrantColour;
using testing::QuadrantPicture;

const std::array<QColor, 4> kFirst = {Qt::red, Qt::green, Qt::blue, Qt::white};
const std::array<QColor, 4> kSecond = {Qt::white, Qt::blue, Qt::green, Qt::red};

class ThumbnailTest : public testing::HomeTest {
 protected:
  QString Path(const char* name) const {
    return QString::fromStdString((temp_.home() / name).string());
  }
  QString err_text_;
  QTextStream err_{&err_text_};
};

// The first picture, or without one the no-video picture, at the size asked.
TEST_F(ThumbnailTest, ShowsTheFirstPictureAtTheRequestedSize) {
  ASSERT_TRUE(QuadrantPicture(320, 240, kSecond).save(Path("none.bmp"), "BMP"));
  struct Case {
    std::vector<QImage> pictures;
    int size;
    QSize expected;
    std::array<QColor, 4> colours;
  };
  const Case cases[] = {
      {{QuadrantPicture(160, 120, kFirst), QuadrantPicture(160, 120, kSecond)},
       128,
       {128, 96},
       kFirst},
      {{}, 64, {64, 48}, kSecond},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    testing::WriteSampleMessage(Path("m.vrc"), c.pictures);
    ASSERT_EQ(
        Thumbnail(Path("m.vrc"), Path("t.png"), c.size, Path("none.bmp"), err_),
        kOk)
        << err_text_.toStdString();
    const QImage thumbnail(Path("t.png"), "PNG");
    EXPECT_EQ(thumbnail.size(), c.expected);
    for (int q = 0; q < 4; ++q) {
      EXPECT_TRUE(Near(QuadrantColour(thumbnail, q), c.colours[q]))
          << "quadrant " << q << " is "
          << QuadrantColour(thumbnail, q).name().toStdString();
    }
  }
}

TEST_F(ThumbnailTest, WhatIsNoMessageGetsNoThumbnailAndAReason) {
  temp_.WriteFile("notes.vrc", "Dear Sir, a text file.\n");
  temp_.WriteFile("empty.vrc", "");
  testing::WriteSampleMessage(Path("sound.vrc"), {});
  struct Case {
    const char* file;
    const char* no_video_picture;
    const char* reason;
  };
  for (const Case& c : {
           Case{"notes.vrc", "none.bmp", "notes.vrc is not a Vocapost message"},
           Case{"empty.vrc", "none.bmp", "empty.vrc is not a Vocapost message"},
           Case{"absent.vrc", "none.bmp", "cannot read"},
           Case{"sound.vrc", "absent.bmp", "holds no picture"},
       }) {
    SCOPED_TRACE(c.file);
    err_text_.clear();
    EXPECT_EQ(Thumbnail(Path(c.file), Path("t.png"), 128,
                        Path(c.no_video_picture), err_),
              kFailed);
    EXPECT_TRUE(err_text_.contains(c.reason)) << err_text_.toStdString();
    EXPECT_FALSE(QFile::exists(Path("t.png")));
  }
}

}  // namespace
}  // namespace vocapost::tool
