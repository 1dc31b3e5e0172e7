#include "app/standard_options.h"

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace vocapost {

StandardOption FindStandardOption(int argc, char** argv) {
  if (argc != 2) return StandardOption::kNone;
  const std::string_view argument = argv[1];
  const StandardOption option = argument == "--help" ? StandardOption::kHelp
                                : argument == "--version"
                                    ? StandardOption::kVersion
                                    : StandardOption::kNone;
  std::error_code ec;
  if (option != StandardOption::kNone &&
      std::filesystem::exists(std::filesystem::path(argv[1]), ec)) {
    return StandardOption::kNone;
  }
  return option;
}

bool AnswerStandardOption(int argc, char** argv, const std::string& program,
                          const std::string& help) {
  switch (FindStandardOption(argc, argv)) {
    case StandardOption::kHelp:
      std::fputs(help.c_str(), stdout);
      return true;
    case StandardOption::kVersion:
      std::printf("%s %s\n", program.c_str(), VOCAPOST_VERSION);
      return true;
    case StandardOption::kNone:
      break;
  }
  return false;
}

}  // namespace vocapost
