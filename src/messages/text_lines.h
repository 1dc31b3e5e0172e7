#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vocapost {

inline constexpr char kEndOfFileMark = 26;

// Which bytes end a line. kByFile: CR or CR LF in a file that holds a CR
// (a bare LF there is a line break inside a text), LF in a file that holds
// none. kCrOnly: CR or CR LF only, as in a transformed file, where a stored
// LF is a tab.
enum class LineEnds { kByFile, kCrOnly };

struct TextLine {
  QByteArray bytes;
  bool marked = false;  // the line held the end mark, kept or cut
};

// The lines of an 8-bit text file held in memory; the last line needs no
// line end. Lines longer than kMaxLineBytes are cut there (no text the
// program looks for is that long).
class TextLineReader {
 public:
  static constexpr qsizetype kMaxLineBytes = 64 * 1024;

  // `end_mark` is the stored byte that ends the file for the reader.
  TextLineReader(QByteArray text, LineEnds ends,
                 char end_mark = kEndOfFileMark);
  // The next line without its line end; nullopt at the end of the file.
  std::optional<TextLine> Next();

 private:
  QByteArray text_;
  bool lf_ends_;
  char end_mark_;
  qsizetype pos_ = 0;
};

// The largest language or caption file read; a larger one counts as missing.
inline constexpr qint64 kLargestTextFile = 1024 * 1024;

// The whole of `path` when it is a regular file of at most kLargestTextFile
// bytes; nullopt otherwise, so that a link to an endless stream or a huge
// file never holds the program.
std::optional<QByteArray> ReadTextFile(const QString& path);

// `name` in the current directory, or else the first regular file there
// whose name differs only in case (files often come from systems that
// ignore case); empty when there is none.
QString FindFileIgnoringCase(const QString& name);

// Language, caption and font-list files may be UTF-8 or Windows' 8-bit code
// page: bytes that are not valid UTF-8 are read as Windows-1252, or as code
// page 932 for the Japanese language (extension ".JPN").
QString DecodeTextLine(const QByteArray& bytes,
                       const QString& language_extension);

}  // namespace vocapost
