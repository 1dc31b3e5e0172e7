#pragma once

#include <filesystem>
#include <string>

#include "support/temp_home.h"

namespace vocapost::testing {

// The language sets as the sources ship them: data/languages/<name>/.
inline std::filesystem::path ShippedLanguageSet(const std::string& name) {
  return std::filesystem::path(VOCAPOST_LANGUAGES_DIR) / name;
}

// Puts a shipped language set into the test's program home.
inline void InstallShippedLanguage(const TempHome& home,
                                   const std::string& name) {
  for (const auto& entry :
       std::filesystem::directory_iterator(ShippedLanguageSet(name))) {
    std::filesystem::copy_file(
        entry.path(), home.home() / entry.path().filename(),
        std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace vocapost::testing
