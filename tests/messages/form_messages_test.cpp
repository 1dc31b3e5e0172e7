#include "messages/form_messages.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "support/temp_home.h"

namespace vocapost {
namespace {

class FormMessagesTest : public testing::HomeTest {
 protected:
  ~FormMessagesTest() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static int OpenErrorForms() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "ErrorForm1" && w->isVisible()) ++count;
    }
    return count;
  }

  QString extension_ = ".DEU";
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{extension_, presenter_, nullptr, clock_};
};

TEST_F(FormMessagesTest, ShowMessageFillsAnEmptyTitleAndTranslates) {
  temp_.WriteFile("VMESSAGE.DEU",
                  "Please launch again.\r\nBitte neu starten.\r\n");
  QString title;
  messages_.ShowMessage("Please launch again.", 0, title);
  EXPECT_EQ(title, "Vocapost Message");
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_EQ(presenter_.messages[0].title, "Vocapost Message");
  EXPECT_EQ(presenter_.messages[0].text, "Bitte neu starten.");
}

TEST_F(FormMessagesTest, ShowMessageKeepsAGivenTitle) {
  QString title = "Warning";
  messages_.ShowMessage("Incorrect file type selected.  Cannot be played.", 0,
                        title);
  EXPECT_EQ(title, "Warning");
  EXPECT_EQ(presenter_.messages.at(0).title, "Warning");
  EXPECT_EQ(presenter_.messages.at(0).text,
            "Incorrect file type selected.  Cannot be played.");
}

TEST_F(FormMessagesTest, LanguageChosenLaterAppliesToTheNextMessage) {
  temp_.WriteFile("VMESSAGE.JPN", "Loading...\r\nYomikomi\r\n");
  QString title;
  messages_.ShowMessage("Loading...", 0, title);
  extension_ = ".JPN";
  messages_.ShowMessage("Loading...", 0, title);
  EXPECT_EQ(presenter_.messages.at(0).text, "Loading...");
  EXPECT_EQ(presenter_.messages.at(1).text, "Yomikomi");
}

TEST_F(FormMessagesTest, ShowMessageFormReturnsAtOnceWithTheWindowUp) {
  QString title;
  messages_.ShowMessageForm("Loading...", 0, title);
  EXPECT_EQ(title, "Vocapost Message");
  ErrorForm1* form = messages_.error_form();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Vocapost Message");
  EXPECT_EQ(form->Label1()->text(), "Loading...");
  EXPECT_EQ(form->Command1()->text(), "&OK");
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(FormMessagesTest, TwoMessagesLeaveOneWindowWithTheSecondText) {
  QString title;
  messages_.ShowMessageForm("first", 0, title);
  ErrorForm1* first = messages_.error_form();
  QString other_title = "Warning";
  messages_.ShowMessageForm("second", 0, other_title);
  EXPECT_EQ(messages_.error_form(), first);
  EXPECT_EQ(OpenErrorForms(), 1);
  EXPECT_EQ(first->Label1()->text(), "second");
  EXPECT_EQ(first->windowTitle(), "Warning");
}

TEST_F(FormMessagesTest, WindowShowsTheTranslationAsPlainText) {
  temp_.WriteFile("VMESSAGE.DEU", "Loading...\r\n<b>Lade</b>...\r\n");
  QString title;
  messages_.ShowMessageForm("Loading...", 0, title);
  ASSERT_NE(messages_.error_form(), nullptr);
  EXPECT_EQ(messages_.error_form()->Label1()->text(), "<b>Lade</b>...");
  EXPECT_EQ(messages_.error_form()->Label1()->textFormat(), Qt::PlainText);
}

TEST_F(FormMessagesTest, NextMessageBringsAMovedWindowBack) {
  QString title;
  messages_.ShowMessageForm("first", 0, title);
  ErrorForm1* form = messages_.error_form();
  const QPoint placed = form->pos();
  form->move(placed + QPoint(150, 200));
  messages_.ShowMessageForm("second", 0, title);
  EXPECT_EQ(form->pos(), placed);
}

TEST_F(FormMessagesTest, ClosingTheMessageDoesNotEndTheProgram) {
  QString title;
  messages_.ShowMessageForm("x", 0, title);
  EXPECT_FALSE(messages_.error_form()->testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(FormMessagesTest, WindowHasItsSizeAndSitsCentredNearTheTop) {
  QString title;
  messages_.ShowMessageForm("x", 0, title);
  ErrorForm1* form = messages_.error_form();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->size(), QSize(235, 149));  // 3530 x 2235 twips
  EXPECT_EQ(form->Label1()->size(), QSize(217, 89));
  EXPECT_EQ(form->Command1()->x(), 97);  // 1455 twips
  const int screen_twips =
      QGuiApplication::primaryScreen()->geometry().width() * 15;
  const int left_twips =
      (screen_twips - form->frameGeometry().width() * 15) / 2;
  EXPECT_NEAR(form->x(), left_twips / 15.0, 1.0);
  EXPECT_EQ(form->y(), 4);  // 60 twips
}

TEST_F(FormMessagesTest, OkUnloadsAndTheNextMessageMakesAFreshWindow) {
  QString title;
  messages_.ShowMessageForm("first", 0, title);
  QPointer<ErrorForm1> first = messages_.error_form();
  QTest::mouseClick(first->Command1(), Qt::LeftButton);
  EXPECT_EQ(messages_.error_form(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(OpenErrorForms(), 0);

  messages_.ShowMessageForm("again", 0, title);
  ASSERT_NE(messages_.error_form(), nullptr);
  EXPECT_EQ(messages_.error_form()->Label1()->text(), "again");
  EXPECT_EQ(messages_.error_form()->size(), QSize(235, 149));
}

TEST_F(FormMessagesTest, EnterPressesOk) {
  QString title;
  messages_.ShowMessageForm("first", 0, title);
  ErrorForm1* form = messages_.error_form();
  EXPECT_TRUE(form->Command1()->isDefault());
  QTest::keyClick(form, Qt::Key_Return);
  EXPECT_EQ(messages_.error_form(), nullptr);
  messages_.ShowMessageForm("second", 0, title);
  ASSERT_NE(messages_.error_form(), nullptr);
  QTest::keyClick(messages_.error_form()->Command1(), Qt::Key_Enter);
  EXPECT_EQ(messages_.error_form(), nullptr);
}

TEST_F(FormMessagesTest, UnloadRightBeforeAMessageStillShowsIt) {
  QString title;
  messages_.ShowMessageForm("old", 0, title);
  messages_.UnloadErrorForm();
  messages_.ShowMessageForm("new", 0, title);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_NE(messages_.error_form(), nullptr);
  EXPECT_TRUE(messages_.error_form()->isVisible());
  EXPECT_EQ(messages_.error_form()->Label1()->text(), "new");
  EXPECT_EQ(OpenErrorForms(), 1);
}

TEST_F(FormMessagesTest, ClosingTheWindowUnloadsIt) {
  QString title;
  messages_.ShowMessageForm("x", 0, title);
  messages_.error_form()->close();
  EXPECT_EQ(messages_.error_form(), nullptr);
  messages_.UnloadErrorForm();  // nothing left to unload: harmless
}

TEST_F(FormMessagesTest, EveryMessageIsLoggedAsShown) {
  temp_.WriteFile("VMESSAGE.DEU", "Loading...\r\nLade...\r\n");
  const MessageLog log(QString::fromStdString((temp_.home() / "log").string()));
  FormMessages logged(extension_, presenter_, &log, clock_);
  QString title, warning = "Warning";
  logged.ShowMessageForm("Loading...", 0, title);
  logged.ShowMessage("Two\r\nlines", 0, warning);
  EXPECT_EQ(temp_.ReadFile("log"),
            "Vocapost Message\tLade...\nWarning\tTwo\\r\\nlines\n");
}

}  // namespace
}  // namespace vocapost
