#pragma once

#include <QString>
#include <cstdint>

namespace vocapost {

enum class BodyInsertion {
  kNoBody,    // no such frame, or no body text in it
  kInserted,  // the text is at the start of the body
  kFocused,   // the program ignored the insertion; its body has the focus
              // with the caret at the start, ready for a paste
};

// The desktop's accessibility tree (AT-SPI on Linux).
class AccessibleDesktop {
 public:
  virtual ~AccessibleDesktop() = default;
  // The largest editable body text of the frame titled `title` of process
  // `pid` (0: any process) gets `text` at offset 0.
  virtual BodyInsertion InsertAtBodyStart(int64_t pid, const QString& title,
                                          const QString& text) = 0;
};

}  // namespace vocapost
