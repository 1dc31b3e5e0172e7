#include "export/export_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace vocapost {

QString ExportModulePath() {
  return QDir(QCoreApplication::applicationDirPath())
      .filePath("../lib/vocapost/libvocapost_export.so");
}

ExportResult ExportWebmThroughModule(const QString& message,
                                     const QString& webm,
                                     const ExportProgress& progress) {
  // Kept loaded once loaded: unloading FFmpeg mid-run gains nothing.
  static QLibrary module(ExportModulePath());
  auto entry = reinterpret_cast<ExportWebmEntry>(module.resolve(kExportWebmEntry));
  ExportResult result;
  if (entry == nullptr) {
    result.outcome = ExportOutcome::kCannotWrite;
    result.error = module.errorString();
    return result;
  }
  entry(message, webm, progress, result);
  return result;
}

}  // namespace vocapost
