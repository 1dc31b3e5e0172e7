#include "platform/message_log/message_log.h"

#include <QFile>

namespace vocapost {

QString MessageLog::FormatEntry(const QString& title, const QString& text) {
  QString escaped = text;
  escaped.replace('\r', "\\r").replace('\n', "\\n");
  return title + '\t' + escaped + '\n';
}

void MessageLog::Append(const QString& title, const QString& text) const {
  // Opened for each entry so that a script reading the log sees it at once.
  QFile file(path_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  file.write(FormatEntry(title, text).toUtf8());
}

}  // namespace vocapost
