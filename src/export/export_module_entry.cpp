// The entry point of lib/vocapost/libvocapost_export.so.
#include <type_traits>

#include "export/export_module.h"

extern "C" __attribute__((visibility("default"))) void VocapostExportWebm(
    const QString& message, const QString& webm,
    const vocapost::ExportProgress& progress, vocapost::ExportResult& result) {
  result = vocapost::ExportWebm(message, webm, progress);
}

// The loader's type and the entry's must agree.
static_assert(std::is_same_v<decltype(&VocapostExportWebm),
                             vocapost::ExportWebmEntry>);
