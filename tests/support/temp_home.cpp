#include "support/temp_home.h"

#include <QFile>

namespace vocapost::testing {
namespace fs = std::filesystem;

TempHome::TempHome() : previous_cwd_(fs::current_path()) {
  if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  fs::create_directories(home());
  fs::create_directories(config());
  qputenv("VOCAPOST_HOME", QByteArray::fromStdString(home().string()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config().string()));
  qputenv("XDG_DATA_HOME",
          QByteArray::fromStdString((root() / "data").string()));
  fs::current_path(home());
}

TempHome::~TempHome() {
  std::error_code ec;
  fs::current_path(previous_cwd_, ec);
  qunsetenv("VOCAPOST_HOME");
}

fs::path TempHome::root() const { return fs::path(dir_.path().toStdString()); }
fs::path TempHome::home() const { return root() / "home"; }
fs::path TempHome::config() const { return root() / "config"; }

void TempHome::WriteFile(const fs::path& name, const QByteArray& bytes) const {
  fs::create_directories((home() / name).parent_path());
  QFile file(QString::fromStdString((home() / name).string()));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write " + name.string());
  }
}

QByteArray TempHome::ReadFile(const fs::path& name) const {
  QFile file(QString::fromStdString((home() / name).string()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace vocapost::testing
