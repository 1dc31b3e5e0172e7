#pragma once

#include <QByteArray>
#include <QString>
#include <fstream>
#include <optional>

namespace vocapost {

// Which bytes end a line: files written here may use LF alone; in a
// transformed file a stored LF is a tab, so there only CR and CR LF count.
enum class LineEnds { kCrOrLf, kCrOnly };

// Reads an 8-bit text file line by line; the last line needs no line end.
// Lines longer than kMaxLineBytes are cut there (no text the program looks
// for is that long), so any file is safe to read.
class TextLineReader {
 public:
  static constexpr qsizetype kMaxLineBytes = 64 * 1024;

  explicit TextLineReader(const QString& path,
                          LineEnds ends = LineEnds::kCrOrLf);
  bool is_open() const { return file_.is_open(); }
  // The next line without its line end; nullopt at the end of the file.
  std::optional<QByteArray> Next();

 private:
  std::ifstream file_;
  LineEnds ends_;
};

// `name` in the current directory, or else the first file there whose name
// differs only in case (files often come from systems that ignore case);
// empty when there is none.
QString FindFileIgnoringCase(const QString& name);

// Language and caption files may be UTF-8 or a legacy 8-bit code page; bytes
// that are not valid UTF-8 are read as Latin-1.
QString DecodeTextLine(const QByteArray& bytes);

inline constexpr char kEndOfFileMark = 26;

}  // namespace vocapost
