#include "messages/language_file.h"

#include <gtest/gtest.h>

#include "messages/text_lines.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

constexpr char kKey[] = "Recordedfile does not exist.";
constexpr char kTranslation[] = "Die Aufnahme gibt es nicht.";

QByteArray Transformed(std::initializer_list<QByteArray> lines) {
  QByteArray file;
  for (const QByteArray& line : lines) file += TransformLine(line) + "\r\n";
  return file;
}

using LookUpTest = testing::HomeTest;

TEST_F(LookUpTest, LanguageFileGivesTheLineAfterTheTextItHas) {
  const QByteArray pair = QByteArray(kKey) + "\r\n" + kTranslation + "\r\n";
  const QByteArray long_line(TextLineReader::kMaxLineBytes, 'y');
  struct Case {
    QByteArray content;
    QString text, shown;
    QString extension = ".DEU";
    QString file = "VMESSAGE" + extension;
  };
  const Case cases[] = {
      {"", kKey, kKey, ".DEU", "OTHER.DEU"},  // no file of the language
      {"Other\r\nAnders\r\n" + pair, kKey, kTranslation},
      {pair + kKey + "\r\nsecond\r\n", kKey, kTranslation},  // first wins
      {"end\x1a here\r\n" + pair, kKey, kKey},  // the end mark hides the rest
      {"Marked\r\nx\x1ay\r\n", "Marked", "x\x1ay"},
      {"A\r\nB\r\n" + QByteArray(kKey), kKey, kKey},  // key on the last line
      {pair.chopped(2), kKey, kTranslation},  // last line without line end
      {"One\nEins\n", "One", "Eins"},
      {"Two\rZwei\rThree\r\nDrei", "Three", "Drei"},
      // Found ignoring case, and so read as transformed ignoring case.
      {Transformed({kKey, "henkan"}), kKey, "henkan", ".jpb", "vmessage.jpb"},
      // A transformed end mark is 27; a stored 26 is a real 25.
      {Transformed({"stop\x1a", kKey, kTranslation}), kKey, kKey, ".JPB"},
      {"\x1a\r\n" + Transformed({kKey, kTranslation}), kKey, kTranslation,
       ".JPB"},
      {"Record\r\n\x98\x5e\x89\xb9\r\n", "Record", QString::fromUtf8("録音"),
       ".jpn", "VMESSAGE.JPN"},  // Shift-JIS
      // A line cut at the reader's limit must not have its tail read as a key.
      {long_line + kKey + "\r\nwrong\r\n", kKey, kKey},
      {long_line + "y\x1a\r\n" + pair, kKey, kKey},  // end mark past the cut
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    temp_.WriteFile(c.file.toStdString(), c.content);
    EXPECT_EQ(LookUpMessageText(c.text, c.extension), c.shown);
    std::filesystem::remove(temp_.home() / c.file.toStdString());
  }
  EXPECT_EQ(RestoreTransformedLine(QByteArray("\x01\xff\0", 3)),
            QByteArray("\0\xfe\0", 3));

  // Folders and big files count as missing.
  const auto file = temp_.home() / "VMESSAGE.DEU";
  std::filesystem::create_directory(file);
  EXPECT_EQ(LookUpMessageText(kKey, ".DEU"), kKey);
  std::filesystem::remove(file);
  temp_.WriteFile("VMESSAGE.DEU", pair);
  std::filesystem::resize_file(file, kLargestTextFile);
  EXPECT_EQ(LookUpMessageText(kKey, ".DEU"), kTranslation);
  std::filesystem::resize_file(file, kLargestTextFile + 1);
  EXPECT_EQ(LookUpMessageText(kKey, ".DEU"), kKey);
}

TEST_F(LookUpTest, TextsWithNamesInThemAreFoundByTheirTemplates) {
  temp_.WriteFile(
      "VMESSAGE.DEU",
      "The message %1 cannot be read (%2).\r\n"
      "Die Nachricht %1 ist nicht lesbar (%2).\r\n"
      "Permission denied\r\nZugriff verweigert\r\n"
      "%2 before %1, %2 again\r\n%1 nach %2\r\nExact (%1).\r\nMuster %1\r\n"
      "Exact (1).\r\nGenau\r\n100% sure\r\nGanz sicher\r\n"
      "Saved %1.\r\nGespeichert: %1\r\nRate %0\r\nSatz %0\r\n"
      "Saved %1.  Lost %2 bytes.\r\nGespeichert: %1, %2 verloren\r\nend\x1a\r\n"
      "After %1\r\nDanach %1\r\n");
  const std::pair<QString, QString> cases[] = {
      {"The message a (1).vrc cannot be read (Permission denied).",
       "Die Nachricht a (1).vrc ist nicht lesbar (Zugriff verweigert)."},
      {"The message a\nb cannot be read ().",
       "Die Nachricht a\nb ist nicht lesbar ()."},
      {"x before y, x again", "y nach x"},
      {"x before y, z again", "x before y, z again"},
      {"Exact (1).", "Genau"},
      {"Exact (2).", "Muster 2"},
      {"100% sure", "Ganz sicher"},
      {"Rate 9", "Rate 9"},
      // The template that fixes the most of a text wins.
      {"Saved a.  Lost 5 bytes.", "Gespeichert: a, 5 verloren"},
      {"Saved a.", "Gespeichert: a"},
      {"After 5", "After 5"},
  };
  for (const auto& [text, shown] : cases)
    EXPECT_EQ(LookUpMessageText(text, ".DEU"), shown) << text.toStdString();
}

}  // namespace
}  // namespace vocapost
