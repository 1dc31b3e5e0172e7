#pragma once

#include <xcb/xcb.h>

#include <map>
#include <memory>

#include "platform/desktop/desktop_windows.h"

namespace vocapost {

// The X11 desktop through its own xcb connection: top-level client windows
// with WM_CLASS, WM_WINDOW_ROLE and titles, focus through the window manager
// (or directly where there is none), keys through XTest, the clipboard
// through Qt. No reply is waited for longer than kReplyWaitMs.
class X11DesktopWindows final : public DesktopWindows {
 public:
  static constexpr int kReplyWaitMs = 500;

  // Null when no X display can be opened or it lacks XTest.
  static std::unique_ptr<X11DesktopWindows> Connect();
  ~X11DesktopWindows() override;

  std::vector<WindowHandle> TopLevelWindows() override;
  std::vector<WindowHandle> ChildWindows(WindowHandle window) override;
  QString ClassName(WindowHandle window) override;
  QString Title(WindowHandle window) override;
  QString Instance(WindowHandle window) override;
  QString Role(WindowHandle window) override;
  int64_t ProcessId(WindowHandle window) override;
  ScreenRect Rect(WindowHandle window) override;
  bool BringToForeground(WindowHandle window) override;
  void SetClipboardText(const QString& text) override;
  void SendKeys(const QString& keys) override;
  uint8_t MapVirtualKey(uint8_t virtual_key) override;
  void KeyEvent(uint8_t virtual_key, uint8_t scan_code,
                uint32_t flags) override;

 private:
  explicit X11DesktopWindows(xcb_connection_t* connection);
  xcb_atom_t Atom(const char* name);
  QByteArray Property(xcb_window_t window, xcb_atom_t property);
  std::vector<xcb_window_t> Children(xcb_window_t window);
  xcb_window_t Parent(xcb_window_t window);
  bool HasFocus(xcb_window_t window);
  bool WaitForFocus(xcb_window_t window, int milliseconds);
  xcb_keycode_t KeyCode(uint32_t keysym);
  void FakeKey(xcb_keycode_t code, bool down);
  void RoundTrip();

  xcb_connection_t* connection_;
  xcb_window_t root_;
  std::map<std::string, xcb_atom_t> atoms_;
  std::map<uint32_t, xcb_keycode_t> keycodes_;
};

// The X11 desktop when Qt itself runs on X11; otherwise one with no windows.
std::unique_ptr<DesktopWindows> MakeDesktopWindows();

}  // namespace vocapost
