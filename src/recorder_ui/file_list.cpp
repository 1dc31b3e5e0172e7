#include "recorder_ui/file_list.h"

#include <QDir>

namespace vocapost {

FileList::FileList(const QString& name, QWidget* parent) : QListWidget(parent) {
  setObjectName(name);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::SetPath(const QString& path) {
  path_ = path;
  Refresh();
}

void FileList::SetPattern(const QString& pattern) {
  pattern_ = pattern;
  Refresh();
}

void FileList::Refresh() {
  // Only names are read: a folder of thousands of messages lists at once.
  const QStringList names =
      QDir(path_).entryList({pattern_}, QDir::Files | QDir::Hidden, QDir::Name);
  clear();
  addItems(names);
  setCurrentRow(-1);
}

int FileList::ListIndex() const {
  return selectedItems().isEmpty() ? -1 : currentRow();
}

void FileList::SetListIndex(int index) {
  if (index < 0 || index >= count()) {
    clearSelection();
    setCurrentRow(-1);
    return;
  }
  setCurrentRow(index);
}

QString FileList::List(int index) const {
  const QListWidgetItem* entry = item(index);
  return entry != nullptr ? entry->text() : QString();
}

}  // namespace vocapost
