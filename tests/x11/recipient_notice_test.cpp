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
  void TearDown() override {
    compose_.terminate();
    compose_.waitForFinished(3000);
  }
  // The compose window's body once the notice is in (line ends as the
  // editor keeps them), put there through `accessibility` or else by keys.
  QString BodyAfterDrag(AccessibleDesktop* accessibility) {
    TearDown();
    app_.reset();
    Services services{settings_, clock_,      display_,    presenter_,
                      registry_, ender_,      wave_,       registry_store_,
                      camera_,   free_space_, wall_clock_, &log_,
                      &starter_};
    services.desktop = x11_.get();
    services.accessibility = accessibility;
    app_ = std::make_unique<Application>(services);
    EXPECT_EQ(Start(), StartResult::kRunning);
    const auto body_file = temp_.root() / "body.txt";
    std::filesystem::remove(body_file);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    compose_.setProcessEnvironment(env);
    compose_.start(VOCAPOST_COMPOSE_WINDOW,
                   {QString::fromStdString(body_file.string())});
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
          const auto windows = x11_->TopLevelWindows();
          return std::any_of(windows.begin(), windows.end(), [this](auto w) {
            return x11_->Role(w) == "Msgcompose";
          });
        },
        10000))
        << "no compose window";
    QTest::qWait(500);  // mapped and painted, its focus in To
    app_->viewer()->Command12()->Press();
    QString body;
    (void)QTest::qWaitFor(
        [&] {
          body = QString::fromUtf8(temp_.ReadFile(body_file))
                     .replace("\r\n", "\n");
          return body.startsWith(Notice());
        },
        10000);
    return body;
  }
  QString Notice() const {
    return NoticeLineFeedForm(app_->state().extra_texts).replace("\r\n", "\n");
  }

  std::unique_ptr<X11DesktopWindows> x11_ = X11DesktopWindows::Connect();
  QProcess compose_;
};

TEST_F(X11InsertionTest, TheBodyStartsWithTheNoticeByAccessibilityOrByKeys) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run by with_xvfb.sh";
  ASSERT_TRUE(x11_);
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  ASSERT_TRUE(bus);
  ASSERT_TRUE(QTest::qWaitFor(
      [bus] { return bus->isServiceRegistered("org.a11y.Bus").value(); }, 5000))
      << "no accessibility bus (at-spi2-core)";
  QGuiApplication::clipboard()->setText("before");
  AtspiDesktop accessibility;
  const QString by_accessibility = BodyAfterDrag(&accessibility);
  EXPECT_EQ(by_accessibility, Notice() + "Existing text");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");  // not pasted
  const QString by_keys = BodyAfterDrag(nullptr);
  EXPECT_EQ(by_keys, Notice() + "Existing text");
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            NoticeLineFeedForm(app_->state().extra_texts));
}

}  // namespace
}  // namespace vocapost
