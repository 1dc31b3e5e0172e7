// The file lists' pop-up menus: submenus of a main menu that is never shown.
#include "messages/caption_file.h"
#include "recorder_ui/mker_form1.h"

namespace vocapost {
namespace {

// Entries of the extra texts that the items show.
constexpr int kSendText = 6;
constexpr int kPlayText = 7;
constexpr int kDeleteText = 8;
constexpr int kCancelText = 9;
constexpr int kCreateText = 10;

struct MenuItem {
  int text;  // kOwnCaption: not one of the extra texts
  bool names_file;
};
constexpr int kOwnCaption = -1;

QMenu* AddMenu(QMenu* main, const char* name, const char* title) {
  QMenu* menu = main->addMenu(title);
  menu->setObjectName(name);
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name) {
  QAction* item = menu->addAction(name);
  item->setObjectName(name);
  return item;
}

}  // namespace

void MKERForm1::CreateMenus() {
  mnu_main_ = new QMenu("Main", this);
  mnu_main_->setObjectName("mnuMain");
  mnu_make_ = AddMenu(mnu_main_, "mnuMake", "Make");
  mnu_delete_ = AddMenu(mnu_main_, "mnuDelete", "Delete");
  mnu_outlook_ = AddMenu(mnu_main_, "mnuOutlook", "Outlook");
  const auto on = [this](QAction* item, FileList* list,
                         void (MKERForm1::*action)(const QString&)) {
    connect(item, &QAction::triggered, this,
            [this, list, action] { (this->*action)(list->SelectedName()); });
  };
  on(AddItem(mnu_make_, "mnuCreate2"), file1_, &MKERForm1::CreatePackage);
  on(AddItem(mnu_make_, "mnuSendMake"), file1_, &MKERForm1::SendFile);
  AddItem(mnu_make_, "mnuCan2");
  on(AddItem(mnu_make_, "mnuExportMake"), file1_, &MKERForm1::ExportFile);
  on(AddItem(mnu_delete_, "mnuCreate1"), file2_, &MKERForm1::CreatePackage);
  on(AddItem(mnu_delete_, "mnuPlayFile"), file2_, &MKERForm1::PlayFile);
  on(AddItem(mnu_delete_, "mnuDeleteFile"), file2_, &MKERForm1::DeleteFile);
  on(AddItem(mnu_delete_, "mnuSendDelete"), file2_, &MKERForm1::SendFile);
  AddItem(mnu_delete_, "mnuCancel");
  on(AddItem(mnu_delete_, "mnuExportDelete"), file2_, &MKERForm1::ExportFile);
  on(AddItem(mnu_outlook_, "mnuSendOut"), file3_, &MKERForm1::SendFile);
  AddItem(mnu_outlook_, "mnuCancelOut");
}

void MKERForm1::OpenFileMenu(const FileList& list, QMenu* menu,
                             const QPoint& position) {
  if (list.ListIndex() == -1) return;
  static const std::map<QString, MenuItem> kItems = {
      {"mnuCreate2", {kCreateText, false}},
      {"mnuSendMake", {kSendText, true}},
      {"mnuCan2", {kCancelText, false}},
      {"mnuCreate1", {kCreateText, false}},
      {"mnuPlayFile", {kPlayText, true}},
      {"mnuDeleteFile", {kDeleteText, true}},
      {"mnuSendDelete", {kSendText, true}},
      {"mnuCancel", {kCancelText, false}},
      {"mnuSendOut", {kSendText, true}},
      {"mnuCancelOut", {kCancelText, false}},
      {"mnuExportMake", {kOwnCaption, false}},
      {"mnuExportDelete", {kOwnCaption, false}},
  };
  // Set at every opening: they name the file and follow the language.
  const ExtraTexts& texts = app_.state().extra_texts;
  const QString export_caption =
      LocalCaption("Export as WebM…", app_.state().messages.language_extension);
  // An ampersand in a name is shown, not taken for a shortcut.
  const QString name = QString(list.SelectedName()).replace("&", "&&");
  for (QAction* item : menu->actions()) {
    const MenuItem& entry = kItems.at(item->objectName());
    if (entry.text == kOwnCaption) {
      item->setText(export_caption);
      continue;
    }
    item->setText(entry.names_file ? texts[entry.text] + ' ' + name
                                   : texts[entry.text]);
  }
  menu->popup(list.viewport()->mapToGlobal(position));
}

}  // namespace vocapost
