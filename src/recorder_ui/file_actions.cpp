// The file buttons, the lists' events and what they do with a chosen file.
#include <QDir>
#include <QFile>

#include "app/package_messages.h"
#include "player/viewer.h"
#include "recorder_ui/export_action.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {
namespace {

constexpr int kFolderSettleMilliseconds = 300;

// A finished package is shown selected in the package list.
class ListedPackage final : public PackageMessages {
 public:
  ListedPackage(MessageOperations& messages, QString& title, FileList& list)
      : PackageMessages(messages, title), list_(list) {}
  void ShowPackage(const QString& package_name) override {
    list_.SetPattern(package_name);
    list_.SetListIndex(0);
  }

 private:
  FileList& list_;
};

}  // namespace

void MKERForm1::ConnectFileCommands() {
  const std::pair<int, void (MKERForm1::*)()> handlers[] = {
      {22, &MKERForm1::Command22_Click}, {23, &MKERForm1::Command23_Click},
      {24, &MKERForm1::Command24_Click}, {25, &MKERForm1::Command25_Click},
      {26, &MKERForm1::Command26_Click}, {27, &MKERForm1::Command27_Click},
      {28, &MKERForm1::Command28_Click}};
  for (const auto& [number, handler] : handlers)
    Command(number)->SetHandler([this, handler] { (this->*handler)(); });
  const std::pair<FileList*,
                  void (MKERForm1::*)(Qt::MouseButton, const QPoint&)>
      lists[] = {{file1_, &MKERForm1::File1_MouseDown},
                 {file2_, &MKERForm1::File2_MouseDown},
                 {file3_, &MKERForm1::File3_MouseDown}};
  for (const auto& [list, handler] : lists) {
    connect(list, &FileList::MouseDown, this, handler);
    connect(list, &FileList::DragEnded, this, &MKERForm1::File_CompleteDrag);
  }
  connect(file2_, &QListWidget::itemDoubleClicked, this,
          &MKERForm1::File2_DblClick);
}

QString MKERForm1::SelectedOrTell(const FileList& list) {
  if (list.ListIndex() == -1) {
    app_.messages().ShowMessageForm("No file selected", 0,
                                    app_.state().messages.viewer_message_title);
    return {};
  }
  return list.SelectedName();
}

void MKERForm1::Command22_Click() {
  if (const QString name = SelectedOrTell(*file1_); !name.isEmpty())
    CreatePackage(name);
}

void MKERForm1::Command23_Click() {
  if (const QString name = SelectedOrTell(*file1_); !name.isEmpty())
    SendFile(name);
}

void MKERForm1::Command24_Click() {
  if (const QString name = SelectedOrTell(*file2_); !name.isEmpty())
    CreatePackage(name);
}

void MKERForm1::Command25_Click() {
  if (const QString name = SelectedOrTell(*file2_); !name.isEmpty())
    SendFile(name);
}

void MKERForm1::Command26_Click() {
  if (const QString name = SelectedOrTell(*file2_); !name.isEmpty())
    PlayFile(name);
}

void MKERForm1::Command27_Click() {
  if (const QString name = SelectedOrTell(*file2_); !name.isEmpty())
    DeleteFile(name);
}

void MKERForm1::Command28_Click() {
  if (const QString name = SelectedOrTell(*file3_); !name.isEmpty())
    SendFile(name);
}

void MKERForm1::File1_MouseDown(Qt::MouseButton button,
                                const QPoint& position) {
  ClearPackageList();
  if (button == Qt::RightButton) OpenFileMenu(*file1_, mnu_make_, position);
}

void MKERForm1::File2_MouseDown(Qt::MouseButton button,
                                const QPoint& position) {
  ClearPackageList();
  if (button == Qt::RightButton) OpenFileMenu(*file2_, mnu_delete_, position);
}

void MKERForm1::File3_MouseDown(Qt::MouseButton button,
                                const QPoint& position) {
  // Clearing here would take away the package that is to be sent.
  if (button == Qt::RightButton) OpenFileMenu(*file3_, mnu_outlook_, position);
}

void MKERForm1::File2_DblClick() {
  if (const QString name = file2_->SelectedName(); !name.isEmpty())
    PlayFile(name);
}

void MKERForm1::File_CompleteDrag() {
  // Whatever became of the drop: the mail it may have gone to gets its text.
  if (Viewer* viewer = app_.viewer()) viewer->Command12()->Press();
}

void MKERForm1::CreatePackage(const QString& name) {
  ListedPackage ui(app_.messages(), app_.state().messages.message_title,
                   *file3_);
  BuildMessagePackage(name, ui);
}

void MKERForm1::SendFile(const QString& name) {
  if (send_file_) {
    send_file_(name);
    return;
  }
  EmailDispatch dispatch = app_.MailDispatch();
  SendFileByEmail(dispatch, name);
}

void MKERForm1::PlayFile(const QString& name) {
  const ActivityState& activity = app_.state().activity;
  if (activity.is_recording != 0 || activity.is_playing != 0) return;
  app_.state().launch.selected_play_file = name;
  app_.player().OpenMessageForPlay(name);
  Command4()->Press();
}

void MKERForm1::DeleteFile(const QString& name) {
  if (!QFile::exists(name)) return;
  // To the desktop's trash where there is one, so that it can be undone.
  // A file that can go neither way simply stays.
  if (!QFile::moveToTrash(name)) QFile::remove(name);
  file1_->Refresh();
  file2_->Refresh();
}

void MKERForm1::ExportFile(const QString& name) {
  ExportMessageAsWebm(this, name, app_.messages(),
                      app_.state().messages.viewer_message_title,
                      app_.state().messages.language_extension);
}

void MKERForm1::WatchProgramHome() {
  if (home_watcher_ == nullptr) {
    home_watcher_ = new QFileSystemWatcher(this);
    folder_changed_ = new QTimer(this);
    folder_changed_->setSingleShot(true);
    folder_changed_->setInterval(kFolderSettleMilliseconds);
    connect(home_watcher_, &QFileSystemWatcher::directoryChanged,
            folder_changed_, qOverload<>(&QTimer::start));
    connect(folder_changed_, &QTimer::timeout, this, [this] {
      for (FileList* list : {file1_, file2_, file3_}) list->Update();
    });
  }
  if (!home_watcher_->directories().isEmpty())
    home_watcher_->removePaths(home_watcher_->directories());
  home_watcher_->addPath(QDir::currentPath());
}

}  // namespace vocapost
