#include "platform/registry/registry_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vocapost {
namespace {

// Backslashes separate key levels; a marker value says the key exists.
QString Group(const QString& key) { return QString(key).replace('\\', '/'); }
const QString kKeyMarker = ".key";

}  // namespace

IniRegistryStore::IniRegistryStore(QString config_dir)
    : file_(QDir(config_dir).filePath("registry.ini")) {}

bool IniRegistryStore::CreateKey(const QString& key) {
  if (!QDir().mkpath(QFileInfo(file_).path())) return false;
  QSettings ini(file_, QSettings::IniFormat);
  ini.setValue(Group(key) + "/" + kKeyMarker, 1);
  ini.sync();
  return ini.status() == QSettings::NoError;
}

int32_t IniRegistryStore::SetDword(const QString& key, const QString& name,
                                   uint32_t value) {
  QSettings ini(file_, QSettings::IniFormat);
  if (!ini.contains(Group(key) + "/" + kKeyMarker)) return kKeyMissing;
  ini.setValue(Group(key) + "/" + name, value);
  ini.sync();
  return ini.status() == QSettings::NoError ? kOk : kCannotWrite;
}

std::optional<uint32_t> IniRegistryStore::GetDword(const QString& key,
                                                   const QString& name) {
  QSettings ini(file_, QSettings::IniFormat);
  bool ok = false;
  const uint32_t value = ini.value(Group(key) + "/" + name).toUInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

}  // namespace vocapost
