#include "app/language_choice.h"

#include <system_error>

namespace vocapost {

QString ChooseLanguageExtension(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) return kDefaultLanguageExtension;
  for (const auto& entry : it) {
    if (!entry.is_regular_file(ec)) continue;
    const QString name =
        QString::fromStdString(entry.path().filename().string());
    if (!name.startsWith("VMESSAGE.")) continue;
    const QString last_four = name.right(4);
    return last_four.startsWith('.') ? last_four : kDefaultLanguageExtension;
  }
  return kDefaultLanguageExtension;
}

}  // namespace vocapost
