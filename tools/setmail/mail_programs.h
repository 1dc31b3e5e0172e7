#pragma once

#include <QString>
#include <vector>

namespace vocapost::setmail {

struct MailProgram {
  QString name;     // as the user knows it
  QString command;  // a command line that starts it
};

// The desktop's default mail program first (its desktop file's name and
// command), then the known mail programs found on PATH.
std::vector<MailProgram> FindMailPrograms();

}  // namespace vocapost::setmail
