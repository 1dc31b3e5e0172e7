// The German and Japanese files shipped with the program: every text the
// program can show has its translation.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <set>

#include "messages/about_form.h"
#include "messages/caption_file.h"
#include "messages/language_file.h"
#include "messages/localise_form.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/languages.h"

namespace vocapost {
namespace {

using ShippedLanguagesTest = testing::AppTest;

TEST_F(ShippedLanguagesTest, EveryTextInTheCodeHasATranslationInEachLanguage) {
  // Each marked call with its leading literals (adjacent ones joined); only
  // UserText may take part of a text, the others look up theirs whole.
  static const QRegularExpression call(
      R"re((UserText|ShowMessage|ShowMessageForm|LocalCaption)\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)(.))re");
  std::set<QString> messages, captions;
  for (const char* folder : {"/src", "/tools"}) {
    QDirIterator files(VOCAPOST_SOURCE_DIR + QString(folder), {"*.cpp", "*.h"},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
      QFile file(files.next());
      EXPECT_TRUE(file.open(QIODevice::ReadOnly));
      for (const auto& match : call.globalMatch(file.readAll())) {
        QString text;
        for (const auto& piece :
             QRegularExpression(R"re("((?:[^"\\]|\\.)*)")re")
                 .globalMatch(match.captured(2)))
          text += piece.captured(1).replace("\\\"", "\"").replace("\\\\", "\\");
        EXPECT_TRUE(match.captured(1) == "UserText" || match.captured(3) == ",")
            << "built up: " << text.toStdString();
        (match.captured(1) == "LocalCaption" ? captions : messages)
            .insert(text);
      }
    }
  }
  ASSERT_GT(messages.size(), 60u) << "the scan found the messages";
  // The captions and tooltips localisation looks at, but never a caption
  // left as its control's name.
  ASSERT_EQ(Start(), StartResult::kRunning);
  ErrorForm1 message_window(".ENG");
  for (QWidget* form : std::initializer_list<QWidget*>{
           app_->recorder(), app_->viewer(), &app_->LoadAboutForm(),
           &message_window}) {
    for (QWidget* control : FormControls(*form)) {
      const ControlKind kind = KindOf(*control);
      if (kind == ControlKind::kOther) continue;
      const QString caption =
          kind == ControlKind::kTextBox
              ? ""
              : control
                    ->property(kind == ControlKind::kFrame ? "title" : "text")
                    .toString();
      if (caption.compare(control->objectName(), Qt::CaseInsensitive) != 0)
        captions.insert(caption);
      if (kind != ControlKind::kFrame) captions.insert(control->toolTip());
    }
  }
  captions.insert(app_->LoadAboutForm().windowTitle());
  captions.insert(app_->state().extra_texts.begin(),
                  app_->state().extra_texts.end());
  std::erase_if(captions, [](const QString& text) {
    return !text.contains(QRegularExpression("\\p{L}"));
  });
  ASSERT_TRUE(captions.contains("Record audio and/or video"));

  for (const QString extension : {".DEU", ".JPN"}) {
    SCOPED_TRACE(extension.toStdString());
    testing::InstallShippedLanguage(temp_, extension.mid(1).toStdString());
    // Messages: found through the lookup, templates keeping their pieces.
    for (QString text : messages) {
      for (int n = 1; n <= 9; ++n)
        text.replace(QString("%%1").arg(n), QString("<piece %1>").arg(n));
      const QString shown = LookUpMessageText(text, extension);
      EXPECT_NE(shown, text) << "untranslated";
      EXPECT_EQ(shown.count("<piece "), text.count("<piece "));
    }
    // Captions: a key of the file, not carried on by a later pair.
    const QStringList lines = ReadCaptionLines(extension);
    for (const QString& text : captions) {
      const qsizetype key = lines.indexOf(text);
      EXPECT_TRUE(key % 2 == 0 && key + 1 < lines.size() &&
                  TranslateCaption(lines, text) == lines[key + 1])
          << "untranslated: " << text.toStdString();
    }
  }
}

}  // namespace
}  // namespace vocapost
