// Any bytes as a message package, taken apart in the home. The home holds
// links named like messages that point outside it and a folder named like
// one; after each input nothing outside the home has changed, no link was
// written through, and an extracted message is exactly what followed the
// first header block.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "fuzz_support.h"
#include "message/message_package.h"

namespace vocapost::fuzz {
namespace {

const QByteArray kTargetBytes = "must stay as it is";
const QStringList kPlanted = {"link.vrc", "dirlink.vrc", "dir.vrc"};

QStringList Listing(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                             QDir::NoDotAndDotDot);
}

void PlantHome(const FuzzHome& home) {
  home.Clear();
  const QDir dir(home.home());
  Check(QFile::link(QDir(home.outside()).filePath("target.vrc"),
                    dir.filePath("link.vrc")) &&
            QFile::link(home.outside(), dir.filePath("dirlink.vrc")) &&
            dir.mkdir("dir.vrc"),
        "cannot plant the home");
}

// A planted entry that was not replaced by the message is as planted.
bool StillPlanted(const FuzzHome& home, const QString& name) {
  const QFileInfo info(QDir(home.home()).filePath(name));
  if (name == "dir.vrc") return info.isDir() && !info.isSymLink();
  const QString target = name == "link.vrc"
                             ? QDir(home.outside()).filePath("target.vrc")
                             : home.outside();
  return info.isSymLink() && info.symLinkTarget() == target;
}

// The bytes after the first whole 1024-byte block that starts with the
// marker.
std::optional<QByteArray> ExpectedMessage(const QByteArray& package) {
  for (qsizetype at = 0; at + kPackageBlock <= package.size();
       at += kPackageBlock) {
    if (package.mid(at, kPackageMarker.size()) == kPackageMarker)
      return package.mid(at + kPackageBlock);
  }
  return std::nullopt;
}

}  // namespace
}  // namespace vocapost::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost;
  using namespace vocapost::fuzz;
  const FuzzHome& home = FuzzHome::Get();
  const QString package_path = QDir(home.root()).filePath("package.exe");
  const QString target = QDir(home.outside()).filePath("target.vrc");
  static const QStringList root_listing = [&] {
    WriteBytes(target, kTargetBytes);
    WriteBytes(package_path, {});
    return Listing(home.root());
  }();
  PlantHome(home);
  const QByteArray package(reinterpret_cast<const char*>(data),
                           static_cast<qsizetype>(size));
  WriteBytes(package_path, package);

  const QString name = ExtractEmbeddedMessage(package_path);

  Check(Listing(home.root()) == root_listing, "a file appeared beside home");
  Check(Listing(home.outside()) == QStringList{"target.vrc"} &&
            ReadBytes(target) == kTargetBytes && !QFileInfo(target).isSymLink(),
        "something outside the home changed");
  for (const QString& entry : Listing(home.home())) {
    Check(entry == name ||
              (kPlanted.contains(entry) && StillPlanted(home, entry)),
          "an unexpected file in the home");
  }
  if (name.isEmpty()) return 0;
  Check(IsSafeMessageName(name), "an unsafe name was extracted");
  const QFileInfo written(QDir(home.home()).filePath(name));
  Check(written.isFile() && !written.isSymLink(),
        "the message is not a plain file");
  const std::optional<QByteArray> expected = ExpectedMessage(package);
  Check(expected && ReadBytes(written.filePath()) == *expected,
        "the message is not what followed the header block");
  return 0;
}
