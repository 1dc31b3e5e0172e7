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
  void SetUp() override {
    temp_.WriteFile("vocap.exe", QByteArray(14336, '#'));
    temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
    temp_.WriteFile("06000000.vrc", QByteArray(2100, 'n'));
    ASSERT_EQ(Start(), StartResult::kRunning);
    recorder().SetSendFile([this](const QString& name) { sent_ << name; });
    recorder().show();
  }
  MKERForm1& recorder() { return *app_->recorder(); }
  void SelectAll() {
    recorder().File1()->SetPattern("05143012.vrc");
    recorder().File1()->SetListIndex(0);
    recorder().File2()->SetListIndex(1);  // 06000000.vrc
    recorder().File3()->SetPattern("vocap.exe");
    recorder().File3()->SetListIndex(0);
  }
  QStringList sent_;
};

TEST_F(FileListsTest, FileButtonsNeedASelectionAndActOnTheSelectedFile) {
  // A button without a selection only says so.
  recorder().Command(27)->Press();
  SelectAll();
  recorder().findChild<QAction*>("mnuSendMake")->trigger();
  EXPECT_EQ(sent_.takeFirst(), "05143012.vrc");
  const std::pair<int, QString> cases[] = {
      // What each button did, with every list selected.
      {22, "package voca-MSG05143012.exe"}, {23, "sent 05143012.vrc"},
      {24, "package voca-MSG06000000.exe"}, {25, "sent 06000000.vrc"},
      {26, "playing 2100 bytes"},           {28, "sent vocap.exe"},
      {27, "deleted 06000000.vrc"},  // last: the file is gone
  };
  for (const auto& [command, what] : cases) {
    SelectAll();
    recorder().Command(command)->Press();
    QString done;
    if (!sent_.isEmpty()) done = "sent " + sent_.takeFirst();
    if (app_->state().activity.is_playing == 1) {
      done =
          QString("playing %1 bytes").arg(app_->player().message_file_length());
      recorder().Command14()->Press();
    }
    if (recorder().File3()->pattern().startsWith("voca-MSG"))
      done = "package " + recorder().File3()->SelectedName();
    if (!Exists("06000000.vrc")) done = "deleted 06000000.vrc";
    EXPECT_EQ(done, what) << command;
  }
  // A package of a file gone meanwhile is refused in the message window.
  recorder().File2()->SetListIndex(0);
  std::filesystem::remove(temp_.home() / "05143012.vrc");
  recorder().Command(24)->Press();
  EXPECT_EQ(Logged(),
            "Vocapost Message\tNo file selected\n"
            "Vocapost Message\tRecordedfile does not exist.\n");
  EXPECT_TRUE(presenter_.messages.empty()) << "not a modal box";
}

// A right click or Shift+F10 opens a list's menu naming the file; all but
// the package list's clear the package list, as does choosing a speed.
TEST_F(FileListsTest, MenusNameTheFileAndClearPackages) {
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
  for (FileList* list : {recorder().File1(), recorder().File3()}) {
    SelectAll();
    const bool packages = list == recorder().File3();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = packages ? recorder().mnuOutlook() : recorder().mnuMake();
    ASSERT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_EQ(recorder().File3()->pattern(), packages ? "vocap.exe" : "*.goo");
  }
  emit recorder().Combo1()->activated(1);
  EXPECT_EQ(recorder().File3()->pattern(), "*.goo");
  // Other keys move in the list as ever.
  QTest::keyClick(recorder().File2(), Qt::Key_Up);
  EXPECT_EQ(recorder().File2()->SelectedName(), "05143012.vrc");
  std::unique_ptr<QMimeData> text(recorder().Text1()->DragData());
  EXPECT_TRUE(text->text().contains("  https://vocapost.org\r\n"));
}

TEST_F(FileListsTest, DoubleClickPlaysButNotWhilePlaying) {
  QListWidget* list = recorder().File2();
  const QPoint first = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
  ASSERT_EQ(app_->state().activity.is_playing, 1);
  const int32_t length = app_->player().message_file_length();
  list->setEnabled(true);
  recorder().File2()->SetListIndex(1);
  recorder().File2_DblClick();
  EXPECT_EQ(app_->state().launch.selected_play_file, "");
  EXPECT_EQ(app_->player().message_file_length(), length);
}

TEST_F(FileListsTest, ListsFollowTheFolderAndKeepTheirSelection) {
  recorder().File2()->SetListIndex(1);
  temp_.WriteFile("07000000.vrc", "x");
  temp_.WriteFile("pop.txt", "x");
  QTRY_COMPARE_WITH_TIMEOUT(recorder().File2()->ListCount(), 3, 1000);
  EXPECT_EQ(recorder().File2()->SelectedName(), "06000000.vrc");
  EXPECT_EQ(recorder().File1()->ListCount(), 0) << "its pattern stays";
}

}  // namespace
}  // namespace vocapost
