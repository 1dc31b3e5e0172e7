#pragma once

#include <QString>

namespace vocapost {

// Appends every message the program shows to a file, one line each:
// title, a tab, the text with its line breaks written as \r and \n.
class MessageLog {
 public:
  explicit MessageLog(QString path) : path_(std::move(path)) {}
  void Append(const QString& title, const QString& text) const;
  static QString FormatEntry(const QString& title, const QString& text);
  const QString& path() const { return path_; }

 private:
  QString path_;
};

}  // namespace vocapost
