#pragma once

#include <QString>

namespace vocapost::setmail {

// The program to start when the settings are done, from the name we were
// given ("vocapost.exe"): that file in the program home if there is one,
// else the name without ".exe" next to this program, else on PATH. The
// name itself when none is found, so that starting it fails visibly.
QString ReturnProgram(const QString& given, const QString& program_home,
                      const QString& tool_dir);

}  // namespace vocapost::setmail
