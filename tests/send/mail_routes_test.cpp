// Sending a file: the progress note, the ways a mail reaches the user's
// mail program on a Linux desktop (the composer, the default mailto handler,
// the Email portal, xdg-email with the folder opened) and the failures.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include "app/extra_texts.h"
#include "messages/form_messages.h"
#include "platform/mail/desktop_mail_automation.h"
#include "send/email_dispatch.h"
#include "support/recording_program.h"
#include "support/temp_home.h"

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
    for (const QDBusUnixFileDescriptor& fd : fds)
      attached << QFile::symLinkTarget(
          QString("/proc/self/fd/%1").arg(fd.fileDescriptor()));
    return QDBusObjectPath("/org/freedesktop/portal/desktop/request/1_1/t");
  }

 public:
  QString body;
  QStringList attached;
};

// What a mail program's command line carried: the attached file and the
// body.
using Received = std::pair<QString, QString>;

QString Field(const QString& compose, const QString& name) {
  const qsizetype start = compose.indexOf(name + "='") + name.size() + 2;
  return compose.mid(start, compose.indexOf('\'', start) - start);
}

// Sending from a fresh program home with the real message window, on a
// desktop of the test's own making: no mail program, no desktop session and
// no session bus unless the test sets them up.
class MailRoutesTest : public testing::HomeTest {
 protected:
  MailRoutesTest() {
    FillStartupExtraTexts(texts_);
    // Characters that quoting, URLs and field lists could each break on.
    texts_[2] =
        "Run \"voca-MSG*.exe\", it's 'self' & 100% safe? 日本語;=\\$HOME";
    texts_[5] = "Get the package:  https://vocapost.org/?a=1&b=2#top `x`";
    for (const char* name :
         {"VOCAPOST_MAIL_COMPOSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
          "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
      env_.Unset(name);
    env_.Set("XDG_DATA_DIRS", temp_.root() / "share");
    env_.Set("XDG_CONFIG_DIRS", temp_.root() / "xdg");
    temp_.WriteFile("05143012.vrc", "message");
  }
  ~MailRoutesTest() override {
    messages_.UnloadErrorForm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Sends on `bus` (none: a bus that is not there), noting the message
  // window as the automation is made.
  void Send(const QString& name,
            QDBusConnection bus = QDBusConnection("vocapost-no-bus"),
            bool automation = true) {
    auto automate = [=, this]() -> std::unique_ptr<MailAutomation> {
      note_ = Shown();
      if (!automation) return nullptr;
      return std::make_unique<DesktopMailAutomation>(bus);
    };
    EmailDispatch dispatch{setting_,  texts_,       title_,
                           messages_, temp_.home(), automate};
    SendFileByEmail(dispatch, name);
  }
  // The text of the message window, or "" when it is closed.
  QString Shown() const {
    const ErrorForm1* form = messages_.error_form();
    return form && form->isVisible() ? form->Label1()->text() : QString();
  }
  std::filesystem::path Bin() const { return temp_.root() / "bin"; }
  std::filesystem::path Record(const std::string& name) const {
    return temp_.root() / (name + ".args");
  }
  QString Program(const std::string& name) {
    WriteRecordingProgram(Bin() / name, Record(name));
    return QString::fromStdString((Bin() / name).string());
  }
  // The recipient notice as the mail programs get it.
  QString ExpectedBody() const {
    QString body = "\n\n";
    for (int line = 1; line <= 5; ++line) body += texts_[line] + '\n';
    return body + '\n';
  }

  testing::EnvironmentScope env_;
  QString setting_ = "Outlook";
  ExtraTexts texts_;
  QString title_, note_;
  QString language_ = ".ENG";
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{language_, presenter_, nullptr, clock_};
  const QString file_ =
      QString::fromStdString((temp_.home() / "05143012.vrc").string());
};

// "Outlook" is the automation; any other setting is a command line run from
// the home, compared with its case.
TEST_F(MailRoutesTest, OutlookHandsTheFileAndNoticeToTheComposerElseACommand) {
  env_.Set("VOCAPOST_MAIL_COMPOSER", Program("composer").toUtf8());
  Send("05143012.vrc");
  EXPECT_EQ(note_, texts_[11] + "\r\n\r\n" + texts_[12]);
  EXPECT_EQ(messages_.error_form(), nullptr) << "gone once the mail is shown";
  EXPECT_EQ(RecordedArguments(Record("composer")),
            QStringList({"--attach", file_, "--body", ExpectedBody()}));

  WriteRecordingProgram(temp_.home() / "outlook", Record("outlook"));
  setting_ = "outlook --compose";
  Send("any.vrc");
  EXPECT_EQ(RecordedArguments(Record("outlook")), QStringList{"--compose"});
  EXPECT_EQ(Shown(), "");
  setting_ = "no-such-mail-program";
  Send("any.vrc");
  EXPECT_EQ(Shown(),
            "There was a problem launching the E-mail Program which you "
            "have specified in Vocapost Properties.");
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(MailRoutesTest, AFailingStepLeavesItsMessage) {
  const QByteArray composer = Program("composer").toUtf8();
  env_.Set("PATH", Bin());
  // No file; no such composer; no automation; neither a composer (empty is
  // none) nor a mail program on the PATH.
  const std::tuple<const char*, QByteArray, bool> cases[] = {
      {"absent.vrc", composer, true},
      {"05143012.vrc", "/no/such/composer", true},
      {"05143012.vrc", composer, false},
      {"05143012.vrc", "", true},
  };
  for (const auto& [file, program, automation] : cases) {
    SCOPED_TRACE(file + (" " + program).toStdString());
    env_.Set("VOCAPOST_MAIL_COMPOSER", program);
    Send(file, QDBusConnection("vocapost-no-bus"), automation);
    EXPECT_EQ(Shown(),
              "This feature is available if you have Outlook installed.");
    messages_.UnloadErrorForm();
  }
  EXPECT_FALSE(RecordedArguments(Record("composer"), 200))
      << "nothing reached the composer";
}

TEST_F(MailRoutesTest, TheDefaultHandlerGetsFileAndNoticeInItsOwnSyntax) {
  if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
    GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
  const QString url = QUrl::fromLocalFile(file_).toString();
  using Read = std::function<Received(const QStringList&)>;
  const std::tuple<std::string, std::string, QString, Read> cases[] = {
      {"thunderbird.desktop", "thunderbird", " -P default %u",
       [this](const QStringList& a) {
         if (a.mid(0, 3) != QStringList{"-P", "default", "-compose"})
           return Received{};
         const auto body = Field(a.value(3), "message").toStdString();
         return Received{QUrl(Field(a.value(3), "attachment")).toLocalFile(),
                         QString::fromUtf8(temp_.ReadFile(body))};
       }},
      {"org.kde.kmail2.desktop", "kmail", " -qwindowtitle %c %u",
       [&](const QStringList& a) {
         const QStringList head{"-qwindowtitle", "Mail", "--composer",
                                "--attach",      url,    "--body"};
         return a.size() == 7 && a.mid(0, 6) == head ? Received{file_, a[6]}
                                                     : Received{};
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
// xdg-email with the folder opened, and the portal once there is one.
TEST_F(MailRoutesTest, OnTheBusThePortalElseXdgEmailAndTheFolderOpened) {
  if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
    GTEST_SKIP() << "dbus-daemon is not installed";
  temp_.WriteFile("bus.conf",
                  "<busconfig><type>session</type><auth>EXTERNAL</auth>"
                  "<listen>unix:tmpdir=/tmp</listen>"
                  "<policy context=\"default\"><allow own=\"*\"/>"
                  "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                  "<allow eavesdrop=\"true\"/></policy></busconfig>\n");
  QProcess daemon;
  daemon.start("dbus-daemon",
               {"--nofork", "--print-address", "--config-file=bus.conf"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.canReadLine(); }, 5000));
  const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  const auto stop = qScopeGuard([&] {
    QDBusConnection::disconnectFromBus("vocapost-test-client");
    QDBusConnection::disconnectFromBus("vocapost-test-desktop");
    daemon.kill();
    daemon.waitForFinished(3000);
  });
  QDBusConnection desktop =
      QDBusConnection::connectToBus(address, "vocapost-test-desktop");
  const QDBusConnection client =
      QDBusConnection::connectToBus(address, "vocapost-test-client");
  Program("xdg-email");
  Program("xdg-open");
  env_.Set("PATH",
           QByteArray::fromStdString(Bin().string()) + ":" + qgetenv("PATH"));

  Send("05143012.vrc", client);
  EXPECT_EQ(RecordedArguments(Record("xdg-email")),
            QStringList({"--utf8", "--body", ExpectedBody()}));
  EXPECT_EQ(RecordedArguments(Record("xdg-open")),
            QStringList{QString::fromStdString(temp_.home().string())});
  EXPECT_TRUE(Shown().contains(file_ + " to the new mail: drag it"))
      << Shown().toStdString();
  messages_.UnloadErrorForm();
  std::filesystem::remove(Record("xdg-email"));

  // The portal gets the file as an open descriptor.
  FakeEmailPortal portal;
  ASSERT_TRUE(desktop.registerObject("/org/freedesktop/portal/desktop", &portal,
                                     QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(desktop.registerService("org.freedesktop.portal.Desktop"));
  Send("05143012.vrc", client);
  EXPECT_EQ(portal.attached, QStringList{file_});
  EXPECT_EQ(portal.body, ExpectedBody());
  EXPECT_EQ(Shown(), "");
  EXPECT_FALSE(RecordedArguments(Record("xdg-email"), 200));
}

}  // namespace
}  // namespace vocapost

#include "mail_routes_test.moc"
