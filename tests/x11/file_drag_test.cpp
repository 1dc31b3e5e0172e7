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

using FileDragTest = testing::AppTest;

TEST_F(FileDragTest, DraggingAMessageOntoAnotherProgramHandsItTheFile) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run by with_xvfb.sh";
  temp_.WriteFile("05143012.vrc", QByteArray(2000, 'm'));
  ASSERT_EQ(Start(), StartResult::kRunning);
  MKERForm1& recorder = *app_->recorder();
  int presses = 0;
  app_->viewer()->Command12()->SetHandler([&] { ++presses; });
  recorder.move(0, 0);
  recorder.show();
  const QString record =
      QString::fromStdString((temp_.root() / "dropped").string());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect drop(screen.right() - 260, screen.bottom() - 260, 240, 240);
  QProcess target;
  target.start(VOCAPOST_DROP_TARGET,
               {record, QString::number(drop.x()), QString::number(drop.y()),
                QString::number(drop.width()), QString::number(drop.height())});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QFile::exists(record + ".ready"); }, 10000));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&recorder));

  FileList& list = *recorder.File2();
  ASSERT_EQ(list.ListCount(), 1);
  const QPoint from =
      list.viewport()->mapToGlobal(list.visualItemRect(list.item(0)).center());
  QStringList steps;
  for (const QPoint& at : {from, from + QPoint(20, 20), drop.center(),
                           drop.center() + QPoint(5, 5)}) {
    steps << "mousemove" << QString::number(at.x()) << QString::number(at.y())
          << "sleep" << "0.3";
    if (at == from) steps << "mousedown" << "1" << "sleep" << "0.2";
  }
  steps << "mouseup" << "1";
  QProcess mouse;
  mouse.start("xdotool", steps);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return QFile::exists(record) && presses > 0; }, 15000));
  mouse.waitForFinished(5000);
  target.waitForFinished(5000);

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

}  // namespace
}  // namespace vocapost
