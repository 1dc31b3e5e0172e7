#include "platform/window_log/window_log.h"

#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QWidget>

namespace vocapost {

WindowLog::WindowLog(QString path) : path_(std::move(path)) {}

QString WindowLog::FormatEntry(const QString& event, const QString& window) {
  return event + '\t' + window + '\n';
}

void WindowLog::Append(const QString& event, const QString& window) {
  QFile file(path_);
  if (file.open(QIODevice::WriteOnly | QIODevice::Append))
    file.write(FormatEntry(event, window).toUtf8());
}

// The Viewer's first painted frame: when a played message is first seen.
bool WindowLog::IsFirstPicture(QObject* watched, QEvent* event) const {
  if (picture_drawn_ || event->type() != QEvent::Paint) return false;
  const auto* label = qobject_cast<QLabel*>(watched);
  return label != nullptr && label->objectName() == "Picture2" &&
         label->window()->objectName() == "Viewer" &&
         !label->pixmap().isNull();
}

bool WindowLog::eventFilter(QObject* watched, QEvent* event) {
  if (IsFirstPicture(watched, event)) {
    picture_drawn_ = true;
    Append("drawn", "Viewer");
    return false;
  }
  const bool shown = event->type() == QEvent::Show;
  if (!shown && event->type() != QEvent::Hide) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || !widget->isWindow() ||
      widget->objectName().isEmpty()) {
    return false;
  }
  Append(shown ? "shown" : "hidden", widget->objectName());
  return false;
}

}  // namespace vocapost
