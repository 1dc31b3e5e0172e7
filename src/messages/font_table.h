#pragma once

#include <QString>
#include <array>

namespace vocapost {

inline constexpr int kFontTableSize = 31;
// MS PMincho, the font when nothing else is chosen.
inline constexpr int kDefaultFontEntry = 18;

using FontTable = std::array<QString, kFontTableSize>;

// The Windows fonts by their names; the Japanese ones (entries 13 to 20)
// held as Windows has them, in code page 932, and read from there.
FontTable DefaultFontTable();

// Whether a Japanese set-up asks for other fonts: "vmessage.jpn",
// "pmessage.jpn" or "usefont.txt" in the current directory, in any case.
bool FontReplacementWanted();

// The default table with the lines of "fontlist.txt" over its first
// entries, up to the first line with the end mark and at most 31 lines.
FontTable ReadFontTable(const QString& language_extension);

// The entry "usefont.txt" names: its text read as a number, halves to even;
// entry 18 when it is missing or names none of the table.
int ChosenFontEntry();

// The font the controls get, or empty when fonts stay as designed.
QString ReplacementFont(const QString& language_extension);

}  // namespace vocapost
