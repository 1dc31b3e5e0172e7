#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace vocapost {

// Per-user keys holding 32-bit values, as the codec keeps its settings. A
// value can be written only under a key that exists.
class RegistryStore {
 public:
  static constexpr int32_t kOk = 0;
  static constexpr int32_t kKeyMissing = 2;
  static constexpr int32_t kCannotWrite = 5;

  virtual ~RegistryStore() = default;
  virtual bool CreateKey(const QString& key) = 0;
  virtual int32_t SetDword(const QString& key, const QString& name,
                           uint32_t value) = 0;
  virtual std::optional<uint32_t> GetDword(const QString& key,
                                           const QString& name) = 0;
};

// Keys in an INI file, "<config_dir>/registry.ini": a key is a section named
// by its path ("[Software\SMSV\Video\vfwcodec]"), each value a line
// "Name=decimal number".
class IniRegistryStore final : public RegistryStore {
 public:
  explicit IniRegistryStore(QString config_dir);
  bool CreateKey(const QString& key) override;
  int32_t SetDword(const QString& key, const QString& name,
                   uint32_t value) override;
  std::optional<uint32_t> GetDword(const QString& key,
                                   const QString& name) override;

 private:
  QString file_;
};

}  // namespace vocapost
