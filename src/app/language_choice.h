#pragma once

#include <QString>
#include <filesystem>

namespace vocapost {

inline const QString kDefaultLanguageExtension = ".ENG";

// The extension of the first "VMESSAGE.*" file in `dir` (in any case), in
// the order the directory listing gives, when its last four characters begin
// with a point; otherwise ".ENG".
QString ChooseLanguageExtension(const std::filesystem::path& dir);

}  // namespace vocapost
