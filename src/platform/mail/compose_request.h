#pragma once

#include <QString>

namespace vocapost {

// A new mail for the user's mail program: one file to attach and the text.
struct ComposeRequest {
  QString attachment;  // absolute path
  QString body;        // lines end in a line feed
};

}  // namespace vocapost
