#pragma once

#include <QString>

class QWidget;

namespace vocapost {

class MessageOperations;

// Asks where to save the message as WebM, exports it off the window's
// thread with its progress shown, and says where it went or why not; the
// dialogs speak the language of `language_extension`.
void ExportMessageAsWebm(QWidget* parent, const QString& message,
                         MessageOperations& messages, QString& title,
                         const QString& language_extension);

// Where the save dialog starts: the user's videos folder, or home when
// there is none, and the message's name with ".webm".
QString DefaultWebmPath(const QString& message);

}  // namespace vocapost
