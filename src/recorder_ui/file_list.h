#pragma once

#include <QListWidget>
#include <QString>

namespace vocapost {

// A list of the files in a folder whose names match a pattern, in name
// order; the selection index is -1 when nothing is selected.
class FileList final : public QListWidget {
 public:
  FileList(const QString& name, QWidget* parent);

  void SetPath(const QString& path);
  const QString& path() const { return path_; }
  // Sets the pattern and lists again.
  void SetPattern(const QString& pattern);
  const QString& pattern() const { return pattern_; }
  void Refresh();

  int ListIndex() const;
  void SetListIndex(int index);
  int ListCount() const { return count(); }
  QString List(int index) const;

  // Chooses the largest control font at which `widest` shows uncut; a list
  // of one row has no scroll bars at all.
  void FitFontTo(const QString& widest, bool one_row);

 private:
  QString path_ = ".";
  QString pattern_ = "*.*";
};

}  // namespace vocapost
