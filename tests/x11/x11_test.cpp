// On a real X server, beside a window that passes for Thunderbird's compose
// window: a message dragged from the message list into it by the mouse, as a
// user drags a message into a mail, and the recipient notice that the drag
// end puts at the start of its body, through AT-SPI or else by XTest keys.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "platform/desktop/atspi_desktop.h"
#include "platform/desktop/x11_desktop_windows.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "send/mail_text_insertion.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

// The whole program on a virtual X display.
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
  // Starts the program on the X display with `accessibility` (none: keys
  // only), and a fresh compose window at the bottom right of the screen,
  // waiting for its first body, written once it is on the screen.
  void Restart(AccessibleDesktop* accessibility) {
    app_.reset();
    Services services = AppServices(wave_);
    services.desktop = x11_.get();
    services.accessibility = accessibility;
    app_ = std::make_unique<Application>(services);
    EXPECT_EQ(Start(), StartResult::kRunning);
    TearDown();
    QFile::remove(Path("body.txt"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    compose_.setProcessEnvironment(env);
    QStringList arguments{Path("body.txt"), Path("dropped")};
    for (int n : {mail_.x(), mail_.y(), mail_.width(), mail_.height()})
      arguments << QString::number(n);
    compose_.start(VOCAPOST_COMPOSE_WINDOW, arguments);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return QFile::exists(Path("body.txt")); }, 10000))
        << "no compose window";
  }
  QString Path(const char* name) const {
    return QString::fromStdString((temp_.root() / name).string());
  }
  // The compose window's body once it starts with the notice (line ends as
  // the editor keeps them).
  QString Body() const {
    const auto body = [this] {
      return QString::fromUtf8(temp_.ReadFile(temp_.root() / "body.txt"))
          .replace("\r\n", "\n");
    };
    (void)QTest::qWaitFor([&] { return body().startsWith(Notice()); }, 15000);
    return body();
  }
  QString Notice() const {
    return NoticeLineFeedForm(app_->state().extra_texts).replace("\r\n", "\n");
  }

  std::unique_ptr<X11DesktopWindows> x11_ = X11DesktopWindows::Connect();
  const QRect screen_ = QGuiApplication::primaryScreen()->geometry();
  const QRect mail_{screen_.right() - 360, screen_.bottom() - 360, 340, 340};
  QProcess compose_;
};

TEST_F(X11Test, ADraggedMessageGivesTheMailItsFileAndTheNotice) {
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  ASSERT_TRUE(bus);
  ASSERT_TRUE(QTest::qWaitFor(
      [bus] { return bus->isServiceRegistered("org.a11y.Bus").value(); }, 5000))
      << "no accessibility bus (at-spi2-core)";
  temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
  Restart(nullptr);
  MKERForm1& recorder = *app_->recorder();
  recorder.move(0, 0);
  recorder.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&recorder));
  FileList& list = *recorder.File2();
  ASSERT_EQ(list.ListCount(), 1);
  const QPoint from =
      list.viewport()->mapToGlobal(list.visualItemRect(list.item(0)).center());
  const QPoint body(mail_.center().x(), mail_.bottom() - 60);
  QString steps;
  for (const QPoint& at :
       {from, from + QPoint(20, 20), body, body + QPoint(5, 5)}) {
    steps += QString("mousemove %1 %2 sleep 0.3 ").arg(at.x()).arg(at.y());
    if (at == from) steps += "mousedown 1 sleep 0.2 ";
  }
  QProcess mouse;
  mouse.start("xdotool", (steps + "mouseup 1").split(' '));

  // The body takes the dropped path as its text; the drag end pastes the
  // notice before it, once.
  const QString path = QString::fromStdString(
      std::filesystem::canonical(temp_.home() / "05143012.vrc").string());
  EXPECT_EQ(Body(), Notice() + "Existing text" + path);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            NoticeLineFeedForm(app_->state().extra_texts));
  mouse.waitForFinished(5000);
  // Each format, a tab and its data, a line each (a URI list ends in CR LF).
  const QStringList received =
      QString::fromUtf8(temp_.ReadFile(temp_.root() / "dropped"))
          .replace("\r\n", "\n")
          .split('\n');
  for (const QString& line :
       {"text/uri-list\t" + QUrl::fromLocalFile(path).toString(),
        "text/plain\t" + path,
        "action\t" + QString::number(int(Qt::CopyAction))}) {
    EXPECT_TRUE(received.contains(line))
        << line.toStdString() << " not in " << received.join('|').toStdString();
  }

  // Through the accessibility tree the clipboard is left alone.
  QGuiApplication::clipboard()->setText("before");
  AtspiDesktop accessibility;
  Restart(&accessibility);
  app_->viewer()->Command12()->Press();
  EXPECT_EQ(Body(), Notice() + "Existing text");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

}  // namespace
}  // namespace vocapost
