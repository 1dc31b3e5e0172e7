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
    for (QWidget* w : QApplication::topLevelWidgets())
      count += w->objectName() == "ErrorForm1" && w->isVisible();
    return count;
  }
  ErrorForm1* Show(const QString& text, QString title = {}) {
    messages_.ShowMessageForm(text, 0, title);
    return messages_.error_form();
  }

  QString extension_ = ".DEU";
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{extension_, presenter_, nullptr, clock_};
};

TEST_F(FormMessagesTest, MessagesAreTitledTranslatedAndLoggedAsShown) {
  temp_.WriteFile("VMESSAGE.DEU", "Loading...\r\n<b>Lade</b>...\r\n");
  temp_.WriteFile("VMESSAGE.JPN", "Loading...\r\nYomikomi\r\n");
  const MessageLog log(QString::fromStdString((temp_.home() / "log").string()));
  FormMessages logged(extension_, presenter_, &log, clock_);
  QString title = "";  // empty, not null
  QString warning = "Warning";
  logged.ShowMessage("Loading...", 0, title);
  EXPECT_EQ(title, "Vocapost Message");
  logged.ShowMessageForm("Two\r\nlines", 0, warning);
  extension_ = ".JPN";  // a language chosen later applies to the next one
  logged.ShowMessage("Loading...", 0, warning);
  EXPECT_EQ(warning, "Warning");
  EXPECT_EQ(presenter_.messages.size(), 2u);
  EXPECT_EQ(temp_.ReadFile("log"),
            "Vocapost Message\t<b>Lade</b>...\nWarning\tTwo\\r\\nlines\n"
            "Warning\tYomikomi\n");
}

TEST_F(FormMessagesTest, WindowIsUpAtOnceAtItsPlaceAndComesBack) {
  temp_.WriteFile("VMESSAGE.DEU", "Loading...\r\n<b>Lade</b>...\r\n");
  ErrorForm1* form = Show("Loading...");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Vocapost Message");
  EXPECT_EQ(form->Label1()->text(), "<b>Lade</b>...");
  EXPECT_EQ(form->Label1()->textFormat(), Qt::PlainText);
  EXPECT_FALSE(form->testAttribute(Qt::WA_QuitOnClose));
  EXPECT_TRUE(presenter_.messages.empty());
  const int screen = QGuiApplication::primaryScreen()->geometry().width();
  EXPECT_NEAR(form->x(), (screen - form->frameGeometry().width()) / 2.0, 1.0);
  EXPECT_EQ(form->y(), 4);  // 60 twips

  // The next message takes the same window back to its place.
  const QPoint placed = form->pos();
  form->move(placed + QPoint(150, 200));
  EXPECT_EQ(Show("second", "Warning"), form);
  EXPECT_EQ(form->pos(), placed);
  EXPECT_EQ(form->Label1()->text(), "second");
  EXPECT_EQ(form->windowTitle(), "Warning");
  EXPECT_EQ(OpenErrorForms(), 1);
}

TEST_F(FormMessagesTest, EachWayOfClosingUnloadsAndTheNextMessageMakesANewOne) {
  const std::pair<const char*, std::function<void(ErrorForm1&)>> ways[] = {
      {"OK",
       [](ErrorForm1& f) { QTest::mouseClick(f.Command1(), Qt::LeftButton); }},
      {"Return", [](ErrorForm1& f) { QTest::keyClick(&f, Qt::Key_Return); }},
      {"close", [](ErrorForm1& f) { f.close(); }},
      {"unload", [this](ErrorForm1&) { messages_.UnloadErrorForm(); }},
  };
  for (const auto& [name, dismiss] : ways) {
    SCOPED_TRACE(name);
    QPointer<ErrorForm1> first = Show("first");
    dismiss(*first);
    EXPECT_EQ(messages_.error_form(), nullptr);
    messages_.UnloadErrorForm();  // nothing left to unload: harmless
    // Shown right after the unload, before the old window is deleted.
    ErrorForm1* again = Show("again");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_EQ(messages_.error_form(), again);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(OpenErrorForms(), 1);
    messages_.UnloadErrorForm();
  }
}

}  // namespace
}  // namespace vocapost
