#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <optional>
#include <vector>

namespace vocapost {

// An INI file read and changed exactly as it stands. A value is every byte
// after the first "=" on its line: nothing is unquoted, unescaped, split or
// trimmed. Section and key names are found ignoring case and the blanks
// around them. Lines end in LF or CR LF; a UTF-8 byte order mark before the
// first line is skipped. Lines before the first section, comments (";" first)
// and anything else are kept but never found. A name found twice: the first
// occurrence counts, and a section given twice is searched in both.
// A change touches only its own line and keeps every other byte.
class IniText {
 public:
  explicit IniText(QByteArray bytes = {});

  const QByteArray& bytes() const { return bytes_; }

  std::optional<QByteArray> Value(const QString& section,
                                  const QString& key) const;
  bool HasSection(const QString& section) const;

  // Replaces the value of the key's first line, or adds a line at the end of
  // the section's first occurrence, or adds the section at the end of the
  // file. New lines take the file's own line ends. False, with nothing
  // changed, for names or values that a line cannot hold.
  bool SetValue(const QString& section, const QString& key,
                const QByteArray& value);
  // Adds "[section]" at the end unless the section is there.
  bool AddSection(const QString& section);

 private:
  enum class Kind { kOther, kSection, kKey };
  struct Line {
    qsizetype begin = 0, end = 0;  // the text, without its line end
    qsizetype next = 0;            // where the next line starts
    Kind kind = Kind::kOther;
    QString name;            // of a section or key
    qsizetype value_at = 0;  // a key's value starts here
  };

  void Parse();
  static Line Classify(const QByteArray& bytes, Line line);
  QByteArray LineEnd() const;
  // After line `index`, or at the very start of an empty file (-1).
  void InsertLinesAfter(qsizetype index, const QByteArrayList& lines);
  // The line of the key's first occurrence.
  std::optional<size_t> FindKey(const QString& section,
                                const QString& key) const;
  // The line a new key of the section follows: the last key line of the
  // section's first occurrence, or its header.
  std::optional<size_t> EndOfSection(const QString& section) const;

  QByteArray bytes_;
  std::vector<Line> lines_;
};

}  // namespace vocapost
