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

// The first picture at the size asked; the no-video picture for a message
// without one is left to the installed thumbnailer's test.
TEST_F(ThumbnailTest, ShowsTheFirstPictureAtTheRequestedSize) {
  testing::WriteSampleMessage(
      Path("m.vrc"),
      {QuadrantPicture(160, 120, kFirst), QuadrantPicture(160, 120, kSecond)});
  ASSERT_EQ(
      Thumbnail(Path("m.vrc"), Path("t.png"), 128, Path("none.bmp"), err_), kOk)
      << err_text_.toStdString();
  const QImage thumbnail(Path("t.png"), "PNG");
  EXPECT_EQ(thumbnail.size(), QSize(128, 96));
  for (int q = 0; q < 4; ++q)
    EXPECT_TRUE(Near(QuadrantColour(thumbnail, q), kFirst[q])) << q;
}

TEST_F(ThumbnailTest, WhatIsNoMessageGetsNoThumbnailAndAReason) {
  temp_.WriteFile("notes.vrc", "Dear Sir, a text file.\n");
  testing::WriteSampleMessage(Path("sound.vrc"), {});
  const std::pair<const char*, const char*> cases[] = {
      {"notes.vrc", "notes.vrc is not a Vocapost message"},
      {"sound.vrc", "holds no picture"},  // and no no-video picture
  };
  for (const auto& [file, reason] : cases) {
    SCOPED_TRACE(file);
    err_text_.clear();
    EXPECT_EQ(
        Thumbnail(Path(file), Path("t.png"), 128, Path("absent.bmp"), err_),
        kFailed);
    EXPECT_TRUE(err_text_.contains(reason)) << err_text_.toStdString();
    EXPECT_FALSE(QFile::exists(Path("t.png")));
  }
}

}  // namespace
}  // namespace vocapost::tool
