#include "platform/process/program_end.h"

#include <cstdio>
#include <cstdlib>

namespace vocapost {

void ProcessEnd::EndProgram(int exit_code) {
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

}  // namespace vocapost
