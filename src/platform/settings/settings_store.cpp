#include "platform/settings/settings_store.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/settings/ini_file.h"
#include "platform/text/eight_bit_text.h"

namespace vocapost {

IniSettingsStore::IniSettingsStore(QString config_dir)
    : config_dir_(std::move(config_dir)) {}

QString IniSettingsStore::FilePath(const QString& application) const {
  return QDir(config_dir_).filePath(application + ".ini");
}

std::optional<QString> IniSettingsStore::Get(const QString& application,
                                             const QString& section,
                                             const QString& key) {
  const std::optional<IniText> ini = ReadIniFile(FilePath(application));
  if (!ini) return std::nullopt;
  const std::optional<QByteArray> value = ini->Value(section, key);
  if (!value) return std::nullopt;
  return DecodeEightBitText(*value);
}

bool IniSettingsStore::Set(const QString& application, const QString& section,
                           const QString& key, const QString& value) {
  const QString path = FilePath(application);
  std::optional<IniText> ini = ReadIniFile(path);
  if (!ini) return false;
  const QByteArray before = ini->bytes();
  if (!ini->SetValue(section, key, value.toUtf8())) return false;
  // The same value again leaves the file untouched.
  if (ini->bytes() == before) return true;
  return SaveIniFile(path, *ini);
}

QString DefaultConfigDir() {
  return QDir(QStandardPaths::writableLocation(
                  QStandardPaths::GenericConfigLocation))
      .filePath("vocapost");
}

}  // namespace vocapost
