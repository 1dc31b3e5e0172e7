#pragma once

#include <QString>
#include <optional>

#include "platform/settings/ini_text.h"

namespace vocapost {

// No settings file is anywhere near this; a larger one is not read.
inline constexpr qint64 kLargestIniFile = 1024 * 1024;

// The file's text; an empty text when there is no file. Nullopt when the
// file is there but cannot be read whole (unreadable, too large, not a
// regular file), so that nobody writes over what could not be read.
std::optional<IniText> ReadIniFile(const QString& path);

// Writes a new file beside the old one and renames it into place, so that
// the old file stands whole until the new one does. Creates the folder.
bool SaveIniFile(const QString& path, const IniText& text);

}  // namespace vocapost
