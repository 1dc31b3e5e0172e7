// Any bytes as a message package, taken apart in the home. The home holds
// links named like messages that point outside it and a folder named like
// one; after each input nothing outside the home has changed, no link was
// written through, and a message was written only as a plain file of a safe
// name.
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
  const QString package = Root().filePath("package.exe");
  const QString target = outside.filePath("target.vrc");
  static const QStringList root_listing = [&] {
    WriteBytes(target, "must stay as it is");
    WriteBytes(package, {});
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
  WriteBytes(package, Bytes(data, size));

  const QString name = ExtractEmbeddedMessage(package);

  Check(listing(Root()) == root_listing &&
            listing(outside) == QStringList{"target.vrc"} &&
            ReadBytes(target) == "must stay as it is" &&
            !QFileInfo(target).isSymLink(),
        "something beside or outside the home changed");
  // Only the message may have replaced what was planted.
  QStringList planted = {"dir.vrc", "dirlink.vrc", "link.vrc"},
              left = listing(home);
  planted.removeOne(name);
  Check(left.removeOne(name) == !name.isEmpty() && left == planted &&
            QFileInfo(home.filePath("dir.vrc")).isDir() == (name != "dir.vrc"),
        "an unexpected file in the home");
  const QFileInfo written(home.filePath(name));
  Check(name.isEmpty() || (IsSafeMessageName(name) && written.isFile() &&
                           !written.isSymLink()),
        "the message is not a plain file of a safe name");
  return 0;
}
