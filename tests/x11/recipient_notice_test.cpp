// After a drag end, the recipient notice at the start of a compose window's
// body, on a real X server: through AT-SPI, and by XTest keys.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <algorithm>

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
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
          const auto windows = x11_->TopLevelWindows();
          return std::any_of(windows.begin(), windows.end(), [this](auto w) {
            return x11_->Role(w) == "Msgcompose";
          });
        },
        10000))
        << "no compose window";
    QTest::qWait(500);  // mapped and painted, its focus in To
  }

  QString BodyFile() const {
    return QString::fromStdString((temp_.root() / "body.txt").string());
  }
  // The body once it holds the notice (line ends as the editor keeps them).
  QString BodyAfterDrag() {
    app_->viewer()->Command12()->Press();
    QString body;
    (void)QTest::qWaitFor(
        [&] {
          body = QString::fromUtf8(temp_.ReadFile(temp_.root() / "body.txt"))
                     .replace("\r\n", "\n");
          return body.startsWith(Notice());
        },
        10000);
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
  EXPECT_EQ(BodyAfterDrag(), Notice() + "Existing text");
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
