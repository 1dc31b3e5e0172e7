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

// Takes the message out of the package at `path` into the current directory
// and returns its name; empty when the package holds no header block, names
// its message unsafely, or the message cannot be written.
QString ExtractEmbeddedMessage(const QString& path);

// A name a package may give its message: a plain ".vrc" file name with no
// folder part and no control characters.
bool IsSafeMessageName(const QString& name);

}  // namespace vocapost
