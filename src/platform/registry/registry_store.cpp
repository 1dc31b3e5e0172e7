#include "platform/registry/registry_store.h"

#include <QDir>

#include "platform/settings/ini_file.h"

namespace vocapost {

IniRegistryStore::IniRegistryStore(QString config_dir)
    : file_(QDir(config_dir).filePath("registry.ini")) {}

bool IniRegistryStore::CreateKey(const QString& key) {
  std::optional<IniText> ini = ReadIniFile(file_);
  if (!ini) return false;
  if (ini->HasSection(key)) return true;
  return ini->AddSection(key) && SaveIniFile(file_, *ini);
}

int32_t IniRegistryStore::SetDword(const QString& key, const QString& name,
                                   uint32_t value) {
  std::optional<IniText> ini = ReadIniFile(file_);
  if (!ini) return kCannotWrite;
  if (!ini->HasSection(key)) return kKeyMissing;
  const QByteArray before = ini->bytes();
  if (!ini->SetValue(key, name, QByteArray::number(value))) {
    return kCannotWrite;
  }
  if (ini->bytes() == before) return kOk;
  return SaveIniFile(file_, *ini) ? kOk : kCannotWrite;
}

std::optional<uint32_t> IniRegistryStore::GetDword(const QString& key,
                                                   const QString& name) {
  const std::optional<IniText> ini = ReadIniFile(file_);
  if (!ini) return std::nullopt;
  const std::optional<QByteArray> stored = ini->Value(key, name);
  if (!stored) return std::nullopt;
  bool ok = false;
  const uint32_t value = stored->toUInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

}  // namespace vocapost
