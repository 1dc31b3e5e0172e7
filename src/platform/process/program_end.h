#pragma once

namespace vocapost {

// Ends the program. What runs before is the caller's business: the Viewer's
// unload runs its steps first, a refused launch ends without any.
class ProgramEnd {
 public:
  virtual ~ProgramEnd() = default;
  virtual void EndProgram(int exit_code) = 0;
};

// Ends the process at once, wherever it is: no handler runs afterwards.
class ProcessEnd final : public ProgramEnd {
 public:
  [[noreturn]] void EndProgram(int exit_code) override;
};

// For tests: remembers that the program ended.
class RecordingEnd final : public ProgramEnd {
 public:
  void EndProgram(int exit_code) override {
    ended = true;
    code = exit_code;
  }
  bool ended = false;
  int code = 0;
};

}  // namespace vocapost
