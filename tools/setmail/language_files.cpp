#include "language_files.h"

#include <QFile>
#include <system_error>

#include "app/language_choice.h"

namespace vocapost::setmail {
namespace {
namespace fs = std::filesystem;

fs::path SetFolder(const fs::path& shipped, const ShippedLanguage& language) {
  return shipped / "languages" / language.extension.mid(1).toStdString();
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec);
       !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(it->path());
  }
  return files;
}

QString NameOf(const fs::path& path) {
  return QString::fromStdString(path.filename().string());
}

// Files in `home` named `name` in any case: Vocapost finds its files so.
std::vector<fs::path> NamedInHome(const fs::path& home, const QString& name) {
  std::vector<fs::path> found;
  for (const fs::path& file : FilesIn(home)) {
    if (NameOf(file).compare(name, Qt::CaseInsensitive) == 0)
      found.push_back(file);
  }
  return found;
}

bool IsLanguageFile(const QString& name) {
  return name.startsWith("VMESSAGE.", Qt::CaseInsensitive) ||
         name.startsWith("CWINDO", Qt::CaseInsensitive);
}

QByteArray Content(const fs::path& path) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<QString> Remove(const fs::path& file) {
  std::error_code ec;
  if (fs::remove(file, ec) || !ec) return std::nullopt;
  return NameOf(file) + ": " + QString::fromStdString(ec.message());
}

std::optional<QString> TakeOut(const ShippedLanguage& language,
                               const fs::path& home, const fs::path& shipped) {
  for (const fs::path& ours : FilesIn(SetFolder(shipped, language))) {
    const QString name = NameOf(ours);
    for (const fs::path& file : NamedInHome(home, name)) {
      if (!IsLanguageFile(name) && Content(file) != Content(ours)) continue;
      if (std::optional<QString> failed = Remove(file)) return failed;
    }
  }
  return std::nullopt;
}

std::optional<QString> PutIn(const ShippedLanguage& language,
                             const fs::path& home, const fs::path& shipped) {
  const std::vector<fs::path> files = FilesIn(SetFolder(shipped, language));
  if (files.empty()) return "the files of " + language.name + " are missing";
  std::error_code ec;
  fs::create_directories(home, ec);
  for (const fs::path& ours : files) {
    // One copy under our name: another case of it would be found first.
    for (const fs::path& file : NamedInHome(home, NameOf(ours))) {
      if (std::optional<QString> failed = Remove(file)) return failed;
    }
    fs::copy_file(ours, home / ours.filename(), ec);
    if (ec) return NameOf(ours) + ": " + QString::fromStdString(ec.message());
  }
  return std::nullopt;
}

}  // namespace

const std::vector<ShippedLanguage>& ShippedLanguages() {
  static const std::vector<ShippedLanguage> languages = {
      {"", "English"},
      {".DEU", "Deutsch"},
      {".JPN", QString::fromUtf8("日本語")},
  };
  return languages;
}

int InstalledLanguage(const fs::path& home) {
  const QString extension = ChooseLanguageExtension(home);
  const std::vector<ShippedLanguage>& languages = ShippedLanguages();
  for (size_t i = 1; i < languages.size(); ++i) {
    if (extension.compare(languages[i].extension, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  }
  return 0;
}

std::optional<QString> InstallLanguage(int index, const fs::path& home,
                                       const fs::path& shipped) {
  const std::vector<ShippedLanguage>& languages = ShippedLanguages();
  for (size_t i = 1; i < languages.size(); ++i) {
    if (static_cast<int>(i) == index) continue;
    if (std::optional<QString> failed = TakeOut(languages[i], home, shipped))
      return failed;
  }
  if (index <= 0 || index >= static_cast<int>(languages.size()))
    return std::nullopt;
  return PutIn(languages[index], home, shipped);
}

}  // namespace vocapost::setmail
