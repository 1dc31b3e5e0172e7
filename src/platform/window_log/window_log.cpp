#include "platform/window_log/window_log.h"

#include <QEvent>
#include <QFile>
#include <QWidget>

namespace vocapost {

WindowLog::WindowLog(QString path) : path_(std::move(path)) {}

QString WindowLog::FormatEntry(const QString& event, const QString& window) {
  return event + '\t' + window + '\n';
}

bool WindowLog::eventFilter(QObject* watched, QEvent* event) {
  const bool shown = event->type() == QEvent::Show;
  if (!shown && event->type() != QEvent::Hide) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || !widget->isWindow() ||
      widget->objectName().isEmpty()) {
    return false;
  }
  QFile file(path_);
  if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
    file.write(
        FormatEntry(shown ? "shown" : "hidden", widget->objectName()).toUtf8());
  }
  return false;
}

}  // namespace vocapost
