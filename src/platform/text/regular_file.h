#pragma once

#include <QByteArray>
#include <QString>

namespace vocapost {

// What reading a small text file found.
enum class FileRead {
  kRead,        // bytes holds the whole file
  kMissing,     // no such file
  kNotRegular,  // a folder, device, pipe or socket (or a link to one)
  kTooLarge,    // more than the limit
  kFailed,      // there but could not be read
};

struct FileBytes {
  FileRead result = FileRead::kMissing;
  QByteArray bytes;
};

// The whole of `path` when it is a regular file of at most `limit` bytes.
// Nothing else is ever read from, so a link to an endless stream or a pipe
// cannot hold the caller.
FileBytes ReadRegularFile(const QString& path, qint64 limit);

}  // namespace vocapost
