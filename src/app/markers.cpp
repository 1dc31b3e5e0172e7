#include "app/markers.h"

#include <QFile>
#include <QFileInfo>

namespace vocapost {

bool WriteMarker(const QString& file) {
  QFile marker(file);
  if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray word = QFileInfo(file).completeBaseName().toLatin1();
  return marker.write(word) == word.size();
}

bool MarkerExists(const QString& file) { return QFileInfo::exists(file); }

void DeleteMarker(const QString& file) {
  if (QFileInfo::exists(file)) QFile::remove(file);
}

}  // namespace vocapost
