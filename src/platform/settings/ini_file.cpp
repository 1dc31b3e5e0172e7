#include "platform/settings/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/text/regular_file.h"

namespace vocapost {

std::optional<IniText> ReadIniFile(const QString& path) {
  FileBytes file = ReadRegularFile(path, kLargestIniFile);
  if (file.result == FileRead::kMissing) return IniText();
  if (file.result != FileRead::kRead) return std::nullopt;
  return IniText(std::move(file.bytes));
}

bool SaveIniFile(const QString& path, const IniText& text) {
  if (!QDir().mkpath(QFileInfo(path).path())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(text.bytes()) != text.bytes().size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace vocapost
