#include "platform/desktop/x11_desktop_windows.h"

#include <poll.h>
#include <xcb/xcbext.h>
#include <xcb/xtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <thread>

#include "platform/desktop/key_sequence.h"

namespace vocapost {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

constexpr size_t kMostChildWindows = 10000;
constexpr uint32_t kPropertyWords = 1024;  // 4 KiB: far beyond 249 characters
constexpr int kTopLevelDepth = 3;  // window manager frames around clients
constexpr uint32_t kActiveFromPager = 2;  // not refused as focus stealing

// A hung X server must not freeze the program: every reply is awaited with a
// deadline, and abandoned after it.
template <typename T>
Reply<T> Await(xcb_connection_t* c, unsigned int sequence) {
  xcb_flush(c);
  const auto deadline =
      steady_clock::now() + milliseconds(X11DesktopWindows::kReplyWaitMs);
  for (;;) {
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (xcb_poll_for_reply(c, sequence, &reply, &error)) {
      std::free(error);
      return Reply<T>(static_cast<T*>(reply));
    }
    // Errors of requests without replies (a window that went away) queue up
    // as events; nobody reads them.
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) std::free(event);
    const auto left = std::chrono::duration_cast<milliseconds>(
        deadline - steady_clock::now());
    if (xcb_connection_has_error(c) || left.count() <= 0) {
      xcb_discard_reply(c, sequence);
      return nullptr;
    }
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
}

// X keysyms of the named keys and of the key-sending modifiers.
uint32_t KeySym(const QString& key) {
  static const std::map<QString, uint32_t> kNamed{
      {"HOME", 0xff50},  {"END", 0xff57},      {"INSERT", 0xff63},
      {"TAB", 0xff09},   {"ENTER", 0xff0d},    {"ESC", 0xff1b},
      {"UP", 0xff52},    {"DOWN", 0xff54},     {"LEFT", 0xff51},
      {"RIGHT", 0xff53}, {"BACKSPACE", 0xff08}};
  if (const auto it = kNamed.find(key); it != kNamed.end()) return it->second;
  if (key.size() == 1 && key[0].unicode() < 0x100) {
    return key[0].toLower().unicode();  // Latin-1 keysyms are the code
  }
  return 0;
}
constexpr uint32_t kControlKeySym = 0xffe3;
constexpr uint32_t kShiftKeySym = 0xffe1;
constexpr uint32_t kAltKeySym = 0xffe9;

uint32_t VirtualKeySym(uint8_t virtual_key) {
  switch (virtual_key) {
    case 0x10:
      return kShiftKeySym;
    case 0x11:
      return kControlKeySym;
    case 0x24:
      return 0xff50;  // Home
    case 0x2D:
      return 0xff63;  // Insert
    default:
      return 0;
  }
}

}  // namespace

std::unique_ptr<X11DesktopWindows> X11DesktopWindows::Connect() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return nullptr;
  }
  const auto xtest = Await<xcb_test_get_version_reply_t>(
      c, xcb_test_get_version(c, 2, 2).sequence);
  if (!xtest) {
    xcb_disconnect(c);
    return nullptr;
  }
  return std::unique_ptr<X11DesktopWindows>(new X11DesktopWindows(c));
}

X11DesktopWindows::X11DesktopWindows(xcb_connection_t* connection)
    : connection_(connection),
      root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root) {}

X11DesktopWindows::~X11DesktopWindows() { xcb_disconnect(connection_); }

xcb_atom_t X11DesktopWindows::Atom(const char* name) {
  if (const auto it = atoms_.find(name); it != atoms_.end()) return it->second;
  const auto reply = Await<xcb_intern_atom_reply_t>(
      connection_,
      xcb_intern_atom(connection_, 0, std::strlen(name), name).sequence);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  if (reply) atoms_[name] = atom;
  return atom;
}

QByteArray X11DesktopWindows::Property(xcb_window_t window,
                                       xcb_atom_t property) {
  const auto reply = Await<xcb_get_property_reply_t>(
      connection_,
      xcb_get_property(connection_, 0, window, property,
                       XCB_GET_PROPERTY_TYPE_ANY, 0, kPropertyWords)
          .sequence);
  if (!reply || reply->type == XCB_ATOM_NONE) return {};
  return QByteArray(
      static_cast<const char*>(xcb_get_property_value(reply.get())),
      xcb_get_property_value_length(reply.get()));
}

std::vector<xcb_window_t> X11DesktopWindows::Children(xcb_window_t window) {
  const auto reply = Await<xcb_query_tree_reply_t>(
      connection_, xcb_query_tree(connection_, window).sequence);
  if (!reply) return {};
  const xcb_window_t* children = xcb_query_tree_children(reply.get());
  return {children, children + xcb_query_tree_children_length(reply.get())};
}

xcb_window_t X11DesktopWindows::Parent(xcb_window_t window) {
  const auto reply = Await<xcb_query_tree_reply_t>(
      connection_, xcb_query_tree(connection_, window).sequence);
  return reply ? reply->parent : xcb_window_t{XCB_WINDOW_NONE};
}

std::vector<WindowHandle> X11DesktopWindows::TopLevelWindows() {
  // Without a window manager the clients are the root's children; a
  // reparenting one puts each into frames of its own.
  std::vector<WindowHandle> clients;
  for (xcb_window_t top : Children(root_)) {
    std::deque<std::pair<xcb_window_t, int>> queue{{top, 1}};
    while (!queue.empty()) {
      const auto [window, depth] = queue.front();
      queue.pop_front();
      if (!Property(window, XCB_ATOM_WM_CLASS).isEmpty()) {
        clients.push_back(window);
        break;
      }
      if (depth == kTopLevelDepth) continue;
      for (xcb_window_t child : Children(window)) {
        queue.emplace_back(child, depth + 1);
      }
    }
  }
  return clients;
}

std::vector<WindowHandle> X11DesktopWindows::ChildWindows(WindowHandle window) {
  std::vector<WindowHandle> all;
  std::deque<xcb_window_t> queue{static_cast<xcb_window_t>(window)};
  while (!queue.empty() && all.size() < kMostChildWindows) {
    for (xcb_window_t child : Children(queue.front())) {
      all.push_back(child);
      queue.push_back(child);
    }
    queue.pop_front();
  }
  return all;
}

QString X11DesktopWindows::Instance(WindowHandle window) {
  const QByteArray names = Property(window, XCB_ATOM_WM_CLASS);
  return QString::fromLatin1(names.left(names.indexOf('\0')));
}

QString X11DesktopWindows::ClassName(WindowHandle window) {
  const QByteArray names = Property(window, XCB_ATOM_WM_CLASS);
  const qsizetype end = names.indexOf('\0');
  if (end < 0) return {};
  const QByteArray rest = names.mid(end + 1);
  return QString::fromLatin1(rest.left(rest.indexOf('\0')));
}

QString X11DesktopWindows::Title(WindowHandle window) {
  const QByteArray utf8 = Property(window, Atom("_NET_WM_NAME"));
  if (!utf8.isEmpty()) return QString::fromUtf8(utf8);
  return QString::fromLatin1(Property(window, XCB_ATOM_WM_NAME));
}

QString X11DesktopWindows::Role(WindowHandle window) {
  return QString::fromLatin1(Property(window, Atom("WM_WINDOW_ROLE")));
}

int64_t X11DesktopWindows::ProcessId(WindowHandle window) {
  const QByteArray pid = Property(window, Atom("_NET_WM_PID"));
  if (pid.size() < 4) return 0;
  uint32_t value = 0;
  std::memcpy(&value, pid.constData(), sizeof value);
  return value;
}

ScreenRect X11DesktopWindows::Rect(WindowHandle window) {
  const auto w = static_cast<xcb_window_t>(window);
  const auto geometry = Await<xcb_get_geometry_reply_t>(
      connection_, xcb_get_geometry(connection_, w).sequence);
  const auto origin = Await<xcb_translate_coordinates_reply_t>(
      connection_,
      xcb_translate_coordinates(connection_, w, root_, 0, 0).sequence);
  if (!geometry || !origin) return {};
  return {origin->dst_x, origin->dst_y, origin->dst_x + geometry->width,
          origin->dst_y + geometry->height};
}

bool X11DesktopWindows::HasFocus(xcb_window_t window) {
  const auto focus = Await<xcb_get_input_focus_reply_t>(
      connection_, xcb_get_input_focus(connection_).sequence);
  if (!focus) return false;
  // The focus may rest on a window inside it.
  xcb_window_t at = focus->focus;
  for (int depth = 0; depth < 16 && at != XCB_WINDOW_NONE && at != root_;
       ++depth) {
    if (at == window) return true;
    at = Parent(at);
  }
  return false;
}

bool X11DesktopWindows::WaitForFocus(xcb_window_t window, int milliseconds) {
  const auto deadline =
      steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    if (HasFocus(window)) return true;
    if (steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool X11DesktopWindows::BringToForeground(WindowHandle handle) {
  const auto window = static_cast<xcb_window_t>(handle);
  if (HasFocus(window)) return true;
  // Ask the window manager first; with none (or one that ignores it) the
  // window is raised and given the focus directly.
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = Atom("_NET_ACTIVE_WINDOW");
  message.data.data32[0] = kActiveFromPager;
  message.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(
      connection_, 0, root_,
      XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
      reinterpret_cast<const char*>(&message));
  if (WaitForFocus(window, kReplyWaitMs / 2)) return true;
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_STACK_MODE,
                       &above);
  xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, window,
                      XCB_CURRENT_TIME);
  return WaitForFocus(window, kReplyWaitMs / 2);
}

void X11DesktopWindows::SetClipboardText(const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(text);
}

xcb_keycode_t X11DesktopWindows::KeyCode(uint32_t keysym) {
  if (keycodes_.empty()) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = Await<xcb_get_keyboard_mapping_reply_t>(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, count)
            .sequence);
    if (!map) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int per = map->keysyms_per_keycode;
    // The first key that has the symbol unshifted wins.
    for (int column = per - 1; column >= 0; --column) {
      for (int key = count - 1; key >= 0; --key) {
        const xcb_keysym_t sym = syms[key * per + column];
        if (sym != 0) keycodes_[sym] = setup->min_keycode + key;
      }
    }
  }
  const auto it = keycodes_.find(keysym);
  return it == keycodes_.end() ? 0 : it->second;
}

void X11DesktopWindows::FakeKey(xcb_keycode_t code, bool down) {
  if (code == 0) return;
  xcb_test_fake_input(connection_, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code,
                      XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
}

void X11DesktopWindows::RoundTrip() {
  Await<xcb_get_input_focus_reply_t>(connection_,
                                     xcb_get_input_focus(connection_).sequence);
}

void X11DesktopWindows::SendKeys(const QString& keys) {
  for (const KeyStroke& stroke : ParseKeys(keys)) {
    const bool upper = stroke.key.size() == 1 && stroke.key[0].isUpper();
    std::vector<xcb_keycode_t> held;
    if (stroke.control) held.push_back(KeyCode(kControlKeySym));
    if (stroke.shift || upper) held.push_back(KeyCode(kShiftKeySym));
    if (stroke.alt) held.push_back(KeyCode(kAltKeySym));
    for (xcb_keycode_t code : held) FakeKey(code, true);
    const xcb_keycode_t code = KeyCode(KeySym(stroke.key));
    FakeKey(code, true);
    FakeKey(code, false);
    for (auto it = held.rbegin(); it != held.rend(); ++it) FakeKey(*it, false);
  }
  RoundTrip();  // the server has taken every event
}

uint8_t X11DesktopWindows::MapVirtualKey(uint8_t virtual_key) {
  // X key codes are the kernel's key codes plus 8.
  const xcb_keycode_t code = KeyCode(VirtualKeySym(virtual_key));
  return code >= 8 ? static_cast<uint8_t>(code - 8) : 0;
}

void X11DesktopWindows::KeyEvent(uint8_t virtual_key, uint8_t, uint32_t flags) {
  FakeKey(KeyCode(VirtualKeySym(virtual_key)), (flags & 2) == 0);
  RoundTrip();
}

std::unique_ptr<DesktopWindows> MakeDesktopWindows() {
  if (QGuiApplication::platformName() == "xcb") {
    if (auto x11 = X11DesktopWindows::Connect()) return x11;
  }
  return std::make_unique<NoDesktopWindows>();
}

}  // namespace vocapost
