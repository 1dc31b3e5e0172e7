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

class LookUpTest : public testing::HomeTest {
 protected:
  QString LookUp(const QString& text, const QString& extension = ".DEU") {
    return LookUpMessageText(text, extension);
  }
  static QByteArray Transformed(std::initializer_list<QByteArray> lines) {
    QByteArray file;
    for (const QByteArray& line : lines) file += TransformLine(line) + "\r\n";
    return file;
  }
};

TEST_F(LookUpTest, NoLanguageFileShowsTheTextItself) {
  EXPECT_EQ(LookUp(kKey), kKey);
}

TEST_F(LookUpTest, KeyLineGivesTheLineAfterIt) {
  temp_.WriteFile("VMESSAGE.DEU", QByteArray("Other text\r\nAnderer Text\r\n") +
                                      kKey + "\r\n" + kTranslation + "\r\n");
  EXPECT_EQ(LookUp(kKey), kTranslation);
  EXPECT_EQ(LookUp("Other text"), "Anderer Text");
  EXPECT_EQ(LookUp("Not in the file."), "Not in the file.");
}

TEST_F(LookUpTest, KeysMatchExactlyWithCaseAndBlanks) {
  temp_.WriteFile("VMESSAGE.DEU",
                  QByteArray(kKey) + "\r\n" + kTranslation + "\r\n");
  EXPECT_EQ(LookUp("recordedfile does not exist."),
            "recordedfile does not exist.");
  EXPECT_EQ(LookUp(QString(kKey) + " "), QString(kKey) + " ");
  EXPECT_EQ(LookUp("Recordedfile"), "Recordedfile");
}

TEST_F(LookUpTest, FirstOfTwoOccurrencesWins) {
  temp_.WriteFile("VMESSAGE.DEU",
                  QByteArray(kKey) + "\r\nfirst\r\n" + kKey + "\r\nsecond\r\n");
  EXPECT_EQ(LookUp(kKey), "first");
}

TEST_F(LookUpTest, TranslationLinesCanThemselvesBeKeys) {
  // Pairs are not marked: the search simply runs line by line.
  temp_.WriteFile("VMESSAGE.DEU", "A\r\nB\r\nB\r\nC\r\n");
  EXPECT_EQ(LookUp("B"), "B");
}

TEST_F(LookUpTest, EndOfFileMarkHidesEverythingAfterIt) {
  temp_.WriteFile("VMESSAGE.DEU",
                  QByteArray("Intro\r\nEinleitung\r\nend\x1a here\r\n") + kKey +
                      "\r\n" + kTranslation + "\r\n");
  EXPECT_EQ(LookUp(kKey), kKey);
  EXPECT_EQ(LookUp("Intro"), "Einleitung");
}

TEST_F(LookUpTest, TranslationIsTakenUnchangedEvenWhenEmptyOrMarked) {
  temp_.WriteFile("VMESSAGE.DEU", "Empty\r\n\r\nMarked\r\nx\x1ay\r\n");
  EXPECT_EQ(LookUp("Empty"), "");
  EXPECT_EQ(LookUp("Marked"), QString("x\x1ay"));
}

TEST_F(LookUpTest, KeyOnTheLastLineShowsTheTextUnchanged) {
  temp_.WriteFile("VMESSAGE.DEU", QByteArray("A\r\nB\r\n") + kKey);
  EXPECT_EQ(LookUp(kKey), kKey);
  temp_.WriteFile("VMESSAGE.DEU", QByteArray("A\r\nB\r\n") + kKey + "\r\n");
  EXPECT_EQ(LookUp(kKey), kKey);
}

TEST_F(LookUpTest, LastLineWithoutLineEndIsRead) {
  temp_.WriteFile("VMESSAGE.DEU", QByteArray(kKey) + "\r\n" + kTranslation);
  EXPECT_EQ(LookUp(kKey), kTranslation);
}

TEST_F(LookUpTest, LineFeedEndsLinesOnlyInFilesWithoutCarriageReturns) {
  struct Case {
    QByteArray file;
    const char* key;
    QString shown;
  };
  const Case cases[] = {
      {"One\nEins\n", "One", "Eins"},
      {"Two\rZwei\rThree\r\nDrei", "Two", "Zwei"},
      {"Two\rZwei\rThree\r\nDrei", "Three", "Drei"},
      // A bare LF in a CR LF file is a line break inside the translation.
      {"Two lines\r\nZwei\nZeilen\r\nZeilen\r\nwrong\r\n", "Two lines",
       "Zwei\nZeilen"},
      {"Two lines\r\nZwei\nZeilen\r\nZeilen\r\nwrong\r\n", "Zeilen", "wrong"},
  };
  for (const Case& c : cases) {
    temp_.WriteFile("VMESSAGE.DEU", c.file);
    EXPECT_EQ(LookUp(c.key), c.shown) << c.file.toStdString();
  }
}

TEST_F(LookUpTest, TransformedFileIsRestoredBeforeComparing) {
  temp_.WriteFile("VMESSAGE.JPB",
                  Transformed({"Intro", "x", kKey, kTranslation}));
  EXPECT_EQ(LookUp(kKey, ".JPB"), kTranslation);
}

TEST_F(LookUpTest, PlainLinesInATransformedFileMatchNothing) {
  temp_.WriteFile("VMESSAGE.JPB",
                  QByteArray(kKey) + "\r\n" + kTranslation + "\r\n");
  EXPECT_EQ(LookUp(kKey, ".JPB"), kKey);
  temp_.WriteFile("VMESSAGE.DEU", Transformed({kKey, kTranslation}));
  EXPECT_EQ(LookUp(kKey, ".DEU"), kKey);
}

TEST_F(LookUpTest, TabsInTransformedFilesDoNotSplitLines) {
  // A tab is stored as code 10, the byte of a line feed.
  temp_.WriteFile("VMESSAGE.JPB",
                  Transformed({"Name:\tvalue", "Namae:\tatai"}));
  EXPECT_EQ(LookUp("Name:\tvalue", ".JPB"), "Namae:\tatai");
}

TEST_F(LookUpTest, FileNameMayDifferInCase) {
  temp_.WriteFile("vmessage.jpn", QByteArray(kKey) + "\r\nyakusu\r\n");
  EXPECT_EQ(LookUp(kKey, ".jpn"), "yakusu");
  EXPECT_EQ(LookUp(kKey, ".JPN"), "yakusu");
  // Found ignoring case, and so read as transformed ignoring case.
  temp_.WriteFile("vmessage.jpb", Transformed({kKey, "henkan"}));
  EXPECT_EQ(LookUp(kKey, ".jpb"), "henkan");
  EXPECT_EQ(LookUp(kKey, ".JPB"), "henkan");
}

TEST_F(LookUpTest, TransformedEndMarkIsStoredAsTwentySeven) {
  temp_.WriteFile("VMESSAGE.JPB",
                  Transformed({"stop\x1a", kKey, kTranslation}));
  EXPECT_EQ(LookUp(kKey, ".JPB"), kKey);
  // A stored 26 is a real 25: no end mark.
  temp_.WriteFile("VMESSAGE.JPB",
                  QByteArray("\x1a\r\n") + Transformed({kKey, kTranslation}));
  EXPECT_EQ(LookUp(kKey, ".JPB"), kTranslation);
}

TEST_F(LookUpTest, RestoringReversesAndLowersEachCode) {
  EXPECT_EQ(RestoreTransformedLine("dcb"), "abc");
  EXPECT_EQ(RestoreTransformedLine(QByteArray("\x01\xff", 2)),
            QByteArray("\xfe\x00", 2));
  EXPECT_EQ(RestoreTransformedLine(TransformLine("Hello, World")),
            "Hello, World");
}

TEST_F(LookUpTest, ReplacedFileTakesEffectWithTheNextMessage) {
  temp_.WriteFile("VMESSAGE.DEU", QByteArray(kKey) + "\r\nold\r\n");
  EXPECT_EQ(LookUp(kKey), "old");
  temp_.WriteFile("VMESSAGE.DEU", QByteArray(kKey) + "\r\nnew\r\n");
  EXPECT_EQ(LookUp(kKey), "new");
}

TEST_F(LookUpTest, EightBitTextIsWindows1252AndUtf8IsUtf8) {
  temp_.WriteFile("VMESSAGE.DEU",
                  QByteArray("Latin\r\nGr\xfc\xdf"
                             "e\r\nUtf\r\nGr\xc3\xbc\xc3\x9f"
                             "e\r\nWindows\r\n\x93Preis\x94 \x96 5 \x80\x85\r\n"
                             "Undefined\r\n\x81\x8d\x8f\x90\x9d\r\n"));
  EXPECT_EQ(LookUp("Latin"), QString::fromUtf8("Grüße"));
  EXPECT_EQ(LookUp("Utf"), QString::fromUtf8("Grüße"));
  EXPECT_EQ(LookUp("Windows"), QString::fromUtf8("“Preis” – 5 €…"));
  EXPECT_EQ(LookUp("Undefined"), QString::fromUtf16(u"\u0081\u008d\u008f"
                                                    u"\u0090\u009d"));
}

TEST_F(LookUpTest, JapaneseFilesMayAlsoBeInShiftJis) {
  const QByteArray shift_jis = "\x98\x5e\x89\xb9";  // 録音
  struct Case {
    const char* extension;
    QByteArray translation;
    QString shown;
  };
  const Case cases[] = {
      {".JPN", shift_jis, QString::fromUtf8("録音")},
      {".jpn", shift_jis, QString::fromUtf8("録音")},
      {".JPN", QByteArray("録音"), QString::fromUtf8("録音")},
      {".DEU", shift_jis, QString::fromUtf8("˜^‰¹")},
  };
  for (const Case& c : cases) {
    temp_.WriteFile(std::string("VMESSAGE") + c.extension,
                    "Record\r\n" + c.translation + "\r\n");
    EXPECT_EQ(LookUp("Record", c.extension), c.shown) << c.extension;
    std::filesystem::remove(temp_.home() /
                            (std::string("VMESSAGE") + c.extension));
  }
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
      // The template that fixes the most of a text wins.
      {"Saved a.  Lost 5 bytes.", "Gespeichert: a, 5 verloren"},
      {"Saved a.", "Gespeichert: a"},
      {"After 5", "After 5"},
      {"The message cannot be read.", "The message cannot be read."},
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(LookUp(text), shown) << text.toStdString();
  }
}

TEST_F(LookUpTest, AnyBytesNeverCrash) {
  QByteArray junk("\0\0\r\n\xff\xfe", 6);
  junk += QByteArray(300000, 'x');  // one very long line
  junk += QByteArray("\r\n\0key\0\r\nvalue\r\n", 16);
  junk += QByteArray(kKey) + "\r\n" + kTranslation;  // no final line end
  temp_.WriteFile("VMESSAGE.DEU", junk);
  temp_.WriteFile("VMESSAGE.JPB", junk);
  EXPECT_EQ(LookUp(QString::fromLatin1("\0key\0", 5)), "value");
  EXPECT_EQ(LookUp(kKey), kTranslation);
  EXPECT_EQ(LookUp(kKey, ".JPB"), kKey);
}

TEST_F(LookUpTest, LongLineIsCutWithoutSplittingIntoExtraLines) {
  // A line cut at the reader's limit must not have its tail read as a key.
  const QByteArray line = QByteArray(TextLineReader::kMaxLineBytes, 'y') + kKey;
  temp_.WriteFile("VMESSAGE.DEU", line + "\r\nwrong\r\n");
  EXPECT_EQ(LookUp(kKey), kKey);
}

TEST_F(LookUpTest, EndMarkPastTheLineCutStillEndsTheFile) {
  const QByteArray longer(TextLineReader::kMaxLineBytes + 10, 'y');
  temp_.WriteFile("VMESSAGE.DEU",
                  longer + "\x1a\r\n" + kKey + "\r\n" + kTranslation + "\r\n");
  temp_.WriteFile("VMESSAGE.JPB",
                  Transformed({"stop\x1a" + longer, kKey, kTranslation}));
  EXPECT_EQ(LookUp(kKey), kKey);
  EXPECT_EQ(LookUp(kKey, ".JPB"), kKey);
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

  const QByteArray pair = QByteArray(kKey) + "\r\n" + kTranslation + "\r\n";
  temp_.WriteFile("VMESSAGE.DEU", pair);
  std::filesystem::resize_file(file, kLargestTextFile);
  EXPECT_EQ(LookUp(kKey), kTranslation) << "1 MiB is still read";
  std::filesystem::resize_file(file, kLargestTextFile + 1);
  EXPECT_EQ(LookUp(kKey), kKey);
  std::filesystem::resize_file(file, 300 << 20);  // sparse: quick to make
  // Read whole, this file took seconds for every message.
  EXPECT_EQ(LookUpWithin(1, "Not in the file."), QString("Not in the file."));
}

TEST_F(LookUpTest, FolderNamedLikeALanguageFileIsIgnored) {
  std::filesystem::create_directory(temp_.home() / "VMESSAGE.DEU");
  EXPECT_EQ(LookUp(kKey), kKey);
}

}  // namespace
}  // namespace vocapost
