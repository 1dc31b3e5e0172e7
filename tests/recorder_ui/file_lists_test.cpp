// The file lists' buttons, menus and refreshes.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

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
  QStringList sent_;
};

TEST_F(FileListsTest, FileButtonsAndMenuItemsNeedASelectionAndActOnIt) {
  StartWithFiles();
  const struct {
    int command;  // a button, else the menu item
    const char* item;
    QString done;  // what it did, with every list selected
  } cases[] = {
      {22, "", "package voca-MSG05143012.exe"},
      {23, "", "sent 05143012.vrc"},
      {24, "", "package voca-MSG06000000.exe"},
      {25, "", "sent 06000000.vrc"},
      {26, "", "playing 2100 bytes"},
      {27, "", "deleted 06000000.vrc"},
      {28, "", "sent vocap.exe"},
      {0, "mnuCreate2", "package voca-MSG05143012.exe"},
      {0, "mnuSendMake", "sent 05143012.vrc"},
      {0, "mnuCreate1", "package voca-MSG06000000.exe"},
      {0, "mnuPlayFile", "playing 2100 bytes"},
      {0, "mnuDeleteFile", "deleted 06000000.vrc"},
      {0, "mnuSendDelete", "sent 06000000.vrc"},
      {0, "mnuSendOut", "sent vocap.exe"},
  };
  // A button without a selection only says so.
  recorder().Command(27)->Press();
  EXPECT_EQ(Message(), "Vocapost Message\tNo file selected");
  EXPECT_TRUE(Exists("06000000.vrc"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command == 0 ? c.item : std::to_string(c.command));
    app_->messages().UnloadErrorForm();
    SelectAll();
    if (c.command != 0) {
      recorder().Command(c.command)->Press();
    } else {
      recorder().findChild<QAction*>(c.item)->trigger();
    }
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

TEST_F(FileListsTest, PackageOfAFileGoneMeanwhileIsRefusedInTheMessageWindow) {
  StartWithFiles();
  recorder().File2()->SetListIndex(0);
  std::filesystem::remove(temp_.home() / "05143012.vrc");
  recorder().Command(24)->Press();
  EXPECT_EQ(Message(), "Vocapost Message\tRecordedfile does not exist.");
  EXPECT_TRUE(presenter_.messages.empty()) << "not a modal box";
}

TEST_F(FileListsTest, RightClickOpensTheMenuNamingTheFileAndClearsPackages) {
  StartWithFiles();
  SelectAll();
  QTest::mouseClick(recorder().File2()->viewport(), Qt::RightButton, {},
                    QPoint(5, 5));
  ASSERT_TRUE(recorder().mnuDelete()->isVisible());
  QStringList captions;
  for (QAction* item : recorder().mnuDelete()->actions())
    captions << item->text();
  EXPECT_EQ(captions.join('|'),
            "C&reate file /w viewer|&Play 06000000.vrc|&Delete 06000000.vrc|"
            "&Send 06000000.vrc|&Cancel|Export as WebM…");
  recorder().mnuDelete()->hide();
  EXPECT_EQ(recorder().File3()->pattern(), "*.goo");
  // Shift+F10 opens a list's menu too; File3 alone keeps its package.
  for (FileList* list : {recorder().File1(), recorder().File3()}) {
    SelectAll();
    const bool packages = list == recorder().File3();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = packages ? recorder().mnuOutlook() : recorder().mnuMake();
    ASSERT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_EQ(recorder().File3()->pattern(), packages ? "vocap.exe" : "*.goo");
  }
  // Choosing a speed in the list clears them.
  emit recorder().Combo1()->activated(1);
  EXPECT_EQ(recorder().File3()->pattern(), "*.goo");
  // Other keys move in the list as ever.
  QTest::keyClick(recorder().File2(), Qt::Key_Up);
  EXPECT_EQ(recorder().File2()->SelectedName(), "05143012.vrc");
  std::unique_ptr<QMimeData> text(recorder().Text1()->DragData());
  EXPECT_EQ(
      text->text(),
      "\r\nGet viewer for Vocapost attachment:  https://vocapost.org\r\n");
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

TEST_F(FileListsTest, ListsFollowTheFolderAndKeepTheirSelection) {
  StartWithFiles();
  recorder().File2()->SetListIndex(1);
  temp_.WriteFile("07000000.vrc", "x");
  temp_.WriteFile("pop.txt", "x");
  QTRY_COMPARE_WITH_TIMEOUT(recorder().File2()->ListCount(), 3, 1000);
  EXPECT_EQ(recorder().File2()->SelectedName(), "06000000.vrc");
  EXPECT_EQ(recorder().File1()->ListCount(), 0) << "its pattern stays";
}

}  // namespace
}  // namespace vocapost
