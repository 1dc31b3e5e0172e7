// The file lists' buttons, menus, drags and refreshes.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QUrl>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class FileListsTest : public testing::AppTest {
 protected:
  void StartWithFiles() {
    temp_.WriteFile("vocap.exe", QByteArray(14336, '#'));
    temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
    temp_.WriteFile("06000000.vrc", QByteArray(2100, 'n'));
    ASSERT_EQ(Start(), StartResult::kRunning);
    recorder().SetSendFile([this](const QString& name) { sent_ << name; });
    recorder().show();
  }
  MKERForm1& recorder() { return *app_->recorder(); }
  QString Message() {
    const ErrorForm1* form = app_->messages().error_form();
    return form != nullptr && form->isVisible()
               ? form->windowTitle() + '\t' + form->Label1()->text()
               : QString();
  }
  void SelectAll() {
    recorder().File1()->SetPattern("05143012.vrc");
    recorder().File1()->SetListIndex(0);
    recorder().File2()->SetListIndex(1);  // 06000000.vrc
    recorder().File3()->SetPattern("vocap.exe");
    recorder().File3()->SetListIndex(0);
  }
  void RightClick(FileList* list) {
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  }
  QString Captions(QMenu* menu) {
    QStringList texts;
    for (QAction* item : menu->actions()) texts << item->text();
    return texts.join('|');
  }
  QStringList sent_;
};

TEST_F(FileListsTest, FileButtonsNeedASelectionAndActOnIt) {
  StartWithFiles();
  const struct {
    int command;
    QString done;  // what the press did, with every list selected
  } cases[] = {
      {22, "package voca-MSG05143012.exe"},
      {23, "sent 05143012.vrc"},
      {24, "package voca-MSG06000000.exe"},
      {25, "sent 06000000.vrc"},
      {26, "playing 2100 bytes"},
      {27, "deleted 06000000.vrc"},
      {28, "sent vocap.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    app_->messages().UnloadErrorForm();
    for (FileList* list :
         {recorder().File1(), recorder().File2(), recorder().File3()})
      list->SetListIndex(-1);
    recorder().Command(c.command)->Press();
    EXPECT_EQ(Message(), "Vocapost Message\tNo file selected");
    EXPECT_TRUE(sent_.isEmpty());
    EXPECT_EQ(app_->state().activity.is_playing, 0);

    app_->messages().UnloadErrorForm();
    SelectAll();
    recorder().Command(c.command)->Press();
    QString done;
    if (!sent_.isEmpty()) done = "sent " + sent_.takeFirst();
    if (app_->state().activity.is_playing == 1) {
      done =
          QString("playing %1 bytes").arg(app_->player().message_file_length());
      recorder().Command14()->Press();
    }
    if (recorder().File3()->pattern().startsWith("voca-MSG")) {
      EXPECT_EQ(recorder().File3()->ListIndex(), 0);
      done = "package " + recorder().File3()->SelectedName();
    }
    if (!Exists("06000000.vrc")) {
      done = "deleted 06000000.vrc";
      temp_.WriteFile("06000000.vrc", QByteArray(2100, 'n'));
      recorder().File2()->Refresh();
    }
    EXPECT_EQ(done, c.done);
    EXPECT_EQ(Message(), "");
  }
}

TEST_F(FileListsTest, EachMenuNamesTheFileAndRunsItsItems) {
  StartWithFiles();
  const struct {
    FileList* (MKERForm1::*list)() const;
    QMenu* (MKERForm1::*menu)() const;
    QString captions;
    const char* item;
    QString sent;
  } cases[] = {
      {&MKERForm1::File1, &MKERForm1::mnuMake,
       "C&reate file /w viewer|&Send 05143012.vrc|&Cancel|Export as WebM…",
       "mnuSendMake",
       "05143012.vrc"},
      {&MKERForm1::File2, &MKERForm1::mnuDelete,
       "C&reate file /w viewer|&Play 06000000.vrc|&Delete 06000000.vrc|"
       "&Send 06000000.vrc|&Cancel|Export as WebM…",
       "mnuSendDelete", "06000000.vrc"},
      {&MKERForm1::File3, &MKERForm1::mnuOutlook, "&Send vocap.exe|&Cancel",
       "mnuSendOut", "vocap.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    SelectAll();
    QMenu* menu = (recorder().*c.menu)();
    RightClick((recorder().*c.list)());
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(Captions(menu), c.captions);
    menu->findChild<QAction*>(c.item)->trigger();
    menu->hide();
    EXPECT_EQ(sent_, QStringList{c.sent});
    sent_.clear();
    // File3 alone keeps its package when clicked.
    EXPECT_EQ(recorder().File3()->pattern(),
              c.list == &MKERForm1::File3 ? "vocap.exe" : "*.goo");
  }
  EXPECT_EQ(recorder().mnuMake()->parent(), recorder().mnuMain());
  EXPECT_FALSE(recorder().mnuMain()->isVisible());

  // Captions are set anew: a changed language text shows at the next opening.
  app_->state().extra_texts[6] = "&Envoyer";
  SelectAll();
  QTest::keyClick(recorder().File1(), Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(recorder().mnuMake()->isVisible()) << "Shift+F10 opens it too";
  EXPECT_EQ(recorder().mnuMake()->actions()[1]->text(),
            "&Envoyer 05143012.vrc");
  recorder().mnuMake()->hide();

  // The other items, each with its list's name.
  SelectAll();
  recorder().findChild<QAction*>("mnuDeleteFile")->trigger();
  EXPECT_FALSE(Exists("06000000.vrc"));
  recorder().File1()->SetListIndex(0);
  recorder().findChild<QAction*>("mnuCreate2")->trigger();
  EXPECT_EQ(recorder().File3()->SelectedName(), "voca-MSG05143012.exe");
  recorder().File2()->SetListIndex(0);
  recorder().findChild<QAction*>("mnuCreate1")->trigger();
  EXPECT_EQ(recorder().File3()->SelectedName(), "voca-MSG05143012.exe");
  recorder().findChild<QAction*>("mnuPlayFile")->trigger();
  EXPECT_EQ(app_->state().activity.is_playing, 1);
}

TEST_F(FileListsTest, RightClickWithoutSelectionOnlyClearsThePackages) {
  StartWithFiles();
  recorder().Command(24)->Press();  // nothing selected: no package
  recorder().File2()->SetListIndex(0);
  recorder().Command(24)->Press();
  ASSERT_EQ(recorder().File3()->ListCount(), 1);
  RightClick(recorder().File3());
  EXPECT_EQ(Captions(recorder().mnuOutlook()),
            "&Send voca-MSG05143012.exe|&Cancel");
  recorder().mnuOutlook()->hide();
  EXPECT_EQ(recorder().File3()->ListCount(), 1) << "the package stays";
  recorder().File2()->SetListIndex(-1);
  RightClick(recorder().File2());
  EXPECT_FALSE(recorder().mnuDelete()->isVisible());
  EXPECT_EQ(recorder().File3()->ListCount(), 0);
  EXPECT_EQ(recorder().File2()->ListIndex(), -1)
      << "a right click selects nothing";
}

TEST_F(FileListsTest, DoubleClickPlaysButNotWhilePlaying) {
  StartWithFiles();
  QListWidget* list = recorder().File2();
  const QPoint first = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
  ASSERT_EQ(app_->state().activity.is_playing, 1);
  const int32_t length = app_->player().message_file_length();
  recorder().File2()->setEnabled(true);
  recorder().File2()->SetListIndex(1);
  recorder().File2_DblClick();
  EXPECT_EQ(app_->state().launch.selected_play_file, "");
  EXPECT_EQ(app_->player().message_file_length(), length);
}

TEST_F(FileListsTest, DeletingTheCurrentRecordingTrashesItFromBothLists) {
  const QByteArray data_home = qgetenv("XDG_DATA_HOME");
  const std::filesystem::path trash = temp_.root() / "data";
  std::filesystem::create_directories(trash);
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(trash.string()));
  StartWithFiles();
  recorder().ShowNewRecording("05143012.vrc");
  recorder().File2()->SetListIndex(0);
  recorder().Command(27)->Press();
  qputenv("XDG_DATA_HOME", data_home);
  EXPECT_EQ(recorder().File1()->ListCount(), 0);
  EXPECT_EQ(recorder().File2()->ListCount(), 1);
  EXPECT_FALSE(Exists("05143012.vrc"));
  EXPECT_TRUE(
      std::filesystem::exists(trash / "Trash" / "files" / "05143012.vrc"));
  EXPECT_EQ(Message(), "") << "no question, no message";
}

TEST_F(FileListsTest, DragsCarryTheFileAndEndByPressingTheViewersDummy) {
  StartWithFiles();
  int presses = 0;
  app_->viewer()->Command12()->SetHandler([&] { ++presses; });
  recorder().File2()->SetListIndex(0);
  std::unique_ptr<QMimeData> data(recorder().File2()->DragData());
  const QString path = QString::fromStdString(
      (std::filesystem::canonical(temp_.home()) / "05143012.vrc").string());
  EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
  EXPECT_EQ(data->text(), path);
  // No drop target here: the drag ends at once, undropped.
  for (FileList* list :
       {recorder().File1(), recorder().File2(), recorder().File3()})
    list->DragSelectedFile();
  EXPECT_EQ(presses, 3);

  std::unique_ptr<QMimeData> text(recorder().Text1()->DragData());
  EXPECT_EQ(text->formats(), QStringList{"text/plain"});
  EXPECT_EQ(
      text->text(),
      "\r\nGet viewer for Vocapost attachment:  https://vocapost.org\r\n");
}

TEST_F(FileListsTest, ListsFollowTheFolderAndKeepTheirSelection) {
  StartWithFiles();
  recorder().File2()->SetListIndex(1);
  temp_.WriteFile("07000000.vrc", "x");
  temp_.WriteFile("pop.txt", "x");
  QTRY_COMPARE_WITH_TIMEOUT(recorder().File2()->ListCount(), 3, 1000);
  EXPECT_EQ(recorder().File2()->SelectedName(), "06000000.vrc");
  EXPECT_EQ(recorder().File1()->ListCount(), 0) << "its pattern stays";
  EXPECT_EQ(recorder().File3()->ListCount(), 0);
}

}  // namespace
}  // namespace vocapost
