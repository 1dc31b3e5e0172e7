#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace vocapost {

using WindowHandle = uint64_t;

// Screen pixels; right and bottom are one past the last pixel.
struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// The desktop's windows as a mail-text search sees them, and the input it
// can give them. A desktop without such windows (Wayland, no display)
// enumerates nothing.
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  virtual std::vector<WindowHandle> TopLevelWindows() = 0;
  // Every descendant, children before grandchildren.
  virtual std::vector<WindowHandle> ChildWindows(WindowHandle window) = 0;
  // The window class; on X11 the class half of WM_CLASS.
  virtual QString ClassName(WindowHandle window) = 0;
  virtual QString Title(WindowHandle window) = 0;
  // X11 only, empty elsewhere: the instance half of WM_CLASS, WM_WINDOW_ROLE.
  virtual QString Instance(WindowHandle window) = 0;
  virtual QString Role(WindowHandle window) = 0;
  virtual int64_t ProcessId(WindowHandle window) = 0;  // 0: unknown
  virtual ScreenRect Rect(WindowHandle window) = 0;
  // True once the window (or one inside it) has the keyboard focus.
  virtual bool BringToForeground(WindowHandle window) = 0;
  // Clears the clipboard and puts plain text on it.
  virtual void SetClipboardText(const QString& text) = 0;
  // Keys in the key-sending syntax ("^{HOME}+{INSERT}"); returns once the
  // display has delivered them.
  virtual void SendKeys(const QString& keys) = 0;
  // The scan code of a virtual key (mapping type 0).
  virtual uint8_t MapVirtualKey(uint8_t virtual_key) = 0;
  // One low-level key event; flags 2 is key up.
  virtual void KeyEvent(uint8_t virtual_key, uint8_t scan_code,
                        uint32_t flags) = 0;
};

// The search's view of a desktop that has no windows to search.
class NoDesktopWindows final : public DesktopWindows {
 public:
  std::vector<WindowHandle> TopLevelWindows() override { return {}; }
  std::vector<WindowHandle> ChildWindows(WindowHandle) override { return {}; }
  QString ClassName(WindowHandle) override { return {}; }
  QString Title(WindowHandle) override { return {}; }
  QString Instance(WindowHandle) override { return {}; }
  QString Role(WindowHandle) override { return {}; }
  int64_t ProcessId(WindowHandle) override { return 0; }
  ScreenRect Rect(WindowHandle) override { return {}; }
  bool BringToForeground(WindowHandle) override { return false; }
  void SetClipboardText(const QString&) override {}
  void SendKeys(const QString&) override {}
  uint8_t MapVirtualKey(uint8_t) override { return 0; }
  void KeyEvent(uint8_t, uint8_t, uint32_t) override {}
};

}  // namespace vocapost
