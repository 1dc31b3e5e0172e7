#pragma once

#include <QByteArray>
#include <QString>
#include <fstream>
#include <optional>

namespace vocapost {

// Reads an 8-bit text file line by line. A line ends at CR LF, LF or CR; the
// last line needs no line end. Lines longer than kMaxLineBytes are cut there
// (no text the program looks for is that long), so any file is safe to read.
class TextLineReader {
 public:
  static constexpr qsizetype kMaxLineBytes = 64 * 1024;

  explicit TextLineReader(const QString& path);
  bool is_open() const { return file_.is_open(); }
  // The next line without its line end; nullopt at the end of the file.
  std::optional<QByteArray> Next();

 private:
  std::ifstream file_;
};

// Language and caption files may be UTF-8 or a legacy 8-bit code page; bytes
// that are not valid UTF-8 are read as Latin-1.
QString DecodeTextLine(const QByteArray& bytes);

inline constexpr char kEndOfFileMark = 26;

}  // namespace vocapost
