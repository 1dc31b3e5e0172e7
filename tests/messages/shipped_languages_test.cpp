// The German and Japanese files shipped with the program: every text the
// program can show has its translation.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <map>
#include <set>

#include "app/extra_texts.h"
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

// Texts the code hands to the user, found where it marks them.
struct CodeTexts {
  std::set<QString> messages;  // through the language file
  std::set<QString> captions;  // through the caption file
  QStringList problems;
};

CodeTexts ScanCode() {
  // The call, its leading literals (adjacent ones joined) and what follows.
  static const QRegularExpression call(
      R"re((UserText|ShowMessage|ShowMessageForm|LocalCaption)\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)(.))re");
  static const QRegularExpression literal(R"re("((?:[^"\\]|\\.)*)")re");
  CodeTexts found;
  for (const char* folder : {"src", "tools"}) {
    QDirIterator files(QString(VOCAPOST_SOURCE_DIR) + "/" + folder,
                       {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
      QFile file(files.next());
      if (!file.open(QIODevice::ReadOnly)) continue;
      for (const auto& match : call.globalMatch(file.readAll())) {
        QString text;
        // Escapes undone: the texts have no line breaks or tabs.
        for (const auto& piece : literal.globalMatch(match.captured(2)))
          text += piece.captured(1).replace("\\\"", "\"").replace("\\\\", "\\");
        // Only UserText may take part of a text: the others look up theirs
        // whole.
        if (match.captured(1) != "UserText" && match.captured(3) != ",") {
          found.problems << file.fileName() + ": \"" + text +
                                "\" is built up: make it a UserText template";
          continue;
        }
        (match.captured(1) == "LocalCaption" ? found.captions : found.messages)
            .insert(text);
      }
    }
  }
  return found;
}

QString CaptionOf(const QWidget& control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(&control))
    return button->text();
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (auto* frame = qobject_cast<const QGroupBox*>(&control))
    return frame->title();
  return {};
}

// The captions and tooltips that caption localisation looks at.
void AddFormTexts(QWidget& form, std::set<QString>& texts) {
  for (QWidget* control : FormControls(form)) {
    const ControlKind kind = KindOf(*control);
    if (kind == ControlKind::kOther) continue;
    const QString caption = CaptionOf(*control);
    // A caption left as its control's name is never meant to be read.
    if (caption.compare(control->objectName(), Qt::CaseInsensitive) != 0)
      texts.insert(caption);
    if (kind != ControlKind::kFrame) texts.insert(control->toolTip());
  }
}

// Key line → the line after it, for the pairs of a shipped file.
std::map<QString, QString> Pairs(const std::filesystem::path& file,
                                 bool odd_only) {
  QFile in(QString::fromStdString(file.string()));
  EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file;
  const QStringList lines = QString::fromUtf8(in.readAll()).split("\r\n");
  std::map<QString, QString> pairs;
  for (qsizetype i = 0; i + 1 < lines.size(); i += odd_only ? 2 : 1)
    pairs.emplace(lines[i], lines[i + 1]);
  return pairs;
}

std::set<QString> Placeholders(const QString& text) {
  std::set<QString> found;
  for (const auto& match : QRegularExpression("%[1-9]").globalMatch(text))
    found.insert(match.captured());
  return found;
}

QString Sample(QString text) {
  for (int n = 1; n <= 9; ++n)
    text.replace(QString("%%1").arg(n), QString("<piece %1>").arg(n));
  return text;
}

class ShippedLanguagesTest : public testing::AppTest {
 protected:
  // Every caption of the windows, their menus and the program's own.
  std::set<QString> CaptionTexts(const CodeTexts& code) {
    std::set<QString> texts = code.captions;
    AddFormTexts(*app_->recorder(), texts);
    AddFormTexts(*app_->viewer(), texts);
    AddFormTexts(app_->LoadAboutForm(), texts);
    ErrorForm1 message_window(".ENG");
    AddFormTexts(message_window, texts);
    ExtraTexts extra;
    FillStartupExtraTexts(extra);
    texts.insert(extra.begin(), extra.end());
    texts.insert(app_->LoadAboutForm().windowTitle());
    std::erase_if(texts, [](const QString& text) {
      return !text.contains(QRegularExpression("\\p{L}"));
    });
    return texts;
  }
};

TEST_F(ShippedLanguagesTest, EveryTextInTheCodeHasATranslationInEachLanguage) {
  const CodeTexts code = ScanCode();
  EXPECT_EQ(code.problems, QStringList());
  ASSERT_GT(code.messages.size(), 60u) << "the scan found the messages";
  ASSERT_TRUE(code.messages.contains("Recordedfile does not exist."));
  ASSERT_EQ(Start(), StartResult::kRunning);
  const std::set<QString> captions = CaptionTexts(code);
  ASSERT_TRUE(captions.contains("Record audio and/or video"));
  ASSERT_TRUE(captions.contains("&Send"));

  for (const std::string set : {"DEU", "JPN"}) {
    SCOPED_TRACE(set);
    const QString extension = QString::fromStdString("." + set);
    testing::InstallShippedLanguage(temp_, set);
    // Messages: found through the lookup, templates with their pieces.
    const auto messages =
        Pairs(testing::ShippedLanguageSet(set) / ("VMESSAGE." + set), false);
    for (const QString& text : code.messages) {
      SCOPED_TRACE(text.toStdString());
      const auto pair = messages.find(text);
      ASSERT_NE(pair, messages.end()) << "untranslated";
      EXPECT_NE(pair->second, text);
      EXPECT_EQ(Placeholders(pair->second), Placeholders(text));
      EXPECT_EQ(LookUpMessageText(Sample(text), extension),
                Sample(pair->second));
    }
    // Captions: each pair reached, and not carried on by a later one.
    const auto caption_pairs =
        Pairs(testing::ShippedLanguageSet(set) /
                  CaptionFileName(kFormHelpContext, extension).toStdString(),
              true);
    const QStringList lines = ReadCaptionLines(extension);
    for (const QString& text : captions) {
      const auto pair = caption_pairs.find(text);
      ASSERT_NE(pair, caption_pairs.end())
          << "untranslated: " << text.toStdString();
      EXPECT_EQ(TranslateCaption(lines, text), pair->second)
          << text.toStdString();
    }
  }
}

}  // namespace
}  // namespace vocapost
