// A real drag on a real X server: from the message list onto another
// program's window, by the mouse, as a user drags a message into a mail.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

class FileDragTest : public testing::AppTest {
 protected:
  QString Record() const {
    return QString::fromStdString((temp_.root() / "dropped").string());
  }
  // What the drop target received: format → data.
  QMap<QString, QString> Received() const {
    QMap<QString, QString> received;
    QFile file(Record());
    if (!file.open(QIODevice::ReadOnly)) return received;
    for (const QByteArray& line : file.readAll().split('\n')) {
      const qsizetype tab = line.indexOf('\t');
      if (tab > 0)
        received[QString::fromUtf8(line.left(tab))] =
            QString::fromUtf8(line.mid(tab + 1)).trimmed();
    }
    return received;
  }
};

TEST_F(FileDragTest, DraggingAMessageOntoAnotherProgramHandsItTheFile) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run by with_xvfb.sh";
  temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
  ASSERT_EQ(Start(), StartResult::kRunning);
  MKERForm1& recorder = *app_->recorder();
  int presses = 0;
  app_->viewer()->Command12()->SetHandler([&] { ++presses; });
  recorder.move(0, 0);
  recorder.show();
  QProcess target;
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect drop(screen.right() - 260, screen.bottom() - 260, 240, 240);
  target.start(VOCAPOST_DROP_TARGET,
               {Record(), QString::number(drop.x()), QString::number(drop.y()),
                QString::number(drop.width()), QString::number(drop.height())});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QFile::exists(Record() + ".ready"); }, 10000));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&recorder));

  FileList& list = *recorder.File2();
  ASSERT_EQ(list.ListCount(), 1);
  const QPoint from =
      list.viewport()->mapToGlobal(list.visualItemRect(list.item(0)).center());
  const QPoint to = drop.center();
  auto at = [](const QPoint& p) {
    return QStringList{"mousemove", QString::number(p.x()),
                       QString::number(p.y()), "sleep", "0.3"};
  };
  QStringList steps = at(from) + QStringList{"mousedown", "1", "sleep", "0.2"};
  steps += at(from + QPoint(20, 20)) + at(to) + at(to + QPoint(5, 5));
  steps += {"mouseup", "1"};
  QProcess mouse;
  mouse.start("xdotool", steps);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return QFile::exists(Record()) && presses > 0; }, 15000));
  mouse.waitForFinished(5000);

  const QString path = QString::fromStdString(
      std::filesystem::canonical(temp_.home() / "05143012.vrc").string());
  const auto received = Received();
  EXPECT_EQ(received.value("text/uri-list"), QUrl::fromLocalFile(path).toString());
  EXPECT_EQ(received.value("text/plain"), path);
  EXPECT_EQ(received.value("action"), QString::number(int(Qt::CopyAction)));
  EXPECT_EQ(presses, 1) << "the end of the drag presses the Viewer's button";
  target.waitForFinished(5000);
}

}  // namespace
}  // namespace vocapost
