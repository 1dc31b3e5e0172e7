#include "messages/language_file.h"

#include <gtest/gtest.h>

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

TEST_F(LookUpTest, UnixAndOldMacLineEndsWork) {
  temp_.WriteFile("VMESSAGE.DEU", "One\nEins\rTwo\rZwei\n");
  EXPECT_EQ(LookUp("One"), "Eins");
  EXPECT_EQ(LookUp("Two"), "Zwei");
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

TEST_F(LookUpTest, EightBitAndUtf8TranslationsAreBothReadable) {
  temp_.WriteFile("VMESSAGE.DEU", QByteArray("Latin\r\nGr\xfc\xdf"
                                             "e\r\nUtf\r\nGr\xc3\xbc\xc3\x9f"
                                             "e\r\n"));
  EXPECT_EQ(LookUp("Latin"), QString::fromUtf8("Grüße"));
  EXPECT_EQ(LookUp("Utf"), QString::fromUtf8("Grüße"));
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

TEST_F(LookUpTest, FolderNamedLikeALanguageFileIsIgnored) {
  std::filesystem::create_directory(temp_.home() / "VMESSAGE.DEU");
  EXPECT_EQ(LookUp(kKey), kKey);
}

}  // namespace
}  // namespace vocapost
