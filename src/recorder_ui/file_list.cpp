#include "recorder_ui/file_list.h"

#include <QDir>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>

#include "messages/control_fonts.h"

namespace vocapost {

FileList::FileList(const QString& name, QWidget* parent) : QListWidget(parent) {
  setObjectName(name);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragOnly);
  setDefaultDropAction(Qt::CopyAction);
  // The menus open on the mouse going down, and on the keys below.
  setContextMenuPolicy(Qt::PreventContextMenu);
}

void FileList::SetPath(const QString& path) {
  path_ = path;
  Refresh();
}

void FileList::SetPattern(const QString& pattern) {
  pattern_ = pattern;
  Refresh();
}

QStringList FileList::Names() const {
  // Only names are read: a folder of thousands of messages lists at once.
  return QDir(path_).entryList({pattern_}, QDir::Files | QDir::Hidden,
                               QDir::Name);
}

void FileList::Refresh() {
  const QStringList names = Names();
  clear();
  addItems(names);
  setCurrentRow(-1);
}

void FileList::Update() {
  const QStringList names = Names();
  QStringList shown;
  for (int row = 0; row < count(); ++row) shown << item(row)->text();
  if (names == shown) return;
  const QString selected = SelectedName();
  Refresh();
  if (!selected.isEmpty()) SetListIndex(names.indexOf(selected));
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

QString FileList::SelectedName() const {
  const int index = ListIndex();
  return index < 0 ? QString() : List(index);
}

QMimeData* FileList::DragData() const {
  auto* mime = new QMimeData;
  const QString name = SelectedName();
  if (name.isEmpty()) return mime;
  const QString path = QDir(path_).absoluteFilePath(name);
  mime->setUrls({QUrl::fromLocalFile(path)});
  mime->setText(path);
  return mime;
}

void FileList::DragSelectedFile() {
  if (ListIndex() >= 0) {
    auto* drag = new QDrag(this);
    drag->setMimeData(DragData());
    drag->exec(Qt::CopyAction, Qt::CopyAction);
  }
  // Dropped or not: the drag is over.
  emit DragEnded();
}

void FileList::startDrag(Qt::DropActions) { DragSelectedFile(); }

void FileList::mousePressEvent(QMouseEvent* event) {
  // A right click opens the menu for the selected file; it does not select.
  if (event->button() != Qt::RightButton) QListWidget::mousePressEvent(event);
  emit MouseDown(event->button(), event->position().toPoint());
}

void FileList::keyPressEvent(QKeyEvent* event) {
  const bool menu_key =
      event->key() == Qt::Key_Menu ||
      (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
  if (!menu_key) {
    QListWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  const QListWidgetItem* selected = currentItem();
  const QRect at = selected != nullptr ? visualItemRect(selected) : QRect();
  emit MouseDown(Qt::RightButton, at.isNull() ? QPoint(4, 4) : at.bottomLeft());
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
