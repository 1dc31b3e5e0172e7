#include "app/language_choice.h"

#include <system_error>

namespace vocapost {

QString ChooseLanguageExtension(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) return kDefaultLanguageExtension;
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const auto& entry = *it;
    if (!entry.is_regular_file(ec)) continue;
    const QString name =
        QString::fromStdString(entry.path().filename().string());
    // Names from systems that ignore case ("vmessage.jpn") count too.
    if (!name.startsWith("VMESSAGE.", Qt::CaseInsensitive)) continue;
    const QString last_four = name.right(4);
    return last_four.startsWith('.') ? last_four : kDefaultLanguageExtension;
  }
  return kDefaultLanguageExtension;
}

}  // namespace vocapost
