#pragma once

#include <QString>
#include <filesystem>

namespace vocapost {

// $VOCAPOST_HOME when set, else $XDG_DATA_HOME/vocapost (normally
// ~/.local/share/vocapost).
std::filesystem::path ResolveProgramHome();

// Where the shipped data files are: <folder of the program>/../share/vocapost,
// both in the build tree and when installed.
std::filesystem::path ShippedDataDir();

struct HomeResult {
  bool ok = false;
  QString error;  // what went wrong, for the user
};

// Creates `home` if needed, copies in every shipped file it does not have yet
// (never overwriting one) and makes it the current directory.
HomeResult PrepareProgramHome(const std::filesystem::path& home,
                              const std::filesystem::path& shipped_data);

}  // namespace vocapost
