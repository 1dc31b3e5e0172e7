// Thumbnails of messages, as file managers ask vocapost-msg for them.
#include <gtest/gtest.h>

#include "msg_commands.h"
#include "support/sample_message.h"
#include "support/temp_home.h"
#include "thumbnail_command.h"

namespace vocapost::tool {
namespace {

using testing::QuadrantPicture;

// The first picture at the size asked; the no-video picture for a message
// without one is left to the installed thumbnailer's test.
TEST(ThumbnailTest, FirstPictureAtTheRequestedSizeOrNoneAndAReason) {
  const testing::TempHome temp;
  const std::array<QColor, 4> first = {Qt::red, Qt::green, Qt::blue, Qt::white};
  testing::WriteSampleMessage(
      "m.vrc",
      {QuadrantPicture(160, 120, first),
       QuadrantPicture(160, 120, {Qt::white, Qt::blue, Qt::green, Qt::red})});
  temp.WriteFile("notes.vrc", "Dear Sir, a text file.\n");
  testing::WriteSampleMessage("sound.vrc", {});
  QString err_text;
  QTextStream err(&err_text);
  const std::pair<const char*, const char*> failures[] = {
      {"notes.vrc", "notes.vrc is not a Vocapost message"},
      {"sound.vrc", "holds no picture"},  // and no no-video picture
  };
  for (const auto& [file, reason] : failures) {
    EXPECT_EQ(Thumbnail(file, "t.png", 128, "absent.bmp", err), kFailed);
    EXPECT_TRUE(err_text.contains(reason)) << err_text.toStdString();
    EXPECT_FALSE(QFile::exists("t.png"));
  }
  err_text.clear();
  ASSERT_EQ(Thumbnail("m.vrc", "t.png", 128, "absent.bmp", err), kOk)
      << err_text.toStdString();
  const QImage thumbnail("t.png", "PNG");
  EXPECT_EQ(thumbnail.size(), QSize(128, 96));
  for (int q = 0; q < 4; ++q)
    EXPECT_TRUE(testing::Near(testing::QuadrantColour(thumbnail, q), first[q]))
        << q;
}

}  // namespace
}  // namespace vocapost::tool
