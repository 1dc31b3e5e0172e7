#pragma once

#include <QDBusConnection>
#include <QString>

#include "platform/mail/compose_request.h"

namespace vocapost {

// Asks the desktop's Email portal for a new mail with the file passed as an
// open file descriptor. False when the bus has no such portal or it refused.
bool ComposeThroughPortal(QDBusConnection& bus, const ComposeRequest& request,
                          int limit_ms);

// Opens the file's folder in the file manager with the file selected.
bool ShowInFileManager(QDBusConnection& bus, const QString& path, int limit_ms);

}  // namespace vocapost
