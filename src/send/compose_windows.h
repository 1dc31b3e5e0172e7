#pragma once

#include <QString>
#include <optional>

namespace vocapost {

// A Linux mail program's compose window, known by what it sets on its X11
// top-level window. Each non-empty name must be contained, upper-cased, in
// the window's own.
struct ComposeWindowRule {
  const char* program;
  const char* instance;    // WM_CLASS instance
  const char* class_name;  // WM_CLASS class
  const char* role;        // WM_WINDOW_ROLE
  // Keys that put the caret into the body wherever the focus is in the
  // window; empty where no such keys are known, and the body is reached
  // through accessibility only.
  const char* caret_keys;
};

struct WindowIdentity {
  QString instance;
  QString class_name;
  QString role;
};

std::optional<ComposeWindowRule> FindComposeRule(const WindowIdentity& window);

}  // namespace vocapost
