// Seeded random bytes for the reader and the extractor: whatever a file
// holds, neither may crash, read past the file or write outside the home.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "message/message_package.h"
#include "message/message_reader.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class RandomInputTest : public testing::HomeTest {
 protected:
  QByteArray RandomBytes(int size) {
    QByteArray bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random_() & 0xFF);
    return bytes;
  }
  // Headers that look right often enough to reach the deeper paths.
  QByteArray RandomMessage() {
    QByteArray file;
    const int records = static_cast<int>(random_() % 8);
    for (int i = 0; i < records; ++i) {
      static const char* const kTags[] = {"WAV", "IMG", "WA", "XYZ", "img"};
      QByteArray field =
          QByteArray::number(static_cast<int>(random_() % 20000));
      if (random_() % 4 == 0) field = RandomBytes(7);
      file += kTags[random_() % 5] + (field + "       ").left(7);
      file += RandomBytes(static_cast<int>(random_() % 3000));
    }
    return file.left(static_cast<int>(random_() % (file.size() + 1)));
  }
  std::set<std::string> Listing(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      names.insert(entry.path().filename());
    }
    return names;
  }

  std::mt19937 random_{20261206};
};

TEST_F(RandomInputTest, ReaderStaysInsideAnyFile) {
  for (int round = 0; round < 400; ++round) {
    const QByteArray bytes = RandomMessage();
    temp_.WriteFile("r.vrc", bytes);
    MessageReader reader;
    ASSERT_TRUE(reader.Open("r.vrc"));
    int32_t previous = 0;
    int count = 0;
    while (auto record = reader.Next()) {
      ASSERT_GT(record->position, previous);
      previous = record->position;
      const int64_t left = bytes.size() - (record->position - 1 + 10);
      ASSERT_LE(record->payload.size(), std::max<int64_t>(0, left));
      ASSERT_LE(record->payload.size(), std::max(record->length, 0));
      ASSERT_LE(++count, bytes.size() / 10 + 1);
    }
    ASSERT_NE(reader.end(), ReadEnd::kNotYet);
  }
}

TEST_F(RandomInputTest, ExtractorWritesOnlySafeNamesInTheHome) {
  const auto outside_before = Listing(temp_.root());
  for (int round = 0; round < 300; ++round) {
    QByteArray package = RandomBytes(static_cast<int>(random_() % 4) * 1024);
    QByteArray name = RandomBytes(static_cast<int>(random_() % 12));
    if (random_() % 2) name += ".vrc";
    QByteArray header = "VOCAPOST" + name;
    header += QByteArray(1024 - header.size(), ' ');
    if (random_() % 5 == 0) header = RandomBytes(1024);
    const QByteArray message = RandomBytes(static_cast<int>(random_() % 5000));
    package += header + message;
    temp_.WriteFile(
        "p.exe",
        package.left(static_cast<int>(random_() % (package.size() + 1))));

    const QString extracted = ExtractEmbeddedMessage("p.exe");
    if (extracted.isEmpty()) continue;
    ASSERT_TRUE(IsSafeMessageName(extracted)) << extracted.toStdString();
    ASSERT_TRUE(QFileInfo(extracted).isFile());
    ASSERT_EQ(QFileInfo(extracted).absolutePath().toStdString(),
              temp_.home().string());
    std::filesystem::remove(temp_.home() / extracted.toStdString());
  }
  EXPECT_EQ(Listing(temp_.root()), outside_before);
  EXPECT_EQ(Listing(temp_.home()), (std::set<std::string>{"p.exe"}));
}

}  // namespace
}  // namespace vocapost
