#include "recorder_ui/file_list.h"

#include <QDir>
#include <QScrollBar>
#include <QStyle>

#include "messages/control_fonts.h"

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

void FileList::FitFontTo(const QString& widest, bool one_row) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (one_row) setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideNone);
  const int frame = 2 * frameWidth();
  const int scroll_bar =
      one_row ? 0
              : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  // The item view keeps a margin each side of an entry's text.
  const int text_margin =
      2 *
      (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  const QSize room(width() - frame - scroll_bar - text_margin,
                   height() - frame - 2);
  setFont(FittingFont(ControlFont(), {widest}, room));
}

QString FileList::List(int index) const {
  const QListWidgetItem* entry = item(index);
  return entry != nullptr ? entry->text() : QString();
}

}  // namespace vocapost
