// Messages in boxes and in the message window, the pause and the hidden
// window that takes the program's posted messages.
#include "messages/form_messages.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "messages/message_form.h"
#include "messages/pause.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class FormMessagesTest : public testing::HomeTest {
 protected:
  ~FormMessagesTest() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static int OpenErrorForms() {
    return std::ranges::count_if(QApplication::topLevelWidgets(), [](auto* w) {
      return w->objectName() == "ErrorForm1" && w->isVisible();
    });
  }

  QString extension_ = ".DEU";
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{extension_, presenter_, nullptr, clock_};
};

TEST_F(FormMessagesTest, MessagesAreTitledTranslatedLoggedAndWindowedInPlace) {
  temp_.WriteFile("VMESSAGE.DEU", "Loading...\r\n<b>Lade</b>...\r\n");
  temp_.WriteFile("VMESSAGE.JPN", "Loading...\r\nYomikomi\r\n");
  const MessageLog log(QString::fromStdString((temp_.home() / "log").string()));
  FormMessages logged(extension_, presenter_, &log, clock_);
  QString title = "";  // empty, not null
  QString warning = "Warning";
  logged.ShowMessageForm("Loading...", 0, title);
  ErrorForm1* form = logged.error_form();
  ASSERT_TRUE(form && form->isVisible());
  EXPECT_EQ(
      QStringList({title, form->windowTitle(), form->Label1()->text()}),
      QStringList({"Vocapost Message", "Vocapost Message", "<b>Lade</b>..."}));
  const int screen = QGuiApplication::primaryScreen()->geometry().width();
  EXPECT_NEAR(form->x(), (screen - form->frameGeometry().width()) / 2.0, 1.0);
  EXPECT_EQ(form->y(), 4);  // 60 twips

  // The next message takes the same window back to its place.
  const QPoint placed = form->pos();
  form->move(placed + QPoint(150, 200));
  logged.ShowMessageForm("Two\r\nlines", 0, warning);
  EXPECT_TRUE(logged.error_form() == form && form->pos() == placed);
  EXPECT_EQ(form->windowTitle() + form->Label1()->text(),
            "WarningTwo\r\nlines");
  EXPECT_EQ(OpenErrorForms(), 1);
  extension_ = ".JPN";  // a language chosen later applies to the next one
  logged.ShowMessage("Loading...", 0, warning);
  EXPECT_EQ(warning, "Warning");
  EXPECT_EQ(presenter_.messages.size(), 1u);
  EXPECT_EQ(temp_.ReadFile("log"),
            "Vocapost Message\t<b>Lade</b>...\nWarning\tTwo\\r\\nlines\n"
            "Warning\tYomikomi\n");
}

TEST_F(FormMessagesTest, EachWayOfClosingUnloadsAndTheNextMessageMakesANewOne) {
  const std::function<void(ErrorForm1&)> ways[] = {
      [](ErrorForm1& f) { QTest::mouseClick(f.Command1(), Qt::LeftButton); },
      [](ErrorForm1& f) { QTest::keyClick(&f, Qt::Key_Return); },
      [](ErrorForm1& f) { f.close(); },
      [this](ErrorForm1&) { messages_.UnloadErrorForm(); }};
  for (const auto& dismiss : ways) {
    SCOPED_TRACE(&dismiss - ways);
    QString title;
    messages_.ShowMessageForm("first", 0, title);
    QPointer<ErrorForm1> first = messages_.error_form();
    dismiss(*first);
    EXPECT_EQ(messages_.error_form(), nullptr);
    messages_.UnloadErrorForm();  // nothing left to unload: harmless
    // Shown right after the unload, before the old window is deleted.
    messages_.ShowMessageForm("again", 0, title);
    ErrorForm1* again = messages_.error_form();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(messages_.error_form() == again && again->isVisible());
    EXPECT_EQ(OpenErrorForms(), 1);
    messages_.UnloadErrorForm();
  }
}

TEST_F(FormMessagesTest, PauseWaitsALittleMoreThanOneSecondLongerWithEvents) {
  for (const auto& [seconds, waited] :
       {std::pair{1.0f, 2.0}, {0.0f, 1.0}, {-0.9f, 0.1}}) {
    SCOPED_TRACE(seconds);
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    const double start = clock_.Now();
    EXPECT_EQ(messages_.PauseWithEvents(seconds, {}), 0);
    EXPECT_NEAR(clock_.Now() - start, waited + 0.05, 0.05);
    EXPECT_EQ(fired, 1);
  }
  // A clock that never moves must not hang the program.
  class FrozenClock final : public Clock {
   public:
    double Now() override { return 0; }
    void RunEventsFor(double) override { ++runs; }
    int runs = 0;
  } frozen;
  PauseWithEvents(frozen, 1.0f);
  EXPECT_EQ(frozen.runs, kMostPausePasses);
}

TEST(MessageFormTest, PostedMessagesReachTheProcedureWhichMayReplaceItself) {
  MessageForm form;
  std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> seen;
  WindowProcedure previous;
  previous = form.InstallProcedure([&, owned = std::string(1000, 'x')](
                                       uint32_t m, uintptr_t w, intptr_t l) {
    seen.emplace_back(m, w, l);
    form.InstallProcedure(previous);  // destroys this procedure's stored copy
    return static_cast<intptr_t>(owned.size());  // still safe to use
  });
  QCoreApplication::postEvent(&form, new WindowMessageEvent(0x3C0, 7, -2));
  EXPECT_TRUE(seen.empty()) << "messages arrive only through the event loop";
  QCoreApplication::processEvents();
  EXPECT_EQ(seen,
            (std::vector{std::make_tuple(0x3C0u, uintptr_t{7}, intptr_t{-2})}));
  EXPECT_EQ(form.CallProcedure(1, 0, 0), 0) << "the default is back";
}

}  // namespace
}  // namespace vocapost
