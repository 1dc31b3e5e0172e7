#include "platform/mail/desktop_bus.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>

namespace vocapost {
namespace {

// Sends the call and runs the event loop until its answer or the limit, so
// that a service in this very process can answer too.
bool CallSucceeds(QDBusConnection& bus, const QDBusMessage& call,
                  int limit_ms) {
  if (!bus.isConnected()) return false;
  QDBusPendingCallWatcher watcher(bus.asyncCall(call, limit_ms));
  if (!watcher.isFinished()) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop,
                     &QEventLoop::quit);
    limit.start(limit_ms);
    loop.exec();
  }
  return watcher.isFinished() && !watcher.isError();
}

}  // namespace

bool ComposeThroughPortal(QDBusConnection& bus, const ComposeRequest& request,
                          int limit_ms) {
  if (!bus.isConnected() || !(bus.connectionCapabilities() &
                              QDBusConnection::UnixFileDescriptorPassing)) {
    return false;
  }
  const int fd = ::open(QFile::encodeName(request.attachment).constData(),
                        O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const QDBusUnixFileDescriptor attachment(fd);  // keeps its own copy
  ::close(fd);
  qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
  QVariantMap options;
  options.insert("body", request.body);
  options.insert(
      "attachment_fds",
      QVariant::fromValue(QList<QDBusUnixFileDescriptor>{attachment}));
  QDBusMessage call = QDBusMessage::createMethodCall(
      "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
      "org.freedesktop.portal.Email", "ComposeEmail");
  call << QString() << options;
  return CallSucceeds(bus, call, limit_ms);
}

bool ShowInFileManager(QDBusConnection& bus, const QString& path,
                       int limit_ms) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
      "org.freedesktop.FileManager1", "ShowItems");
  call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
  return CallSucceeds(bus, call, limit_ms);
}

}  // namespace vocapost
