#pragma once

#include <QByteArray>
#include <QString>

namespace vocapost {

// The text to show for `text`: the line after the first line equal to it in
// "VMESSAGE" + `language_extension` in the current directory, or `text`
// itself. The file is read afresh for every message, so a replaced file takes
// effect at once. An extension ending in "B" (in either case) names a
// transformed file. A file that is not a regular file of at most
// kLargestTextFile bytes counts as missing.
// A text that no key line equals may still be made from a key line with
// the placeholders %1 … %9 (a name, a number, a reason): the line after it
// is shown with the same pieces filled in, each looked up in turn.
QString LookUpMessageText(const QString& text,
                          const QString& language_extension);

// Undoes the storage transform of a line: characters reversed, each code one
// lower. A stored code 0 (never written by the transform) stays 0.
QByteArray RestoreTransformedLine(const QByteArray& stored);

// The inverse, for writing transformed files.
QByteArray TransformLine(const QByteArray& line);

}  // namespace vocapost
