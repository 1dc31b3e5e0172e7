#include "platform/home/program_home.h"

#include <QCoreApplication>
#include <QDir>
#include <system_error>

namespace vocapost {
namespace fs = std::filesystem;

fs::path ResolveProgramHome() {
  const QString explicit_home = qEnvironmentVariable("VOCAPOST_HOME");
  if (!explicit_home.isEmpty()) return fs::path(explicit_home.toStdString());
  // A relative XDG_DATA_HOME is not valid and is ignored, as the package
  // stub ignores it.
  QString data_home = qEnvironmentVariable("XDG_DATA_HOME");
  if (!QDir::isAbsolutePath(data_home))
    data_home = QDir::homePath() + "/.local/share";
  return fs::path(data_home.toStdString()) / "vocapost";
}

fs::path ShippedDataDir() {
  const QString app_dir = QCoreApplication::applicationDirPath();
  return fs::path(app_dir.toStdString()).parent_path() / "share" / "vocapost";
}

namespace {

// Copies each regular file of `shipped` that `home` lacks. A file that cannot
// be copied is left out; the program reports what it misses when it needs it.
void CopyMissingFiles(const fs::path& shipped, const fs::path& home) {
  std::error_code ec;
  fs::directory_iterator it(shipped, ec);
  if (ec) return;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    if (!entry.is_regular_file(ec)) continue;
    const fs::path target = home / entry.path().filename();
    if (fs::exists(fs::symlink_status(target, ec))) continue;
    fs::copy_file(entry.path(), target, fs::copy_options::skip_existing, ec);
  }
}

}  // namespace

HomeResult PrepareProgramHome(const fs::path& home, const fs::path& shipped) {
  const QString where = QString::fromStdString(home.string());
  std::error_code ec;
  fs::create_directories(home, ec);
  if (ec || !fs::is_directory(home, ec)) {
    return {false, "Vocapost cannot create its folder " + where + ".  " +
                       QString::fromStdString(ec.message())};
  }
  CopyMissingFiles(shipped, home);
  fs::current_path(home, ec);
  if (ec) {
    return {false, "Vocapost cannot use its folder " + where + ".  " +
                       QString::fromStdString(ec.message())};
  }
  return {true, {}};
}

}  // namespace vocapost
