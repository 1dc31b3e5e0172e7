// Any bytes as a message package, taken apart in the home. The home holds
// links named like messages that point outside it and a folder named like
// one; after each input nothing outside the home has changed, no link was
// written through, and an extracted message is exactly what followed the
// first header block.
#include <QFileInfo>
#include <filesystem>

#include "fuzz_support.h"
#include "message/message_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  const InHome in_home;
  const auto listing = [](const QDir& dir) {
    return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                         QDir::NoDotAndDotDot);
  };
  const QDir home(Root().filePath("home")), outside(Root().filePath("outside"));
  const QString package_path = Root().filePath("package.exe");
  const QString target = outside.filePath("target.vrc");
  static const QStringList root_listing = [&] {
    WriteBytes(target, "must stay as it is");
    WriteBytes(package_path, {});
    return listing(Root());
  }();
  // A freshly planted home; remove_all takes links away and never what they
  // point at.
  for (const auto& entry :
       std::filesystem::directory_iterator(home.path().toStdString()))
    std::filesystem::remove_all(entry.path());
  Check(QFile::link(target, home.filePath("link.vrc")) &&
            QFile::link(outside.path(), home.filePath("dirlink.vrc")) &&
            home.mkdir("dir.vrc"),
        "cannot plant the home");
  const QByteArray package = Bytes(data, size);
  WriteBytes(package_path, package);

  const QString name = ExtractEmbeddedMessage(package_path);

  Check(listing(Root()) == root_listing, "a file appeared beside home");
  Check(listing(outside) == QStringList{"target.vrc"} &&
            ReadBytes(target) == "must stay as it is" &&
            !QFileInfo(target).isSymLink(),
        "something outside the home changed");
  // Each entry must still be what was planted unless the message replaced it.
  for (const QString& entry : listing(home)) {
    const QFileInfo info(home.filePath(entry));
    const bool planted =
        (entry == "dir.vrc" && info.isDir() && !info.isSymLink()) ||
        (entry == "link.vrc" && info.symLinkTarget() == target) ||
        (entry == "dirlink.vrc" && info.symLinkTarget() == outside.path());
    Check(entry == name || planted, "an unexpected file in the home");
  }
  if (name.isEmpty()) return 0;
  Check(IsSafeMessageName(name), "an unsafe name was extracted");
  const QFileInfo written(home.filePath(name));
  Check(written.isFile() && !written.isSymLink(),
        "the message is not a plain file");
  // The message is what follows the first whole 1024-byte block that starts
  // with the marker.
  qsizetype at = 0;
  while (at + kPackageBlock <= package.size() &&
         package.mid(at, kPackageMarker.size()) != kPackageMarker)
    at += kPackageBlock;
  Check(at + kPackageBlock <= package.size() &&
            ReadBytes(written.filePath()) == package.mid(at + kPackageBlock),
        "the message is not what followed the header block");
  return 0;
}
