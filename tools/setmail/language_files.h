#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace vocapost::setmail {

// A language Vocapost ships: the extension of its language file (empty for
// English, which needs no files) and its name in itself.
struct ShippedLanguage {
  QString extension;
  QString name;
};

const std::vector<ShippedLanguage>& ShippedLanguages();

// The shipped language that the program home speaks now: the one of its
// language file, English when it has none of ours.
int InstalledLanguage(const std::filesystem::path& home);

// Puts the files of language `index` (from `shipped`/languages/<extension
// without its point>/) into `home` and takes out those of the other shipped
// languages, so that Vocapost speaks it from its next start. The other
// languages' language and caption files go whatever they hold; any other file
// of theirs (a font choice) only while it is as shipped. The reason when a
// file could not be put in or taken out.
std::optional<QString> InstallLanguage(int index,
                                       const std::filesystem::path& home,
                                       const std::filesystem::path& shipped);

}  // namespace vocapost::setmail
