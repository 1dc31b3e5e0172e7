// The ways a mail reaches the user's mail program on a Linux desktop: the
// default mailto handler, the Email portal, and xdg-email with the file
// shown in the file manager.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

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

// A session bus of the test's own, that starts no services by itself, and a
// second connection to it that offers the fake desktop services.
class PrivateBus {
 public:
  explicit PrivateBus(const std::filesystem::path& folder) {
    const QString config =
        QString::fromStdString((folder / "bus.conf").string());
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(
        "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
        "<auth>EXTERNAL</auth><policy context=\"default\">"
        "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
        "</busconfig>\n");
    file.close();
    daemon_.start("dbus-daemon",
                  {"--config-file=" + config, "--nofork", "--print-address"});
    if (!daemon_.waitForStarted(3000)) return;
    if (!QTest::qWaitFor([this] { return daemon_.canReadLine(); }, 5000)) {
      return;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
  }
  ~PrivateBus() {
    QDBusConnection::disconnectFromBus("vocapost-test-client");
    QDBusConnection::disconnectFromBus("vocapost-test-desktop");
    daemon_.kill();
    daemon_.waitForFinished(3000);
  }
  bool up() const { return !address_.isEmpty(); }
  QDBusConnection Client() {
    return QDBusConnection::connectToBus(address_, "vocapost-test-client");
  }
  bool Offer(const char* service, const char* path, QObject* object) {
    QDBusConnection desktop =
        QDBusConnection::connectToBus(address_, "vocapost-test-desktop");
    return desktop.registerObject(path, object,
                                  QDBusConnection::ExportAllSlots) &&
           desktop.registerService(service);
  }

 private:
  QProcess daemon_;
  QString address_;
};

// What a mail program's command line carried: the attached file and the
// body.
struct Received {
  QString attachment;
  QString body;
};

QString Field(const QString& compose, const QString& name) {
  const qsizetype start = compose.indexOf(name + "='") + name.size() + 2;
  return compose.mid(start, compose.indexOf('\'', start) - start);
}

QString ReadFile(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                        : QString();
}

// A mailto URL's field, decoded.
QString MailtoField(const QString& url, const QString& name) {
  for (const QString& pair : url.section('?', 1).split('&')) {
    if (pair.section('=', 0, 0) == name) {
      return QUrl::fromPercentEncoding(pair.section('=', 1).toUtf8());
    }
  }
  return {};
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
  // The desktop's default mailto handler: a desktop file with this Exec.
  void MakeDefaultHandler(const std::string& desktop_id, const QString& exec) {
    temp_.WriteFile(temp_.config() / "mimeapps.list",
                    "[Default Applications]\nx-scheme-handler/mailto=" +
                        QByteArray::fromStdString(desktop_id) + "\n");
    temp_.WriteFile(temp_.root() / "share" / "applications" / desktop_id,
                    "[Desktop Entry]\nType=Application\nName=Mail\n"
                    "Icon=mail-client\nExec=" +
                        exec.toUtf8() + "\n");
  }
  QString Program(const std::string& name) {
    WriteRecordingProgram(Bin() / name, Record(name));
    return QString::fromStdString((Bin() / name).string());
  }
};

TEST_F(MailRoutesTest, TheDefaultHandlerGetsFileAndNoticeInItsOwnSyntax) {
  if (QStandardPaths::findExecutable("xdg-mime").isEmpty()) {
    GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
  }
  struct Case {
    std::string desktop_id;
    std::string program;
    QString exec_tail;
    QStringList leading;  // what the Exec line itself passes
    std::function<Received(const QStringList&)> read;
  };
  const QString file = HomeFile("05143012.vrc");
  const Case cases[] = {
      {"thunderbird.desktop",
       "thunderbird",
       " -P default %u",
       {"-P", "default"},
       [](const QStringList& a) {
         if (a.size() != 2 || a[0] != "-compose") return Received{};
         return Received{QUrl(Field(a[1], "attachment")).toLocalFile(),
                         ReadFile(Field(a[1], "message"))};
       }},
      {"org.kde.kmail2.desktop",
       "kmail",
       " -qwindowtitle %c %u",
       {"-qwindowtitle", "Mail"},
       [](const QStringList& a) {
         if (a.size() != 5 || a[0] != "--composer" || a[1] != "--attach" ||
             a[3] != "--body") {
           return Received{};
         }
         return Received{QUrl(a[2]).toLocalFile(), a[4]};
       }},
      {"org.gnome.Evolution.desktop",
       "evolution",
       " %U",
       {},
       [](const QStringList& a) {
         if (a.size() != 1 || !a[0].startsWith("mailto:?")) return Received{};
         return Received{MailtoField(a[0], "attach"),
                         MailtoField(a[0], "body")};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.desktop_id);
    MakeDefaultHandler(c.desktop_id, Program(c.program) + c.exec_tail);
    Send("05143012.vrc");
    EXPECT_EQ(Shown(), "");
    const auto arguments = RecordedArguments(Record(c.program));
    ASSERT_TRUE(arguments);
    ASSERT_GE(arguments->size(), c.leading.size());
    EXPECT_EQ(arguments->mid(0, c.leading.size()), c.leading);
    const Received got = c.read(arguments->mid(c.leading.size()));
    EXPECT_EQ(got.attachment, file) << arguments->join(" | ").toStdString();
    EXPECT_EQ(got.body, ExpectedBody());
  }
}

TEST_F(MailRoutesTest, ThePortalGetsTheFileAsAnOpenDescriptor) {
  if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
    GTEST_SKIP() << "dbus-daemon is not installed";
  }
  PrivateBus bus(temp_.root());
  ASSERT_TRUE(bus.up());
  FakeEmailPortal portal;
  ASSERT_TRUE(bus.Offer("org.freedesktop.portal.Desktop",
                        "/org/freedesktop/portal/desktop", &portal));
  Send("05143012.vrc", bus.Client());
  EXPECT_EQ(portal.attached, QStringList{HomeFile("05143012.vrc")});
  EXPECT_EQ(portal.body, ExpectedBody());
  EXPECT_EQ(Shown(), "");
}

TEST_F(MailRoutesTest, XdgEmailTakesTheBodyAndTheFileIsShownToAttach) {
  if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
    GTEST_SKIP() << "dbus-daemon is not installed";
  }
  Program("xdg-email");
  Program("xdg-open");
  env_.Set("PATH",
           QByteArray::fromStdString(Bin().string()) + ":" + qgetenv("PATH"));
  for (const bool file_manager : {true, false}) {
    SCOPED_TRACE(file_manager ? "file manager on the bus" : "none");
    PrivateBus bus(temp_.root());
    ASSERT_TRUE(bus.up());
    FakeFileManager manager;
    if (file_manager) {
      ASSERT_TRUE(bus.Offer("org.freedesktop.FileManager1",
                            "/org/freedesktop/FileManager1", &manager));
    }
    Send("05143012.vrc", bus.Client());
    const auto email = RecordedArguments(Record("xdg-email"));
    ASSERT_TRUE(email);
    EXPECT_EQ(*email, QStringList({"--utf8", "--body", ExpectedBody()}));
    if (file_manager) {
      EXPECT_EQ(manager.shown,
                QStringList{
                    QUrl::fromLocalFile(HomeFile("05143012.vrc")).toString()});
    } else {
      const auto opened = RecordedArguments(Record("xdg-open"));
      ASSERT_TRUE(opened);
      EXPECT_EQ(*opened,
                QStringList{QString::fromStdString(temp_.home().string())});
    }
    EXPECT_TRUE(Shown().contains(HomeFile("05143012.vrc")))
        << Shown().toStdString();
    EXPECT_TRUE(Shown().contains("drag")) << Shown().toStdString();
    messages_.UnloadErrorForm();
    std::filesystem::remove(Record("xdg-email"));
  }
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
