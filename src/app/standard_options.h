#pragma once

#include <string>

namespace vocapost {

enum class StandardOption { kNone, kHelp, kVersion };

// "--help" or "--version" as the only argument, unless a file of that name
// exists: then the argument is a file name like any other. Read from the
// raw arguments, before Qt looks for a display.
StandardOption FindStandardOption(int argc, char** argv);

// Prints `help` or "<program> <version>" to standard output for a standard
// option. True when one was answered and the program should end.
bool AnswerStandardOption(int argc, char** argv, const std::string& program,
                          const std::string& help);

}  // namespace vocapost
