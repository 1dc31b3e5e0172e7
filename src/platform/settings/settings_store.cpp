#include "platform/settings/settings_store.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace vocapost {

IniSettingsStore::IniSettingsStore(QString config_dir)
    : config_dir_(std::move(config_dir)) {}

QString IniSettingsStore::FilePath(const QString& application) const {
  return QDir(config_dir_).filePath(application + ".ini");
}

std::optional<QString> IniSettingsStore::Get(const QString& application,
                                             const QString& section,
                                             const QString& key) {
  QSettings ini(FilePath(application), QSettings::IniFormat);
  const QVariant value = ini.value(section + "/" + key);
  if (!value.isValid()) return std::nullopt;
  // An unquoted value with commas, written by hand, comes back as a list.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(", ");
  }
  return value.toString();
}

bool IniSettingsStore::Set(const QString& application, const QString& section,
                           const QString& key, const QString& value) {
  if (!QDir().mkpath(config_dir_)) return false;
  QSettings ini(FilePath(application), QSettings::IniFormat);
  ini.setValue(section + "/" + key, value);
  ini.sync();
  return ini.status() == QSettings::NoError;
}

QString DefaultConfigDir() {
  return QDir(QStandardPaths::writableLocation(
                  QStandardPaths::GenericConfigLocation))
      .filePath("vocapost");
}

}  // namespace vocapost
