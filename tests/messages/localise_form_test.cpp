// Captions of the windows from the caption file, and their font from the
// font list.
#include "messages/localise_form.h"

#include <gtest/gtest.h>

#include "messages/font_table.h"
#include "messages/language_file.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

using LocaliseFormTest = testing::AppTest;

TEST_F(LocaliseFormTest, TranslationsFollowLaterKeysAndEveryKindHasItsPass) {
  // Transformed lines, in a file found by its name in another case; the
  // second pair translates the first one's translation again. The file has
  // an even count of lines: its last pair is not used.
  const QByteArray lines =
      "&Stop\nHalt\nHalt\n&Anhalten\n\nleer\n&Send\n&Senden\n&Play\n"
      "Ab&spielen\nSize of recorded file\nDateigröße\nAudio only recording\n"
      "Nur Ton\nCurrent recording:  Right click for send options.  Drag "
      "enabled.\nAktuelle Aufnahme\nSelect bytes per second for recording\n"
      "Bytes pro Sekunde\n&OK\n&Gut\nSetup\nEinrichten";
  QByteArray file;
  for (const QByteArray& line : lines.split('\n'))
    file += TransformLine(line) + "\r\n";
  temp_.WriteFile("VMESSAGE.DEB", "");
  temp_.WriteFile("cwindo00.deb", file);
  ASSERT_EQ(Start(), StartResult::kRunning);
  MKERForm1& r = *app_->recorder();
  QString title;
  app_->messages().ShowMessageForm("text", 0, title);
  EXPECT_EQ(
      QStringList({r.Command(14)->text(), app_->viewer()->Command1()->text(),
                   r.Label5()->toolTip(), r.Picture2()->toolTip(),
                   r.File1()->toolTip(), r.Combo1()->toolTip(),
                   r.Command(15)->text(), r.Command(15)->toolTip(),
                   app_->messages().error_form()->Command1()->text()}),
      QStringList({"&Anhalten", "&Anhalten", "Dateigröße", "Nur Ton",
                   "Aktuelle Aufnahme", "Bytes pro Sekunde", "Setup", "Setup",
                   "&Gut"}));
  // The program's own texts too, but an empty one is not looked up.
  EXPECT_EQ(app_->state().extra_texts[7], "Ab&spielen");
  ExtraTexts texts;
  texts[1] = "&Send";
  EXPECT_EQ(LocaliseForm(*app_->viewer(), texts, 3, ".DEB"), 0);
  EXPECT_EQ(std::vector(texts.begin(), texts.begin() + 4),
            (std::vector<QString>{"", "&Senden", "", ""}));
}

TEST_F(LocaliseFormTest, FontIsChosenByUsefontFromTheListOrItsDefaults) {
  EXPECT_EQ(ChosenFontEntry(), kDefaultFontEntry);
  const std::pair<QByteArray, int> entries[] = {
      {"21", 21}, {"abc", 0}, {"31", 18}, {"-1", 18}};
  for (const auto& [content, entry] : entries) {
    temp_.WriteFile("usefont.txt", content);
    EXPECT_EQ(ChosenFontEntry(), entry) << content.toStdString();
  }
  // The Japanese names are decoded from Shift-JIS, and only they.
  const FontTable defaults = DefaultFontTable();
  EXPECT_EQ(
      QStringList({defaults[12], defaults[13], defaults[20], defaults[21]}),
      QStringList({"Marlett", QString::fromUtf8("ＭＳ ゴシック"),
                   QString::fromUtf8("@ＭＳ Ｐ明朝"), "Arial"}));
  // IPAゴシック in Shift-JIS, then UTF-8, then Windows-1252.
  temp_.WriteFile(
      "fontlist.txt",
      "IPA\x83\x53\x83\x56\x83\x62\x83\x4e\r\nIPA明朝\r\nCaf\xe9\r\n"
      "stop\x1a\r\nnot read\r\n");
  const FontTable japanese = ReadFontTable(".JPN");
  EXPECT_EQ(QStringList({japanese[0], japanese[1], japanese[3]}),
            QStringList({QString::fromUtf8("IPAゴシック"),
                         QString::fromUtf8("IPA明朝"), defaults[3]}));
  EXPECT_EQ(ReadFontTable(".DEU")[2], QString::fromUtf8("Café"));
}

}  // namespace
}  // namespace vocapost
