#pragma once

#include <QString>
#include <QStringList>

#include "app/app_state.h"
#include "message/message_record.h"
#include "messages/message_operations.h"
#include "platform/clock/clock.h"
#include "platform/text/user_text.h"

namespace vocapost {

inline const QString kSetupLaunch = "FROMSET";
inline const QString kPackageLaunchEnding = "TEMP-MSG.EXE";
inline constexpr double kSetupNoticeSeconds = 5.0;
inline const QString kWarning = UserText("Warning");

// A command line ending in "TEMP-MSG.EXE", in any case: the message
// package's stub started this copy.
bool IsPackageLaunch(const QString& command_line);

// The command line from the program's arguments. A file named relative to
// the folder the program was started in is made absolute, since start-up
// makes the program folder current before it looks for the file.
QString CommandLineFromArguments(const QStringList& arguments);

// Trims the command line; "FROMSET" (exactly) means the settings program
// started us: the line is emptied and "Loading..." shown for five seconds.
void ReadCommandLine(const QString& raw, LaunchState& launch,
                     MessageOperations& messages, Clock& clock);

enum class Selection { kContinue, kEnd };

// Chooses the file to play from the command line, extracting a package's
// message from `temp_dir` for a package launch, and marks this copy busy
// when there is one. kEnd: the user has been told why the program ends.
Selection SelectPlayFile(LaunchState& launch, MessageOperations& messages,
                         const QString& temp_dir);

// Why the file chosen at start-up did not play: it went away after it was
// chosen, or cannot be read.
QString CannotPlayLaunchText(const QString& name);

// The first "voca-MSG*.exe" in `dir` by name; empty when none.
QString FindPackage(const QString& dir);

}  // namespace vocapost
