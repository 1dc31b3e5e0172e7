// GLib's headers first: Qt's keyword macros clash with them.
#include "platform/desktop/atspi_desktop.h"

#include <atspi/atspi.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <memory>

namespace vocapost {
namespace {

constexpr int kMostDepth = 40;
constexpr int kMostAccessibleChildren = 500;
constexpr int kMostNodes = 5000;

struct Unref {
  void operator()(void* object) const { g_object_unref(object); }
};
using Accessible = std::unique_ptr<AtspiAccessible, Unref>;

template <typename T>
std::unique_ptr<T, Unref> Own(T* object) {
  return std::unique_ptr<T, Unref>(object);
}

// GLib reports failures through errors the callers have no use for.
struct Error {
  GError* error = nullptr;
  ~Error() { g_clear_error(&error); }
  GError** operator&() {
    g_clear_error(&error);
    return &error;
  }
};

QString Name(AtspiAccessible* object) {
  Error error;
  gchar* name = atspi_accessible_get_name(object, &error);
  const QString result = QString::fromUtf8(name ? name : "");
  g_free(name);
  return result;
}

int64_t Area(AtspiAccessible* object) {
  const auto component = Own(atspi_accessible_get_component_iface(object));
  if (!component) return 0;
  Error error;
  AtspiRect* rect = atspi_component_get_extents(
      component.get(), ATSPI_COORD_TYPE_SCREEN, &error);
  if (!rect) return 0;
  const int64_t area = int64_t{rect->width} * rect->height;
  g_free(rect);
  return area;
}

// The editor a mail is written in: the largest editable multi-line text or
// document; failing that the largest web document, which some programs
// (WebKit editors) do not mark editable but which takes keys once focused.
struct BodySearch {
  Accessible editable;
  int64_t editable_area = 0;
  Accessible web_document;
  int64_t document_area = 0;
  int nodes = 0;

  void Visit(AtspiAccessible* object, int depth) {
    if (++nodes > kMostNodes || depth > kMostDepth) return;
    Error error;
    const AtspiRole role = atspi_accessible_get_role(object, &error);
    if (role == ATSPI_ROLE_MENU_BAR || role == ATSPI_ROLE_MENU) return;
    const auto states = Own(atspi_accessible_get_state_set(object));
    auto has = [&states](AtspiStateType state) {
      return states && atspi_state_set_contains(states.get(), state);
    };
    if (depth > 0 && !has(ATSPI_STATE_SHOWING)) return;
    const bool document = role == ATSPI_ROLE_DOCUMENT_WEB ||
                          role == ATSPI_ROLE_DOCUMENT_TEXT ||
                          role == ATSPI_ROLE_DOCUMENT_FRAME;
    if (has(ATSPI_STATE_EDITABLE) &&
        (document || has(ATSPI_STATE_MULTI_LINE))) {
      Keep(object, editable, editable_area);
      return;
    }
    if (role == ATSPI_ROLE_DOCUMENT_WEB && has(ATSPI_STATE_FOCUSABLE)) {
      Keep(object, web_document, document_area);
    }
    const int count = atspi_accessible_get_child_count(object, &error);
    for (int i = 0; i < std::min(count, kMostAccessibleChildren); ++i) {
      const Accessible child(
          atspi_accessible_get_child_at_index(object, i, &error));
      if (child) Visit(child.get(), depth + 1);
    }
  }

  static void Keep(AtspiAccessible* object, Accessible& best, int64_t& area) {
    const int64_t size = Area(object);
    if (best && size <= area) return;
    best.reset(static_cast<AtspiAccessible*>(g_object_ref(object)));
    area = size;
  }
};

Accessible FindFrame(int64_t pid, const QString& title) {
  Error error;
  const Accessible desktop(atspi_get_desktop(0));
  if (!desktop) return nullptr;
  const int apps = atspi_accessible_get_child_count(desktop.get(), &error);
  for (int a = 0; a < apps; ++a) {
    const Accessible app(
        atspi_accessible_get_child_at_index(desktop.get(), a, &error));
    if (!app) continue;
    const int64_t app_pid = atspi_accessible_get_process_id(app.get(), &error);
    // Asking ourselves would wait for an answer we cannot give meanwhile.
    if (app_pid == getpid() || (pid != 0 && app_pid != pid)) continue;
    const int frames = atspi_accessible_get_child_count(app.get(), &error);
    for (int f = 0; f < std::min(frames, kMostAccessibleChildren); ++f) {
      Accessible frame(
          atspi_accessible_get_child_at_index(app.get(), f, &error));
      if (frame && Name(frame.get()) == title) return frame;
    }
  }
  return nullptr;
}

bool Inserted(AtspiAccessible* body, const QByteArray& utf8, int characters) {
  const auto editable = Own(atspi_accessible_get_editable_text_iface(body));
  const auto text = Own(atspi_accessible_get_text_iface(body));
  if (!editable || !text) return false;
  Error error;
  const int before = atspi_text_get_character_count(text.get(), &error);
  if (!atspi_editable_text_insert_text(editable.get(), 0, utf8.constData(),
                                       utf8.size(), &error)) {
    return false;
  }
  // Some programs answer yes and change nothing.
  return atspi_text_get_character_count(text.get(), &error) - before >=
         characters;
}

void FocusAtStart(AtspiAccessible* body) {
  Error error;
  if (const auto component = Own(atspi_accessible_get_component_iface(body))) {
    atspi_component_grab_focus(component.get(), &error);
  }
  if (const auto text = Own(atspi_accessible_get_text_iface(body))) {
    atspi_text_set_caret_offset(text.get(), 0, &error);
  }
}

}  // namespace

bool AtspiDesktop::Connect() {
  if (connected_) return true;
  // The bus's address, asked for here with a deadline that libatspi's own
  // look-up does not have.
  if (qEnvironmentVariableIsEmpty("AT_SPI_BUS_ADDRESS")) {
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus",
                                       "org.a11y.Bus", "GetAddress"),
        QDBus::Block, kCallWaitMs);
    if (reply.type() != QDBusMessage::ReplyMessage ||
        reply.arguments().value(0).toString().isEmpty()) {
      return false;
    }
    qputenv("AT_SPI_BUS_ADDRESS",
            reply.arguments().value(0).toString().toUtf8());
  }
  atspi_set_timeout(kCallWaitMs, kCallWaitMs);
  if (atspi_init() > 1) return false;
  connected_ = true;
  return true;
}

BodyInsertion AtspiDesktop::InsertAtBodyStart(int64_t pid, const QString& title,
                                              const QString& text) {
  if (!Connect()) return BodyInsertion::kNoBody;
  const Accessible frame = FindFrame(pid, title);
  if (!frame) return BodyInsertion::kNoBody;
  BodySearch search;
  search.Visit(frame.get(), 0);
  if (search.editable) {
    const int characters = QString(text).remove('\r').size();
    if (Inserted(search.editable.get(), text.toUtf8(), characters)) {
      return BodyInsertion::kInserted;
    }
    FocusAtStart(search.editable.get());
    return BodyInsertion::kFocused;
  }
  if (search.web_document) {
    FocusAtStart(search.web_document.get());
    return BodyInsertion::kFocused;
  }
  return BodyInsertion::kNoBody;
}

}  // namespace vocapost
