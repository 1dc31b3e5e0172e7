#pragma once

#include <QString>

#include "export/webm_export.h"

namespace vocapost {

// The WebM export lives in a module of its own, lib/vocapost/
// libvocapost_export.so beside the program's bin/, loaded at the first
// export: FFmpeg's and Opus's libraries would otherwise cost every start
// tens of milliseconds and megabytes. Without the module the export fails
// with kCannotWrite and says why.
ExportResult ExportWebmThroughModule(const QString& message,
                                     const QString& webm,
                                     const ExportProgress& progress = {});

// Where the module is looked for: beside the running program's bin/.
QString ExportModulePath();

// The module's one entry point.
using ExportWebmEntry = void (*)(const QString& message, const QString& webm,
                                 const ExportProgress& progress,
                                 ExportResult& result);
inline constexpr char kExportWebmEntry[] = "VocapostExportWebm";

}  // namespace vocapost
