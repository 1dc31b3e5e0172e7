#include "message/message_package.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <limits>

#include "platform/text/user_text.h"

namespace vocapost {
namespace {

const QString kNoMessage = UserText("Recordedfile does not exist.");
const QString kTooSmall = UserText("Recorded file is too small.");
const QString kNoStub =
    UserText("The file vocap.exe is missing.  Re-install software.");
const QString kNotCreated = UserText("The voca-MSG.exe file was not created.");
const QString kCannotCreate = UserText(
    "The file voca-MSG.exe could not be created, delete from \\vocapost "
    "directory.");

// Copies `from` to `to` in whole blocks and the short rest, adding what was
// written to `total`. False on any read or write failure.
bool CopyInBlocks(QFile& from, QFile& to, int64_t& total) {
  char block[kPackageBlock];
  for (;;) {
    const qint64 got = from.read(block, kPackageBlock);
    if (got < 0) return false;
    if (got > 0 && to.write(block, got) != got) return false;
    total += got;
    if (got < kPackageBlock) return true;
  }
}

QByteArray HeaderBlock(const QByteArray& name) {
  QByteArray block(kPackageBlock, ' ');
  block.replace(0, kPackageMarker.size(), kPackageMarker);
  block.replace(kPackageMarker.size(), name.size(), name);
  return block;
}

// Steps 5 to 10: stub, padding, header block and message into `work`.
bool WritePackage(const QString& stub_path, const QString& message_path,
                  const QByteArray& name, const QString& work, int64_t& total) {
  QFile stub(stub_path), message(message_path), package(work);
  if (!stub.open(QIODevice::ReadOnly) ||
      !package.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return false;
  }
  if (!CopyInBlocks(stub, package, total)) return false;
  const int64_t padding = kPackageBlock - stub.size() % kPackageBlock;
  const QByteArray header = HeaderBlock(name);
  if (package.write(QByteArray(padding, '\0')) != padding ||
      package.write(header) != header.size()) {
    return false;
  }
  total += padding + header.size();
  if (!message.open(QIODevice::ReadOnly)) return false;
  if (!CopyInBlocks(message, package, total)) return false;
  return package.flush() && package.error() == QFileDevice::NoError;
}

// Steps 12 and 13: the total length and the notice text into the stub part.
bool PatchPackage(const QString& work, int32_t total) {
  QFile package(work);
  if (!package.open(QIODevice::ReadWrite)) return false;
  QByteArray length(4, '\0');
  for (int i = 0; i < 4; ++i) {
    length[i] =
        static_cast<char>((static_cast<uint32_t>(total) >> (8 * i)) & 0xFF);
  }
  return package.seek(kTotalLengthOffset) && package.write(length) == 4 &&
         package.seek(kNoticeOffset) &&
         package.write(kPackageNotice) == kPackageNotice.size() &&
         package.flush();
}

}  // namespace

QString PackageName(const QString& message_name) {
  return "voca-MSG" + message_name.left(8) + ".exe";
}

int32_t BuildMessagePackage(const QString& name, PackageUi& ui) {
  return BuildPackageFrom(kStubName, name, ".", ui);
}

int32_t BuildPackageFrom(const QString& stub_path, const QString& message_path,
                         const QString& output_dir, PackageUi& ui) {
  auto refuse = [&ui](const QString& text) {
    ui.ShowPackageMessage(text);
    return 0;
  };
  const QFileInfo message(message_path), stub(stub_path);
  if (!message.isFile()) return refuse(kNoMessage);
  if (message.size() < kPackageBlock) return refuse(kTooSmall);
  // A stub too short for the two fields would have them written over the
  // message: treat it as damaged.
  if (!stub.isFile() || stub.size() < kSmallestStub) return refuse(kNoStub);
  const QDir out(output_dir);
  const QString work = out.filePath(kPackageWorkName);
  const QByteArray name = QFile::encodeName(message.fileName());
  auto cannot_create = [&refuse] { return refuse(kCannotCreate); };
  if (QFileInfo::exists(work) && !QFile::remove(work)) return cannot_create();
  if (name.size() > kLongestPackageName) return cannot_create();

  // From here a failure leaves no half-built package behind.
  auto give_up = [&work, &refuse](const QString& text) {
    QFile::remove(work);
    return refuse(text);
  };
  int64_t total = 0;
  if (!WritePackage(stub_path, message_path, name, work, total) ||
      total > std::numeric_limits<int32_t>::max()) {
    return give_up(kCannotCreate);
  }
  if (QFileInfo(work).size() < kPackageBlock) return give_up(kNotCreated);
  if (!PatchPackage(work, static_cast<int32_t>(total)))
    return give_up(kCannotCreate);

  const QString final_name = PackageName(message.fileName());
  const QString final_path = out.filePath(final_name);
  // rename() replaces an earlier package of the name in one step.
  if (std::rename(QFile::encodeName(work).constData(),
                  QFile::encodeName(final_path).constData()) != 0) {
    return give_up(kCannotCreate);
  }
  // Runnable straight from a file manager; the bytes are unchanged.
  QFile::setPermissions(final_path, QFile::permissions(final_path) |
                                        QFile::ExeOwner | QFile::ExeUser);
  ui.ShowPackage(final_name);
  return static_cast<int32_t>(total);
}

}  // namespace vocapost
