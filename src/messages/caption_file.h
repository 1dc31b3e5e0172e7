#pragma once

#include <QString>
#include <QStringList>

namespace vocapost {

// Every form of the program carries this help context number, so all of
// them read the one caption file "CWINDO00" + the language extension.
inline constexpr int kFormHelpContext = 0;

// At most this many lines of a caption file are held.
inline constexpr int kMaxCaptionLines = 250;

// "CWINDO", the last two digits of `help_context` (0 gives "00", 7 "07",
// 123 "23") and `language_extension`.
QString CaptionFileName(int help_context, const QString& language_extension);

// The lines of the caption file in the current directory (its name in any
// case), restored when the extension ends in "B", up to the first line that
// holds the end mark as stored and at most kMaxCaptionLines; empty when
// there is no such file.
QStringList ReadCaptionLines(const QString& language_extension,
                             int help_context = kFormHelpContext);

// `text` after every pair of the caption lines in turn: lines k and k + 1
// for k = 1, 3, 5, … up to N − 2 (numbered from 1), each replacing the text
// when it equals line k. A translation that equals a later key is
// translated again; with an even N the last pair is not used.
QString TranslateCaption(const QStringList& lines, QString text);

// A caption, tooltip or title the program sets itself, in the language of
// `language_extension`.
QString LocalCaption(const QString& text, const QString& language_extension);

}  // namespace vocapost
