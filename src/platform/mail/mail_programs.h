#pragma once

#include <QString>
#include <QStringList>

#include "platform/mail/compose_request.h"

namespace vocapost {

// The mail programs whose own command line can attach a file.
enum class MailProgram {
  kUnknown,
  kThunderbird,  // and its forks
  kEvolution,
  kKMail,
  kClaws,
  kSylpheed,
  kGeary,
};

// Which program a mail handler runs, from its desktop file name and its
// command (a Flatpak command names the program in its arguments).
MailProgram RecogniseMailProgram(const QString& desktop_id,
                                 const QStringList& command);

// The arguments that open a new mail with the file attached and the body
// filled in. `body_file` holds the body, for the programs that read it from a
// file.
QStringList ComposeArguments(MailProgram program, const ComposeRequest& request,
                             const QString& body_file);

}  // namespace vocapost
