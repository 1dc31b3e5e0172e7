// After a drag end, the recipient notice at the start of a compose window's
// body, on a real X server: through AT-SPI, and by XTest keys.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include "platform/desktop/atspi_desktop.h"
#include "platform/desktop/x11_desktop_windows.h"
#include "player/viewer.h"
#include "send/mail_text_insertion.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

// The whole program on a virtual X display beside a compose window that
// passes for Thunderbird's; a drag end presses the Viewer's Command12.
class X11InsertionTest : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run by with_xvfb.sh";
    x11_ = X11DesktopWindows::Connect();
    ASSERT_TRUE(x11_);
    QGuiApplication::clipboard()->setText("before");
  }
  void TearDown() override {
    if (compose_.state() != QProcess::NotRunning) {
      compose_.terminate();
      compose_.waitForFinished(3000);
    }
  }

  void StartProgram(AccessibleDesktop* accessibility) {
    Services services{settings_, clock_,      display_,    presenter_,
                      registry_, ender_,      wave_,       registry_store_,
                      camera_,   free_space_, wall_clock_, &log_,
                      &starter_};
    services.desktop = x11_.get();
    services.accessibility = accessibility;
    app_ = std::make_unique<Application>(services);
    ASSERT_EQ(Start(), StartResult::kRunning);
  }

  void OpenComposeWindow() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    env.insert("QT_QPA_PLATFORM", "xcb");
    compose_.setProcessEnvironment(env);
    compose_.start(VOCAPOST_COMPOSE_WINDOW, {BodyFile()});
    ASSERT_TRUE(compose_.waitForStarted(5000));
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
      for (WindowHandle window : x11_->TopLevelWindows()) {
        if (x11_->Role(window) == "Msgcompose") {
          QTest::qWait(500);  // mapped and painted, its focus in To
          return;
        }
      }
      QTest::qWait(50);
    }
    FAIL() << "no compose window";
  }

  QString BodyFile() const {
    return QString::fromStdString((temp_.root() / "body.txt").string());
  }
  // The body once it holds the notice (line ends as the editor keeps them).
  QString BodyAfterDrag() {
    app_->viewer()->Command12()->Press();
    QElapsedTimer waited;
    waited.start();
    QString body;
    while (waited.elapsed() < 10000 && !body.startsWith(Notice())) {
      QTest::qWait(50);
      body = QString::fromUtf8(temp_.ReadFile(temp_.root() / "body.txt"))
                 .replace("\r\n", "\n");
    }
    return body;
  }
  QString Notice() const {
    return NoticeLineFeedForm(app_->state().extra_texts).replace("\r\n", "\n");
  }

  std::unique_ptr<X11DesktopWindows> x11_;
  QProcess compose_;
};

TEST_F(X11InsertionTest, ThroughAccessibilityTheBodyStartsWithTheNotice) {
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  ASSERT_TRUE(bus);
  ASSERT_TRUE(QTest::qWaitFor(
      [bus] { return bus->isServiceRegistered("org.a11y.Bus").value(); }, 5000))
      << "no accessibility bus (at-spi2-core)";
  AtspiDesktop accessibility;
  StartProgram(&accessibility);
  OpenComposeWindow();
  QElapsedTimer search;
  search.start();
  EXPECT_EQ(BodyAfterDrag(), Notice() + "Existing text");
  RecordProperty("search_ms", static_cast<int>(search.elapsed()));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");  // not pasted
}

TEST_F(X11InsertionTest, ThroughXTestKeysTheBodyStartsWithTheNotice) {
  StartProgram(nullptr);
  OpenComposeWindow();
  EXPECT_EQ(BodyAfterDrag(), Notice() + "Existing text");
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            NoticeLineFeedForm(app_->state().extra_texts));
}

}  // namespace
}  // namespace vocapost
