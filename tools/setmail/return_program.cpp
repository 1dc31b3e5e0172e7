#include "return_program.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vocapost::setmail {

QString ReturnProgram(const QString& given, const QString& program_home,
                      const QString& tool_dir) {
  const QString in_home = QDir(program_home).filePath(given);
  if (QFileInfo(in_home).isFile()) return in_home;
  QString name = given;
  if (name.endsWith(".exe", Qt::CaseInsensitive)) name.chop(4);
  const QFileInfo beside(QDir(tool_dir).filePath(name));
  if (beside.isFile() && beside.isExecutable()) return beside.filePath();
  const QString on_path = QStandardPaths::findExecutable(name);
  return on_path.isEmpty() ? name : on_path;
}

}  // namespace vocapost::setmail
