#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vocapost {

// The desktop's default program for mailto: links.
struct MailHandler {
  QString desktop_id;   // e.g. "thunderbird.desktop"
  QStringList command;  // its Exec line without the field codes
  QString name;         // its Name, as the user knows the program
};

// Asks xdg-mime for the default mailto handler and reads its desktop file.
std::optional<MailHandler> DefaultMailHandler();

// The command of a desktop file found by its id in the data folders
// ($XDG_DATA_HOME, $XDG_DATA_DIRS, then the Flatpak export folders).
std::optional<MailHandler> ReadMailHandler(const QString& desktop_id);

// What a desktop file's Exec line needs besides itself.
struct DesktopEntry {
  QString exec;
  QString name;  // for %c
  QString icon;  // for %i
  QString file;  // for %k
};

// The words of the Exec line: %c, %i and %k filled in, the file and URL
// codes (%u, %F, ...) and Flatpak's file-forwarding marks left out.
std::optional<QStringList> ExecCommand(const DesktopEntry& entry);

}  // namespace vocapost
