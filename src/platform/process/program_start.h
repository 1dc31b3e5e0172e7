#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace vocapost {

// Splits a command line into words the way a POSIX shell does for plain
// words and quotes: blanks separate words, '...' keeps everything, "..."
// keeps everything but \" \\ \$ \` and a backslash escapes the next
// character. Nothing is expanded. An unclosed quote gives nullopt.
std::optional<QStringList> SplitCommandLine(const QString& line);

// Where `program` is run from: a name without a slash is looked for in
// `home` first, then on PATH; a path is taken as it is (relative to
// `home`). Empty when there is no such executable.
QString FindProgram(const QString& program, const std::filesystem::path& home);

// Starts the program and returns without waiting for it; the program runs in
// `home`. False when it could not be started.
bool StartDetached(const QString& program, const QStringList& arguments,
                   const std::filesystem::path& home);

// Splits `line`, finds its program and starts it detached.
bool StartCommandLine(const QString& line, const std::filesystem::path& home);

// Runs a short helper program to its end with the event loop running, for
// at most `limit_ms`; its standard output, or nullopt when it could not be
// run, failed or took too long (then it is killed).
std::optional<QByteArray> RunForOutput(const QString& program,
                                       const QStringList& arguments,
                                       int limit_ms);

}  // namespace vocapost
