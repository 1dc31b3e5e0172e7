#include "send/mail_text_insertion.h"

#include <QCoreApplication>
#include <array>

#include "messages/pause.h"
#include "send/compose_windows.h"
#include "send/email_dispatch.h"

namespace vocapost {
namespace {

constexpr std::array<const char*, 4> kSearchedClasses{
    "ATH_NOTE", "EUDORAMAINWINDOW", "AFX:", "RCTRL_RENWND32"};

struct EditorRow {
  const char* window_class;
  const char* editor_class;
};
constexpr std::array<EditorRow, 5> kLineFeedRows{{
    {"EUDORAMAINWINDOW", "RICHEDIT"},
    {"AFX:", "AFX:"},
    {"RCTRL_RENWND32", "RICHEDIT"},
    {"ATH_NOTE", "HTMLEDIT"},
    {"ATH_NOTE", "ATH_DOCHOST"},
}};
constexpr const char* kWordWindowClass = "RCTRL_RENWND32";
constexpr const char* kWordEditorClass = "WWG";
constexpr int kLineFeedMinHeight = 50;
constexpr int kWordMinHeight = 150;
constexpr double kWordPasteDelay = 0.5;
constexpr const char* kPasteKeys = "^{HOME}+{INSERT}";
constexpr uint8_t kShiftKey = 0x10;
constexpr uint8_t kInsertKey = 0x2D;
constexpr uint32_t kKeyUp = 2;

void RunPendingEvents() { QCoreApplication::processEvents(); }

// What a 250-character read gives: at most 249 characters, up to a NUL.
QString Read(const QString& text) {
  const QString cut = text.left(kWindowTextLimit);
  const qsizetype nul = cut.indexOf(QChar(0));
  return nul < 0 ? cut : cut.left(nul);
}

bool Contains(const QString& upper_name, const char* part) {
  return upper_name.contains(QLatin1String(part));
}

class MailWindowSearch {
 public:
  explicit MailWindowSearch(MailTextInsertion& insertion)
      : in_(insertion), desktop_(insertion.desktop) {}

  void FindMailWindowsProc(WindowHandle window) {
    in_.state.current_mail_window_class = Read(desktop_.ClassName(window));
    const QString title = Read(desktop_.Title(window));
    if (title.toUpper().contains("NETSCAPE")) return;
    const QString upper = in_.state.current_mail_window_class.toUpper();
    for (const char* searched : kSearchedClasses) {
      if (Contains(upper, searched)) {
        for (WindowHandle child : desktop_.ChildWindows(window)) {
          FindMailEditorProc(child);
        }
        return;
      }
    }
    const std::optional<ComposeWindowRule> rule = FindComposeRule(
        {Read(desktop_.Instance(window)), in_.state.current_mail_window_class,
         Read(desktop_.Role(window))});
    if (rule) InsertIntoComposeWindow(window, *rule);
  }

 private:
  void FindMailEditorProc(WindowHandle child) {
    const QString editor = Read(desktop_.ClassName(child)).toUpper();
    const QString window = in_.state.current_mail_window_class.toUpper();
    for (const EditorRow& row : kLineFeedRows) {
      if (Contains(window, row.window_class) &&
          Contains(editor, row.editor_class)) {
        if (EditorHeight(child) > kLineFeedMinHeight) PasteByKeys(child, "");
        break;
      }
    }
    if (Contains(window, kWordWindowClass) &&
        Contains(editor, kWordEditorClass) &&
        EditorHeight(child) > kWordMinHeight) {
      const QString notice = NoticeCarriageReturnForm(in_.texts);
      desktop_.BringToForeground(child);
      RunPendingEvents();
      WaitWithEvents(in_.clock, kWordPasteDelay, [] { return false; });
      desktop_.SetClipboardText(notice);
      PressShiftInsert();
    }
  }

  int32_t EditorHeight(WindowHandle child) {
    in_.state.editor_rect = {};
    in_.state.editor_rect = desktop_.Rect(child);
    return in_.state.editor_rect.bottom - in_.state.editor_rect.top;
  }

  // Ctrl+Home puts the caret at the start of the text, Shift+Insert pastes.
  void PasteByKeys(WindowHandle target, const QString& caret_keys) {
    desktop_.SetClipboardText(NoticeLineFeedForm(in_.texts));
    RunPendingEvents();
    const bool in_front = desktop_.BringToForeground(target);
    RunPendingEvents();
    if (in_front) desktop_.SendKeys(caret_keys + kPasteKeys);
    RunPendingEvents();
  }

  void PressShiftInsert() {
    const uint8_t shift = desktop_.MapVirtualKey(kShiftKey);
    const uint8_t insert = desktop_.MapVirtualKey(kInsertKey);
    desktop_.KeyEvent(kShiftKey, shift, 0);
    desktop_.KeyEvent(kInsertKey, insert, 0);
    desktop_.KeyEvent(kInsertKey, insert, kKeyUp);
    desktop_.KeyEvent(kShiftKey, shift, kKeyUp);
  }

  // These programs draw their editors themselves: the body is reached
  // through the accessibility tree where there is one, else by keys.
  void InsertIntoComposeWindow(WindowHandle window,
                               const ComposeWindowRule& rule) {
    BodyInsertion done = BodyInsertion::kNoBody;
    if (in_.accessibility != nullptr) {
      done = in_.accessibility->InsertAtBodyStart(
          desktop_.ProcessId(window), desktop_.Title(window),
          NoticeLineFeedForm(in_.texts));
    }
    if (done == BodyInsertion::kInserted) return;
    if (done == BodyInsertion::kFocused) return PasteByKeys(window, "");
    if (*rule.caret_keys != '\0') PasteByKeys(window, rule.caret_keys);
  }

  MailTextInsertion& in_;
  DesktopWindows& desktop_;
};

}  // namespace

QString NoticeLineFeedForm(const ExtraTexts& texts) {
  QString notice = "\r\n";
  for (int line = 1; line <= 5; ++line) notice += texts[line] + "\r\n";
  return notice + "\r\n";
}

QString NoticeCarriageReturnForm(const ExtraTexts& texts) {
  return NoticeBody(texts);
}

void InsertRecipientNotice(MailTextInsertion& insertion) {
  PauseWithEvents(insertion.clock, 0);
  MailWindowSearch search(insertion);
  for (WindowHandle window : insertion.desktop.TopLevelWindows()) {
    search.FindMailWindowsProc(window);
  }
}

}  // namespace vocapost
