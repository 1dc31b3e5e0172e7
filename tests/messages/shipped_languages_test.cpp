// The German and Japanese files shipped with the program: every text the
// program can show has its translation, and the windows wear them well.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDirIterator>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
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
#include "support/artifacts.h"
#include "support/languages.h"

namespace vocapost {
namespace {

// Texts the code hands to the user, found where it marks them.
struct CodeTexts {
  std::set<QString> messages;  // through the language file
  std::set<QString> captions;  // through the caption file
  QStringList problems;
};

// The text of the string literals (adjacent ones joined) at `at`, and where
// they end; nothing when no literal starts there.
std::optional<std::pair<QString, qsizetype>> Literal(const QString& code,
                                                     qsizetype at) {
  QString text;
  bool any = false;
  for (;;) {
    while (at < code.size() && code[at].isSpace()) ++at;
    if (at >= code.size() || code[at] != '"') break;
    any = true;
    for (++at; at < code.size() && code[at] != '"'; ++at) {
      if (code[at] != '\\') {
        text += code[at];
        continue;
      }
      const QChar escaped = code[++at];
      text += escaped == 'n'   ? QChar('\n')
              : escaped == 'r' ? QChar('\r')
              : escaped == 't' ? QChar('\t')
                               : escaped;
    }
    ++at;
  }
  if (!any) return std::nullopt;
  return std::pair{text, at};
}

CodeTexts ScanCode() {
  struct Marker {
    QString call;
    bool caption;
    bool whole_argument;  // must be the call's whole first argument
  };
  const Marker markers[] = {{"UserText(", false, false},
                            {"ShowMessage(", false, true},
                            {"ShowMessageForm(", false, true},
                            {"LocalCaption(", true, true}};
  CodeTexts found;
  for (const char* folder : {"src", "tools"}) {
    QDirIterator files(QString(VOCAPOST_SOURCE_DIR) + "/" + folder,
                       {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
      const QString path = files.next();
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) continue;
      const QString code = QString::fromUtf8(file.readAll());
      for (const Marker& marker : markers) {
        for (qsizetype at = code.indexOf(marker.call); at >= 0;
             at = code.indexOf(marker.call, at + 1)) {
          const auto literal = Literal(code, at + marker.call.size());
          if (!literal) continue;
          qsizetype after = literal->second;
          while (after < code.size() && code[after].isSpace()) ++after;
          const QChar next = after < code.size() ? code[after] : QChar();
          if (marker.whole_argument && next != ',') {
            found.problems << path + ": " + marker.call + "\"" +
                                  literal->first +
                                  "\" is built up: make it a UserText "
                                  "template with %1";
            continue;
          }
          (marker.caption ? found.captions : found.messages)
              .insert(literal->first);
        }
      }
    }
  }
  return found;
}

bool HasLetters(const QString& text) {
  return text.contains(QRegularExpression("\\p{L}"));
}

// The captions and tooltips that caption localisation looks at.
void AddFormTexts(QWidget& form, std::set<QString>& texts) {
  for (QWidget* control : FormControls(form)) {
    const ControlKind kind = KindOf(*control);
    if (kind == ControlKind::kOther) continue;
    QString caption;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      caption = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      caption = label->text();
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
      caption = frame->title();
    }
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
  QStringList lines = QString::fromUtf8(in.readAll()).split("\r\n");
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  std::map<QString, QString> pairs;
  for (qsizetype i = 0; i + 1 < lines.size(); i += odd_only ? 2 : 1)
    pairs.emplace(lines[i], lines[i + 1]);
  return pairs;
}

QStringList Placeholders(const QString& text) {
  QStringList found;
  for (const auto& match : QRegularExpression("%[1-9]").globalMatch(text))
    found << match.captured();
  found.sort();
  found.removeDuplicates();
  return found;
}

QString Sample(QString text) {
  for (int n = 1; n <= 9; ++n)
    text.replace(QString("%%1").arg(n), QString("<piece %1>").arg(n));
  return text;
}

class ShippedLanguagesTest : public testing::AppTest {
 protected:
  MKERForm1& recorder() { return *app_->recorder(); }
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
    std::erase_if(texts, [](const QString& text) { return !HasLetters(text); });
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

  for (const auto& [set, extension] :
       {std::pair{"DEU", ".DEU"}, std::pair{"JPN", ".JPN"}}) {
    SCOPED_TRACE(set);
    testing::InstallShippedLanguage(temp_, set);
    const auto language_file = testing::ShippedLanguageSet(set) /
                               ("VMESSAGE" + std::string(extension));
    const auto caption_file =
        testing::ShippedLanguageSet(set) /
        CaptionFileName(kFormHelpContext, extension).toStdString();
    // Messages: found through the lookup, templates with their pieces.
    const std::map<QString, QString> messages = Pairs(language_file, false);
    for (const QString& text : code.messages) {
      const auto pair = messages.find(text);
      ASSERT_NE(pair, messages.end()) << "untranslated: " << text.toStdString();
      EXPECT_NE(pair->second, text);
      EXPECT_EQ(Placeholders(pair->second), Placeholders(text))
          << text.toStdString();
      EXPECT_EQ(LookUpMessageText(Sample(text), extension),
                Sample(pair->second))
          << text.toStdString();
    }
    // Captions: each pair reached, and not carried on by a later one.
    const std::map<QString, QString> caption_pairs = Pairs(caption_file, true);
    const QStringList lines = ReadCaptionLines(extension);
    for (const QString& text : captions) {
      const auto pair = caption_pairs.find(text);
      ASSERT_NE(pair, caption_pairs.end())
          << "untranslated: " << text.toStdString();
      EXPECT_EQ(TranslateCaption(lines, text), pair->second)
          << text.toStdString();
      EXPECT_EQ(Placeholders(pair->second), Placeholders(text));
    }
    // Nothing kept for a text the program no longer has.
    for (const auto& [key, translation] : caption_pairs)
      EXPECT_TRUE(captions.contains(key)) << "stale: " << key.toStdString();
    for (const auto& [key, translation] : Pairs(language_file, true)) {
      EXPECT_TRUE(code.messages.contains(key))
          << "stale: " << key.toStdString();
    }
  }
}

// What a control shows: its caption and tooltip, by its name.
struct Shown {
  QString caption, tooltip;
};

QString CaptionOf(const QWidget& control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(&control))
    return button->text();
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  return {};
}

// The part of `widget`'s contents that its window shows.
QRect SeenContents(const QWidget& widget) {
  const QRect contents = widget.contentsRect();
  const QWidget* window = widget.window();
  return QRect(widget.mapTo(window, contents.topLeft()), contents.size()) &
         window->rect();
}

std::map<QString, Shown> VisibleTexts(QWidget& window) {
  std::map<QString, Shown> shown;
  for (QWidget* control : FormControls(window)) {
    if (!control->isVisibleTo(&window) || SeenContents(*control).isEmpty())
      continue;
    shown[control->objectName()] = {CaptionOf(*control), control->toolTip()};
  }
  return shown;
}

// Every caption fits the part of its control that is seen.
void ExpectCaptionsFit(QWidget& window) {
  for (QWidget* control : FormControls(window)) {
    if (!control->isVisibleTo(&window)) continue;
    QString text = CaptionOf(*control);
    int padding = 0;
    if (qobject_cast<QAbstractButton*>(control)) {
      text.remove('&');
      padding = control->style()->pixelMetric(QStyle::PM_ButtonMargin) +
                2 * control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    }
    const QRect seen = SeenContents(*control);
    if (text.isEmpty() || seen.isEmpty()) continue;
    const QFontMetrics metrics(control->font());
    const QStringList lines = text.split('\n');
    for (const QString& line : lines) {
      EXPECT_LE(metrics.horizontalAdvance(line) + padding, seen.width())
          << control->objectName().toStdString() << " " << line.toStdString();
    }
    EXPECT_LE(metrics.height() * lines.size(), seen.height())
        << control->objectName().toStdString();
  }
}

TEST_F(ShippedLanguagesTest, GermanWindowsShowNoEnglishAndTheirCaptionsFit) {
  temp_.WriteFile("06000000.vrc", QByteArray(2100, 'n'));
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().show();
  QCoreApplication::processEvents();
  const std::map<QString, Shown> english = VisibleTexts(recorder());
  ASSERT_GE(english.size(), 20u);

  app_.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  testing::InstallShippedLanguage(temp_, "DEU");
  app_ = MakeApp(wave_);
  ASSERT_EQ(Start(), StartResult::kRunning);
  ASSERT_EQ(app_->state().messages.language_extension, ".DEU");
  recorder().show();
  recorder().Command(17)->Press();
  QCoreApplication::processEvents();
  EXPECT_TRUE(testing::SaveArtifact(recorder(), "recorder-german"));
  EXPECT_TRUE(testing::SaveArtifact(*app_->about_form(), "about-german"));

  const std::map<QString, Shown> german = VisibleTexts(recorder());
  EXPECT_EQ(german.size(), english.size());
  int translated = 0;
  for (const auto& [name, shown] : german) {
    const auto found = english.find(name);
    ASSERT_NE(found, english.end()) << name.toStdString();
    const Shown& before = found->second;
    for (const auto& [now, was] : {std::pair{shown.caption, before.caption},
                                   std::pair{shown.tooltip, before.tooltip}}) {
      if (!HasLetters(was)) continue;
      EXPECT_NE(now, was) << name.toStdString();
      ++translated;
    }
  }
  EXPECT_GE(translated, 20);
  ExpectCaptionsFit(recorder());
  ExpectCaptionsFit(*app_->about_form());
  EXPECT_EQ(app_->about_form()->windowTitle(), "Info");

  // Menus and messages speak German too.
  recorder().File2()->SetListIndex(0);
  recorder().File2_MouseDown(Qt::RightButton, QPoint(5, 5));
  QStringList items;
  for (QAction* item : recorder().mnuDelete()->actions()) items << item->text();
  recorder().mnuDelete()->hide();
  EXPECT_EQ(items.join('|'),
            "Datei mit Abspielprogramm &erstellen|Ab&spielen 06000000.vrc|"
            "&Löschen 06000000.vrc|&Senden 06000000.vrc|Abbre&chen|"
            "Als WebM exportieren …");
  recorder().File2()->SetListIndex(-1);
  recorder().Command(26)->Press();
  const ErrorForm1* message = app_->messages().error_form();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->windowTitle(), "Vocapost-Nachricht");
  EXPECT_EQ(message->Label1()->text(), "Keine Datei ausgewählt");
  EXPECT_EQ(message->Command1()->text(), "&OK");
}

TEST_F(ShippedLanguagesTest, JapaneseWindowsDrawEveryCharacterInAJapaneseFont) {
  testing::InstallShippedLanguage(temp_, "JPN");
  ASSERT_EQ(Start(), StartResult::kRunning);
  recorder().show();
  recorder().Command(17)->Press();
  QCoreApplication::processEvents();
  const QFont chosen = recorder().Command(2)->font();
  if (!QFontInfo(chosen).family().contains(QRegularExpression("^IPA|CJK"))) {
    GTEST_SKIP() << "no Japanese font installed (scripts/setup adds one)";
  }
  EXPECT_TRUE(testing::SaveArtifact(recorder(), "recorder-japanese"));
  EXPECT_TRUE(testing::SaveArtifact(*app_->about_form(), "about-japanese"));
  int japanese = 0;
  for (QWidget* window : {static_cast<QWidget*>(&recorder()),
                          static_cast<QWidget*>(app_->about_form()),
                          static_cast<QWidget*>(app_->viewer())}) {
    for (QWidget* control : FormControls(*window)) {
      const QString caption = CaptionOf(*control);
      if (KindOf(*control) == ControlKind::kFileList ||
          !caption.contains(QRegularExpression("[\\x{3000}-\\x{9fff}]")))
        continue;
      ++japanese;
      EXPECT_EQ(control->font().family(), QString::fromUtf8("ＭＳ Ｐゴシック"));
      const QFontMetrics metrics(control->font());
      for (const char32_t c : caption.toUcs4()) {
        if (c == '\n') continue;
        EXPECT_TRUE(metrics.inFontUcs4(c))
            << control->objectName().toStdString() << " U+" << std::hex
            << static_cast<uint32_t>(c);
      }
    }
  }
  EXPECT_GE(japanese, 15);
  ExpectCaptionsFit(*app_->about_form());
}

}  // namespace
}  // namespace vocapost
