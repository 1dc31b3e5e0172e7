#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vocapost::tool {

// The message's first picture, upright: its first key frame that decodes.
// A null image when the message has none.
QImage FirstPicture(const QString& file);

// Writes a PNG of the message's first picture, its longer side `size`
// pixels; a message without pictures gets `no_video_picture` instead.
int Thumbnail(const QString& file, const QString& png, int size,
              const QString& no_video_picture, QTextStream& err);

// "thumbnail IN.vrc OUT.png SIZE", the arguments after the command's name.
int ThumbnailCommand(const QStringList& args, QTextStream& err);

}  // namespace vocapost::tool
