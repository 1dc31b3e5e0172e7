#include "messages/language_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

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
  const QByteArray long_line(TextLineReader::kMaxLineBytes + 10, 'y');
  const QByteArray shift_jis = "\x98\x5e\x89\xb9";  // 録音
  struct Case {
    const char* label;
    const char* file;  // null: none
    QByteArray content;
    QString extension, text, shown;
  };
  const Case cases[] = {
      {"no file", nullptr, "", ".DEU", kKey, kKey},
      {"found", "VMESSAGE.DEU", "Other\r\nAnders\r\n" + pair, ".DEU", kKey,
       kTranslation},
      {"not in the file", "VMESSAGE.DEU", pair, ".DEU", "Not there.",
       "Not there."},
      {"case counts", "VMESSAGE.DEU", pair, ".DEU",
       "recordedfile does not exist.", "recordedfile does not exist."},
      {"first of two wins", "VMESSAGE.DEU", pair + kKey + "\r\nsecond\r\n",
       ".DEU", kKey, kTranslation},
      // Pairs are not marked: the search simply runs line by line.
      {"a translation is a key", "VMESSAGE.DEU", "A\r\nB\r\nB\r\nC\r\n", ".DEU",
       "B", "B"},
      {"end mark hides what follows", "VMESSAGE.DEU",
       "Intro\r\nEinleitung\r\nend\x1a here\r\n" + pair, ".DEU", kKey, kKey},
      {"before the end mark", "VMESSAGE.DEU",
       "Intro\r\nEinleitung\r\nend\x1a here\r\n" + pair, ".DEU", "Intro",
       "Einleitung"},
      {"empty translation", "VMESSAGE.DEU", "Empty\r\n\r\n", ".DEU", "Empty",
       ""},
      {"marked translation", "VMESSAGE.DEU", "Marked\r\nx\x1ay\r\n", ".DEU",
       "Marked", "x\x1ay"},
      {"key on the last line", "VMESSAGE.DEU", QByteArray("A\r\nB\r\n") + kKey,
       ".DEU", kKey, kKey},
      {"last line without line end", "VMESSAGE.DEU",
       QByteArray(kKey) + "\r\n" + kTranslation, ".DEU", kKey, kTranslation},
      {"line feeds only", "VMESSAGE.DEU", "One\nEins\n", ".DEU", "One", "Eins"},
      {"carriage returns, then CR LF", "VMESSAGE.DEU",
       "Two\rZwei\rThree\r\nDrei", ".DEU", "Three", "Drei"},
      // A bare LF in a CR LF file is a line break inside the translation.
      {"bare line feed", "VMESSAGE.DEU",
       "Two lines\r\nZwei\nZeilen\r\nZeilen\r\nwrong\r\n", ".DEU", "Two lines",
       "Zwei\nZeilen"},
      {"transformed", "VMESSAGE.JPB",
       Transformed({"Intro", "x", kKey, kTranslation}), ".JPB", kKey,
       kTranslation},
      {"plain lines in a transformed file", "VMESSAGE.JPB", pair, ".JPB", kKey,
       kKey},
      {"name in another case", "vmessage.jpn",
       QByteArray(kKey) + "\r\nyaku\r\n", ".JPN", kKey, "yaku"},
      // Found ignoring case, and so read as transformed ignoring case.
      {"transformed, lower case", "vmessage.jpb", Transformed({kKey, "henkan"}),
       ".jpb", kKey, "henkan"},
      {"transformed end mark is 27", "VMESSAGE.JPB",
       Transformed({"stop\x1a", kKey, kTranslation}), ".JPB", kKey, kKey},
      {"a stored 26 is a real 25", "VMESSAGE.JPB",
       "\x1a\r\n" + Transformed({kKey, kTranslation}), ".JPB", kKey,
       kTranslation},
      {"Windows-1252", "VMESSAGE.DEU",
       "Latin\r\nGr\xfc\xdf"
       "e \x93\x96\x80\x85\x94 \x81\x8d\r\n",
       ".DEU", "Latin", QString::fromUtf8("Grüße “–€…” \u0081\u008d")},
      {"UTF-8", "VMESSAGE.DEU",
       "Utf\r\nGr\xc3\xbc\xc3\x9f"
       "e\r\n",
       ".DEU", "Utf", QString::fromUtf8("Grüße")},
      {"Shift-JIS", "VMESSAGE.JPN", "Record\r\n" + shift_jis + "\r\n", ".jpn",
       "Record", QString::fromUtf8("録音")},
      // A line cut at the reader's limit must not have its tail read as a key.
      {"long line", "VMESSAGE.DEU",
       QByteArray(TextLineReader::kMaxLineBytes, 'y') + kKey + "\r\nwrong\r\n",
       ".DEU", kKey, kKey},
      {"end mark past the cut", "VMESSAGE.DEU", long_line + "\x1a\r\n" + pair,
       ".DEU", kKey, kKey},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.file) temp_.WriteFile(c.file, c.content);
    EXPECT_EQ(LookUpMessageText(c.text, c.extension), c.shown);
    if (c.file) std::filesystem::remove(temp_.home() / c.file);
  }
  std::filesystem::create_directory(temp_.home() / "VMESSAGE.DEU");
  EXPECT_EQ(LookUpMessageText(kKey, ".DEU"), kKey) << "a folder is no file";
}

TEST_F(LookUpTest, RestoringReversesAndLowersEachCodeButZero) {
  EXPECT_EQ(RestoreTransformedLine(QByteArray("\x01\xff\0", 3)),
            QByteArray("\0\xfe\0", 3));
  EXPECT_EQ(RestoreTransformedLine(TransformLine("Hello, World")),
            "Hello, World");
}

TEST_F(LookUpTest, TextsWithNamesInThemAreFoundByTheirTemplates) {
  temp_.WriteFile(
      "VMESSAGE.DEU",
      "The message %1 cannot be read (%2).\r\n"
      "Die Nachricht %1 ist nicht lesbar (%2).\r\n"
      "Permission denied\r\nZugriff verweigert\r\n"
      "%2 before %1, %2 again\r\n%1 nach %2\r\n"
      "Exact (%1).\r\nMuster %1\r\n"
      "Exact (1).\r\nGenau\r\n"
      "100% sure\r\nGanz sicher\r\n"
      "Rate %0\r\nSatz %0\r\n"
      "Saved %1.\r\nGespeichert: %1\r\n"
      "Saved %1.  Lost %2 bytes.\r\nGespeichert: %1, %2 verloren\r\n"
      "end\x1a\r\n"
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
      {"The message cannot be read.", "The message cannot be read."},
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(LookUpMessageText(text, ".DEU"), shown) << text.toStdString();
  }
}

// Runs the lookup on a thread of its own and gives up after `seconds`, so
// that a lookup that never returns fails the test instead of hanging it.
std::optional<QString> LookUpWithin(double seconds, const QString& text) {
  auto result = std::make_shared<std::promise<QString>>();
  std::future<QString> done = result->get_future();
  std::thread([result, text] {
    result->set_value(LookUpMessageText(text, ".DEU"));
  }).detach();
  if (done.wait_for(std::chrono::duration<double>(seconds)) !=
      std::future_status::ready) {
    return std::nullopt;
  }
  return done.get();
}

TEST_F(LookUpTest, EndlessOrHugeFilesCountAsMissing) {
  // A time limit only so that a hang shows as a failure; a mended lookup
  // does not read these files at all.
  const auto file = temp_.home() / "VMESSAGE.DEU";
  std::filesystem::create_symlink("/dev/zero", file);
  EXPECT_EQ(LookUpWithin(5, kKey), QString(kKey)) << "a link to /dev/zero";
  std::filesystem::remove(file);
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  EXPECT_EQ(LookUpWithin(5, kKey), QString(kKey)) << "a pipe";
  std::filesystem::remove(file);

  temp_.WriteFile("VMESSAGE.DEU",
                  QByteArray(kKey) + "\r\n" + kTranslation + "\r\n");
  std::filesystem::resize_file(file, kLargestTextFile);
  EXPECT_EQ(LookUpMessageText(kKey, ".DEU"), kTranslation)
      << "1 MiB is still read";
  std::filesystem::resize_file(file, kLargestTextFile + 1);
  EXPECT_EQ(LookUpMessageText(kKey, ".DEU"), kKey);
  std::filesystem::resize_file(file, 300 << 20);  // sparse: quick to make
  // Read whole, this file took seconds for every message.
  EXPECT_EQ(LookUpWithin(1, "Not there."), QString("Not there."));
}

}  // namespace
}  // namespace vocapost
