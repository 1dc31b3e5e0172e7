#pragma once

#include <QStringList>
#include <map>

#include "platform/desktop/accessible_desktop.h"
#include "platform/desktop/desktop_windows.h"

namespace vocapost::testing {

// A window tree of the test's making. What the program does to it is noted
// in `actions`.
class FakeDesktop final : public DesktopWindows {
 public:
  struct Window {
    QString class_name;
    QString title;
    ScreenRect rect;
    std::vector<WindowHandle> children;
    QString instance;
    QString role;
    int64_t pid = 0;
  };
  WindowHandle Add(Window window, WindowHandle parent = 0) {
    const WindowHandle handle = windows_.size() + 1;
    windows_[handle] = std::move(window);
    (parent ? windows_[parent].children : top_).push_back(handle);
    return handle;
  }

  std::vector<WindowHandle> TopLevelWindows() override { return top_; }
  std::vector<WindowHandle> ChildWindows(WindowHandle window) override {
    std::vector<WindowHandle> all;
    for (WindowHandle child : windows_[window].children) {
      all.push_back(child);
      for (WindowHandle below : ChildWindows(child)) all.push_back(below);
    }
    return all;
  }
  QString ClassName(WindowHandle w) override { return windows_[w].class_name; }
  QString Title(WindowHandle w) override { return windows_[w].title; }
  QString Instance(WindowHandle w) override { return windows_[w].instance; }
  QString Role(WindowHandle w) override { return windows_[w].role; }
  int64_t ProcessId(WindowHandle w) override { return windows_[w].pid; }
  ScreenRect Rect(WindowHandle w) override { return windows_[w].rect; }
  bool BringToForeground(WindowHandle w) override {
    Note(QString("front %1").arg(w));
    return foreground_allowed;
  }
  void SetClipboardText(const QString& text) override {
    clipboard = text;
    Note("clipboard " + text);
  }
  void SendKeys(const QString& keys) override { Note("keys " + keys); }
  uint8_t MapVirtualKey(uint8_t key) override { return key + 100; }
  void KeyEvent(uint8_t key, uint8_t scan, uint32_t flags) override {
    Note(QString("key %1 %2 %3").arg(key).arg(scan).arg(flags));
  }

  bool foreground_allowed = true;
  QString clipboard = "before";
  QStringList actions;

 private:
  void Note(const QString& what) { actions << what; }

  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> top_;
};

// An accessibility tree whose answer the test sets.
class FakeAccessibleDesktop final : public AccessibleDesktop {
 public:
  BodyInsertion InsertAtBodyStart(int64_t pid, const QString& title,
                                  const QString& text) override {
    asked << QString("%1 %2 %3").arg(pid).arg(title, text);
    return answer;
  }
  BodyInsertion answer = BodyInsertion::kNoBody;
  QStringList asked;
};

}  // namespace vocapost::testing
