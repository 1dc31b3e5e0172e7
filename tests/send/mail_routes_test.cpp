// The ways a mail reaches the user's mail program on a Linux desktop: the
// default mailto handler, the Email portal, and xdg-email with the file
// shown in the file manager.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include "send/send_fixture.h"

namespace vocapost {
namespace {

using testing::RecordedArguments;
using testing::WriteRecordingProgram;

class FakeEmailPortal final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Email")

 public slots:
  QDBusObjectPath ComposeEmail(const QString&, const QVariantMap& options) {
    body = options.value("body").toString();
    QList<QDBusUnixFileDescriptor> fds;
    options.value("attachment_fds").value<QDBusArgument>() >> fds;
    for (const QDBusUnixFileDescriptor& fd : fds) {
      attached << QFileInfo(
                      QString("/proc/self/fd/%1").arg(fd.fileDescriptor()))
                      .symLinkTarget();
    }
    return QDBusObjectPath("/org/freedesktop/portal/desktop/request/1_1/t");
  }

 public:
  QString body;
  QStringList attached;
};

class FakeFileManager final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

 public slots:
  void ShowItems(const QStringList& uris, const QString&) { shown << uris; }

 public:
  QStringList shown;
};

// What a mail program's command line carried: the attached file and the
// body.
using Received = std::pair<QString, QString>;

QString Field(const QString& compose, const QString& name) {
  const qsizetype start = compose.indexOf(name + "='") + name.size() + 2;
  return compose.mid(start, compose.indexOf('\'', start) - start);
}

class MailRoutesTest : public testing::SendTest {
 protected:
  MailRoutesTest() {
    texts_[1] = "Der Anhang, den Sie erhielten, ist eine „Vocapost“-Nachricht.";
    texts_[2] = "Run \"voca-MSG*.exe\", it's 'self' extracting & 100% safe?";
    texts_[3] = "日本語のメッセージ (*.vrc) は保存され、再生されます。";
    texts_[4] = "Ünïcödé; semi;colons = equals, \\back\\slashes $HOME `x`";
    texts_[5] =
        "Get full Vocapost recorder package:  "
        "https://vocapost.org/?a=1&b=2#top";
    temp_.WriteFile("05143012.vrc", "message");
  }
  QString Program(const std::string& name) {
    WriteRecordingProgram(Bin() / name, Record(name));
    return QString::fromStdString((Bin() / name).string());
  }
  const QString file_ = HomeFile("05143012.vrc");
};

TEST_F(MailRoutesTest, TheDefaultHandlerGetsFileAndNoticeInItsOwnSyntax) {
  if (QStandardPaths::findExecutable("xdg-mime").isEmpty()) {
    GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
  }
  using Read = std::function<Received(const QStringList&)>;
  const std::tuple<std::string, std::string, QString, Read> cases[] = {
      {"thunderbird.desktop", "thunderbird", " -P default %u",
       [](const QStringList& a) {
         if (a.mid(0, 3) != QStringList{"-P", "default", "-compose"})
           return Received{};
         QFile body(Field(a.value(3), "message"));
         body.open(QIODevice::ReadOnly);
         return Received{QUrl(Field(a.value(3), "attachment")).toLocalFile(),
                         QString::fromUtf8(body.readAll())};
       }},
      {"org.kde.kmail2.desktop", "kmail", " -qwindowtitle %c %u",
       [](const QStringList& a) {
         if (a.size() != 7 ||
             a.mid(0, 4) != QStringList{"-qwindowtitle", "Mail", "--composer",
                                        "--attach"} ||
             a[5] != "--body") {
           return Received{};
         }
         return Received{QUrl(a[4]).toLocalFile(), a[6]};
       }},
      {"org.gnome.Evolution.desktop", "evolution", " %U",
       [](const QStringList& a) {
         if (a.size() != 1 || !a[0].startsWith("mailto:?")) return Received{};
         const QUrlQuery query{QUrl(a[0])};
         return Received{query.queryItemValue("attach", QUrl::FullyDecoded),
                         query.queryItemValue("body", QUrl::FullyDecoded)};
       }},
  };
  for (const auto& [desktop_id, program, exec_tail, read] : cases) {
    SCOPED_TRACE(desktop_id);
    temp_.WriteFile(temp_.config() / "mimeapps.list",
                    "[Default Applications]\nx-scheme-handler/mailto=" +
                        QByteArray::fromStdString(desktop_id) + "\n");
    temp_.WriteFile(temp_.root() / "share" / "applications" / desktop_id,
                    "[Desktop Entry]\nType=Application\nName=Mail\nExec=" +
                        (Program(program) + exec_tail).toUtf8() + "\n");
    Send("05143012.vrc");
    EXPECT_EQ(Shown(), "");
    const auto arguments = RecordedArguments(Record(program));
    ASSERT_TRUE(arguments);
    EXPECT_EQ(read(*arguments), (Received{file_, ExpectedBody()}))
        << arguments->join(" | ").toStdString();
  }
}

// On a session bus of the test's own, that starts no services by itself:
// xdg-email with the file shown, and the portal once there is one.
TEST_F(MailRoutesTest, OnTheBusThePortalElseXdgEmailWithTheFileShown) {
  if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
    GTEST_SKIP() << "dbus-daemon is not installed";
  }
  temp_.WriteFile(temp_.root() / "bus.conf",
                  "<busconfig><type>session</type>"
                  "<listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
                  "<policy context=\"default\">"
                  "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                  "</busconfig>\n");
  QProcess daemon;
  daemon.start("dbus-daemon", {"--nofork", "--print-address",
                               "--config-file=" + QString::fromStdString(
                                   (temp_.root() / "bus.conf").string())});
  ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.canReadLine(); }, 5000));
  const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  struct Stop {
    QProcess& daemon;
    ~Stop() {
      QDBusConnection::disconnectFromBus("vocapost-test-client");
      QDBusConnection::disconnectFromBus("vocapost-test-desktop");
      daemon.kill();
      daemon.waitForFinished(3000);
    }
  } stop{daemon};
  QDBusConnection desktop =
      QDBusConnection::connectToBus(address, "vocapost-test-desktop");
  auto offer = [&](const char* service, const char* path, QObject* object) {
    return desktop.registerObject(path, object,
                                  QDBusConnection::ExportAllSlots) &&
           desktop.registerService(service);
  };
  const QDBusConnection client =
      QDBusConnection::connectToBus(address, "vocapost-test-client");
  Program("xdg-email");
  Program("xdg-open");
  env_.Set("PATH",
           QByteArray::fromStdString(Bin().string()) + ":" + qgetenv("PATH"));

  FakeFileManager manager;
  for (const bool file_manager : {false, true}) {
    SCOPED_TRACE(file_manager ? "file manager on the bus" : "none");
    if (file_manager) {
      ASSERT_TRUE(offer("org.freedesktop.FileManager1",
                        "/org/freedesktop/FileManager1", &manager));
    }
    Send("05143012.vrc", client);
    EXPECT_EQ(RecordedArguments(Record("xdg-email")),
              QStringList({"--utf8", "--body", ExpectedBody()}));
    std::filesystem::remove(Record("xdg-email"));
    if (file_manager) {
      EXPECT_EQ(manager.shown,
                QStringList{QUrl::fromLocalFile(file_).toString()});
    } else {
      EXPECT_EQ(RecordedArguments(Record("xdg-open")),
                QStringList{QString::fromStdString(temp_.home().string())});
    }
    EXPECT_TRUE(Shown().contains(file_)) << Shown().toStdString();
    EXPECT_TRUE(Shown().contains("drag")) << Shown().toStdString();
    messages_.UnloadErrorForm();
  }

  // The portal gets the file as an open descriptor.
  FakeEmailPortal portal;
  ASSERT_TRUE(offer("org.freedesktop.portal.Desktop",
                    "/org/freedesktop/portal/desktop", &portal));
  Send("05143012.vrc", client);
  EXPECT_EQ(portal.attached, QStringList{file_});
  EXPECT_EQ(portal.body, ExpectedBody());
  EXPECT_EQ(Shown(), "");
  EXPECT_FALSE(RecordedArguments(Record("xdg-email"), 200));
}

TEST_F(MailRoutesTest, WithNoMailProgramAtAllTheFailureIsShown) {
  std::filesystem::create_directories(Bin());
  env_.Set("PATH", Bin());
  Send("05143012.vrc");
  EXPECT_EQ(Shown(),
            "This feature is available if you have Outlook installed.");
}

}  // namespace
}  // namespace vocapost

#include "mail_routes_test.moc"
