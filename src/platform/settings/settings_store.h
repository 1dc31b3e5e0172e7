#pragma once

#include <QString>
#include <optional>

namespace vocapost {

// Per-user application settings: string values addressed by application,
// section and key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<QString> Get(const QString& application,
                                     const QString& section,
                                     const QString& key) = 0;
  // Returns false when the value could not be stored.
  virtual bool Set(const QString& application, const QString& section,
                   const QString& key, const QString& value) = 0;
};

// One INI file per application, "<config_dir>/<application>.ini", with a
// "[section]" per section. The settings program and the user write the same
// files: values are read exactly as written, and a Set changes only its own
// line (see IniText).
class IniSettingsStore final : public SettingsStore {
 public:
  explicit IniSettingsStore(QString config_dir);
  std::optional<QString> Get(const QString& application, const QString& section,
                             const QString& key) override;
  bool Set(const QString& application, const QString& section,
           const QString& key, const QString& value) override;

  QString FilePath(const QString& application) const;

 private:
  QString config_dir_;
};

// "$XDG_CONFIG_HOME/vocapost", normally ~/.config/vocapost.
QString DefaultConfigDir();

}  // namespace vocapost
