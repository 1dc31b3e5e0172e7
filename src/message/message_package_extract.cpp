// The receiving end of a package: its message into the current directory.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

#include "message/message_names.h"
#include "message/message_package.h"
#include "message/message_record.h"
#include "platform/text/user_text.h"

namespace vocapost {
namespace {

// Enough for a whole day of messages received under one name.
constexpr int kNamesToTry = 100000;

Extraction Failed(ExtractFailure failure, const QString& file = {},
                  const QString& reason = {}) {
  return {{}, failure, file, reason};
}

Extraction Placed(const QString& name) {
  return {name, ExtractFailure::kNone, {}, {}};
}

// Anything of that name, even a link that points nowhere.
bool Taken(const QString& name) {
  const QFileInfo info(name);
  return info.exists() || info.isSymLink();
}

// A plain file (not a link) holding exactly the bytes of `other`.
bool SameBytes(const QString& name, const QString& other) {
  const QFileInfo info(name);
  if (info.isSymLink() || !info.isFile() ||
      info.size() != QFileInfo(other).size())
    return false;
  QFile a(name), b(other);
  if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
    return false;
  while (!a.atEnd()) {
    const QByteArray block = a.read(64 * 1024);
    if (block.isEmpty() || block != b.read(block.size())) return false;
  }
  return b.atEnd();
}

// Gives the finished message in `temp` its name: the header's, or when that
// is taken by other bytes, the next free one of the same form. link() never
// replaces a file that appeared meanwhile.
Extraction Place(const QString& temp, const QString& name) {
  QString candidate = name;
  for (int i = 0; i < kNamesToTry;
       ++i, candidate = NextMessageName(candidate)) {
    if (Taken(candidate)) {
      if (SameBytes(candidate, temp)) return Placed(candidate);
      continue;
    }
    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(candidate);
    if (link(from.constData(), to.constData()) == 0) return Placed(candidate);
    int error = errno;
    if (error == EEXIST) continue;
    // File systems without hard links: only a rename is left.
    if (error == EPERM || error == EOPNOTSUPP) {
      if (rename(from.constData(), to.constData()) == 0)
        return Placed(candidate);
      error = errno;
    }
    return Failed(ExtractFailure::kCannotCreate, candidate,
                  qt_error_string(error));
  }
  return Failed(ExtractFailure::kCannotCreate, name, "no free name");
}

// Everything after the header block into `out`; false at the size limit.
bool CopyMessage(QFile& package, QFile& out, bool& too_large) {
  QByteArray block(kPackageBlock, '\0');
  int64_t written = 0;
  for (;;) {
    const qint64 got = package.read(block.data(), kPackageBlock);
    if (got < 0) return false;
    written += got;
    if (written > kLargestReceivedMessage) {
      too_large = true;
      return false;
    }
    if (got > 0 && out.write(block.constData(), got) != got) return false;
    if (got < kPackageBlock) return out.flush();
  }
}

}  // namespace

Extraction ExtractMessage(const QString& path) {
  QFile package(path);
  if (!package.open(QIODevice::ReadOnly))
    return Failed(ExtractFailure::kNoHeader);
  QByteArray block(kPackageBlock, '\0');
  // Blocks before the header block are the stub's.
  do {
    if (package.read(block.data(), kPackageBlock) < kPackageBlock)
      return Failed(ExtractFailure::kNoHeader);
  } while (!block.startsWith(kPackageMarker));
  const QString name = QFile::decodeName(
      TrimBlanks(BytesToText(block, 9, kLongestPackageName)).toLatin1());
  if (!IsSafeMessageName(name)) return Failed(ExtractFailure::kUnsafeName);
  if (package.size() - package.pos() > kLargestReceivedMessage)
    return Failed(ExtractFailure::kTooLarge);

  // Written aside first, so that nothing under a message name is touched
  // until the whole message is here.
  QTemporaryFile out(".voca-extract-XXXXXX");
  if (!out.open())
    return Failed(ExtractFailure::kCannotCreate, name, out.errorString());
  bool too_large = false;
  if (!CopyMessage(package, out, too_large)) {
    if (too_large) return Failed(ExtractFailure::kTooLarge);
    const QString reason = package.error() != QFileDevice::NoError
                               ? package.errorString()
                               : out.errorString();
    return Failed(ExtractFailure::kCannotWrite, name, reason);
  }
  out.close();
  return Place(out.fileName(), name);
}

QString ExtractEmbeddedMessage(const QString& path) {
  return ExtractMessage(path).name;
}

QString ExtractionFailureText(const Extraction& extraction) {
  switch (extraction.failure) {
    case ExtractFailure::kNone:
      return {};
    case ExtractFailure::kNoHeader:
      return UserText(
          "There does not appear to be a message in that file.  Cannot be "
          "played.");
    case ExtractFailure::kUnsafeName:
      return UserText(
          "The message in that file has a name that cannot be used.  Cannot "
          "be played.");
    case ExtractFailure::kTooLarge:
      return UserText(
                 "The message in that file is larger than %1 MB.  Cannot be "
                 "played.")
          .arg(kLargestReceivedMessage / (1024 * 1024));
    case ExtractFailure::kCannotCreate:
      return UserText(
                 "The message file %1 cannot be created in %2 (%3).  Cannot "
                 "be played.")
          .arg(extraction.file, QDir::currentPath(), extraction.reason);
    case ExtractFailure::kCannotWrite:
      return UserText(
                 "The message file %1 could not be written in %2 (%3).  "
                 "Cannot be played.")
          .arg(extraction.file, QDir::currentPath(), extraction.reason);
  }
  return {};
}

bool IsSafeMessageName(const QString& name) {
  // Hidden files stay out of sight in a file manager; a leading dash reads
  // as an option to a program given the name.
  if (name.isEmpty() || name.startsWith('.') || name.startsWith('-'))
    return false;
  for (const QChar c : name) {
    // Controls, and format marks such as a right-to-left override that
    // would make the name read as something else; wildcards, since the
    // file lists find their files by pattern.
    const QChar::Category category = c.category();
    if (c == '/' || c == '\\' || c == '*' || c == '?' ||
        category == QChar::Other_Control || category == QChar::Other_Format ||
        category == QChar::Separator_Line ||
        category == QChar::Separator_Paragraph) {
      return false;
    }
  }
  // Only message files: a package must not replace the stub, a language file
  // or a marker in the program folder.
  return name.endsWith(".vrc", Qt::CaseInsensitive);
}

}  // namespace vocapost
