// On a real X server, beside a window that passes for Thunderbird's compose
// window: a message dragged from the message list into it by the mouse, as a
// user drags a message into a mail, and the recipient notice at the start of
// its body after a drag end, through AT-SPI and by XTest keys.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <algorithm>

#include "platform/desktop/atspi_desktop.h"
#include "platform/desktop/x11_desktop_windows.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "send/mail_text_insertion.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

// The whole program on a virtual X display; a drag end presses the Viewer's
// Command12.
class X11Test : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run by with_xvfb.sh";
    ASSERT_TRUE(x11_);
  }
  void TearDown() override {
    compose_.terminate();
    compose_.waitForFinished(3000);
  }
  // Starts the compose window and waits until it is mapped and painted, its
  // focus in To.
  void StartCompose(const QStringList& arguments) {
    TearDown();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    compose_.setProcessEnvironment(env);
    compose_.start(VOCAPOST_COMPOSE_WINDOW, arguments);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
          const auto windows = x11_->TopLevelWindows();
          return std::any_of(windows.begin(), windows.end(), [this](auto w) {
            return x11_->Role(w) == "Msgcompose";
          });
        },
        10000))
        << "no compose window";
    QTest::qWait(500);
  }
  QString Path(const char* name) const {
    return QString::fromStdString((temp_.root() / name).string());
  }
  // The compose window's body once the notice is in (line ends as the
  // editor keeps them), put there through `accessibility` or else by keys.
  QString BodyAfterDrag(AccessibleDesktop* accessibility) {
    app_.reset();
    Services services{settings_, clock_,      display_,    presenter_,
                      registry_, ender_,      wave_,       registry_store_,
                      camera_,   free_space_, wall_clock_, &log_,
                      &starter_};
    services.desktop = x11_.get();
    services.accessibility = accessibility;
    app_ = std::make_unique<Application>(services);
    EXPECT_EQ(Start(), StartResult::kRunning);
    QFile::remove(Path("body.txt"));
    StartCompose({Path("body.txt")});
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

  std::unique_ptr<X11DesktopWindows> x11_ = X11DesktopWindows::Connect();
  QProcess compose_;
};

TEST_F(X11Test, DraggingAMessageIntoAMailHandsItTheFile) {
  temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
  ASSERT_EQ(Start(), StartResult::kRunning);
  MKERForm1& recorder = *app_->recorder();
  int presses = 0;
  app_->viewer()->Command12()->SetHandler([&] { ++presses; });
  recorder.move(0, 0);
  recorder.show();
  const QString record = Path("dropped");
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect mail(screen.right() - 360, screen.bottom() - 360, 340, 340);
  StartCompose({Path("body.txt"), record, QString::number(mail.x()),
                QString::number(mail.y()), QString::number(mail.width()),
                QString::number(mail.height())});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&recorder));

  FileList& list = *recorder.File2();
  ASSERT_EQ(list.ListCount(), 1);
  const QPoint from =
      list.viewport()->mapToGlobal(list.visualItemRect(list.item(0)).center());
  const QPoint body(mail.center().x(), mail.bottom() - 60);
  QStringList steps;
  for (const QPoint& at :
       {from, from + QPoint(20, 20), body, body + QPoint(5, 5)}) {
    steps << "mousemove" << QString::number(at.x()) << QString::number(at.y())
          << "sleep"
          << "0.3";
    if (at == from)
      steps << "mousedown"
            << "1"
            << "sleep"
            << "0.2";
  }
  steps << "mouseup"
        << "1";
  QProcess mouse;
  mouse.start("xdotool", steps);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return QFile::exists(record) && presses > 0; }, 15000));
  mouse.waitForFinished(5000);

  const QString path = QString::fromStdString(
      std::filesystem::canonical(temp_.home() / "05143012.vrc").string());
  QFile dropped(record);
  ASSERT_TRUE(dropped.open(QIODevice::ReadOnly));
  // Each format, a tab and its data, a line each (a URI list ends in CR LF).
  const QStringList received =
      QString::fromUtf8(dropped.readAll()).replace("\r\n", "\n").split('\n');
  for (const QString& line :
       {"text/uri-list\t" + QUrl::fromLocalFile(path).toString(),
        "text/plain\t" + path,
        "action\t" + QString::number(int(Qt::CopyAction))}) {
    EXPECT_TRUE(received.contains(line))
        << line.toStdString() << " not in " << received.join('|').toStdString();
  }
  EXPECT_EQ(presses, 1) << "the end of the drag presses the Viewer's button";
}

TEST_F(X11Test, TheBodyStartsWithTheNoticeByAccessibilityOrByKeys) {
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
