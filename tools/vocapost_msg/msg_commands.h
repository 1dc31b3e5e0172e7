#pragma once

#include <QString>
#include <QTextStream>

namespace vocapost::tool {

// Exit codes of vocapost-msg.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// Lists each record (offset, tag, length), the totals and where and why
// reading stopped.
int Info(const QString& file, QTextStream& out, QTextStream& err);

// Builds voca-MSG<name>.exe in the current directory with the stub `stub`.
int Package(const QString& file, const QString& stub, QTextStream& out,
            QTextStream& err);

// Takes the message out of a package into the current directory.
int Extract(const QString& package, QTextStream& out, QTextStream& err);

// Writes the message as a WebM file that any browser or player plays.
int Export(const QString& file, const QString& webm, QTextStream& out,
           QTextStream& err);

}  // namespace vocapost::tool
