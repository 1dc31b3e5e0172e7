#pragma once

#include <QListWidget>
#include <QMimeData>
#include <QString>

namespace vocapost {

// A list of the files in a folder whose names match a pattern, in name
// order; the selection index is -1 when nothing is selected. The selected
// file can be dragged out as a file.
class FileList final : public QListWidget {
  Q_OBJECT

 public:
  FileList(const QString& name, QWidget* parent);

  void SetPath(const QString& path);
  const QString& path() const { return path_; }
  // Sets the pattern and lists again.
  void SetPattern(const QString& pattern);
  const QString& pattern() const { return pattern_; }
  void Refresh();
  // Lists again only when the folder's matching names changed, keeping the
  // selected name selected.
  void Update();

  int ListIndex() const;
  void SetListIndex(int index);
  int ListCount() const { return count(); }
  QString List(int index) const;
  // The selected name, or empty.
  QString SelectedName() const;

  // What a drag of the selected file carries: its URL and its path.
  QMimeData* DragData() const;
  // Drags the selected file, as a copy; returns when the drag has ended.
  void DragSelectedFile();

  // Chooses the largest control font at which `widest` shows uncut; a list
  // of one row has no scroll bars at all.
  void FitFontTo(const QString& widest, bool one_row);

 signals:
  // Any mouse button, at a position in the viewport; also the menu key and
  // Shift+F10, as a right button at the current entry.
  void MouseDown(Qt::MouseButton button, const QPoint& position);
  void DragEnded();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void startDrag(Qt::DropActions supported) override;

 private:
  QStringList Names() const;

  QString path_ = ".";
  QString pattern_ = "*.*";
};

}  // namespace vocapost
