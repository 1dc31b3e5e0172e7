#pragma once

#include <QString>
#include <cstdint>

namespace vocapost {

// A package is the viewer stub, zeros up to the next 1024-byte boundary (a
// whole block when the stub already ends on one), a 1024-byte header block
// ("VOCAPOST", the message name, blanks) and the message file.
inline constexpr int32_t kPackageBlock = 1024;
inline constexpr int32_t kNoticeOffset = 11664;
inline constexpr int32_t kTotalLengthOffset = 13980;
inline constexpr int32_t kSmallestStub = kTotalLengthOffset + 4;
inline constexpr int32_t kLongestPackageName = kPackageBlock - 8;
inline const QByteArray kPackageMarker = "VOCAPOST";
inline const QByteArray kPackageNotice = "Save file.  Run from Explorer.";
inline const QString kStubName = "vocap.exe";
inline const QString kPackageWorkName = "voca-MSG.exe";

// What building a package tells the user and where it shows the result.
class PackageUi {
 public:
  virtual ~PackageUi() = default;
  virtual void ShowPackageMessage(const QString& text) = 0;
  // Shows the finished package in the package list.
  virtual void ShowPackage(const QString& package_name) = 0;
};

// "voca-MSG" + the first 8 characters of the message name + ".exe".
QString PackageName(const QString& message_name);

// Builds the package of message file `name` in the current directory from
// the stub "vocap.exe" there. Returns the package's length, or 0 after
// telling the user why not.
int32_t BuildMessagePackage(const QString& name, PackageUi& ui);

// The same with the stub, the message and the folder for the package given
// explicitly. The header names the message by its file name alone.
int32_t BuildPackageFrom(const QString& stub_path, const QString& message_path,
                         const QString& output_dir, PackageUi& ui);

// The largest message a package may hand over: far beyond any recording,
// and more than the player would hold in memory sensibly.
inline constexpr int64_t kLargestReceivedMessage = 64 * 1024 * 1024;

enum class ExtractFailure {
  kNone,
  kNoHeader,
  kUnsafeName,
  kTooLarge,
  kCannotCreate,
  kCannotWrite,
};

struct Extraction {
  QString name;  // the message file, in the current directory; empty on failure
  ExtractFailure failure = ExtractFailure::kNone;
  QString file;    // the file that failed, when one did
  QString reason;  // the system's reason, for kCannotCreate and kCannotWrite
};

// Takes the message out of the package at `path` into the current directory.
// An existing file of the header's name is never replaced: when it holds the
// same bytes it is the message, otherwise the message goes to the first free
// name of the same form (NextMessageName).
Extraction ExtractMessage(const QString& path);

// ExtractMessage's name alone: empty when nothing was extracted.
QString ExtractEmbeddedMessage(const QString& path);

// What the user is told when a package gave no message.
QString ExtractionFailureText(const Extraction& extraction);

// A name a package may give its message: a plain, visible ".vrc" file name
// with no folder part, no control characters and nothing a list pattern or
// a command line would read otherwise.
bool IsSafeMessageName(const QString& name);

}  // namespace vocapost
