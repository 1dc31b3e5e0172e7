#pragma once

#include <QString>
#include <vector>

namespace vocapost {

// One key of a key-sending string, with the modifiers held around it.
struct KeyStroke {
  bool control = false;
  bool shift = false;
  bool alt = false;
  QString key;  // a name such as "HOME" or "INSERT", or one character
};

// Reads the key-sending syntax: "^" Control, "+" Shift, "%" Alt for the key
// that follows, "{NAME}" a named key (upper-cased), any other character that
// character. Unknown syntax such as an unclosed brace yields no keys at all.
std::vector<KeyStroke> ParseKeys(const QString& keys);

}  // namespace vocapost
