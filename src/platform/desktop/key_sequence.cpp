#include "platform/desktop/key_sequence.h"

namespace vocapost {

std::vector<KeyStroke> ParseKeys(const QString& keys) {
  std::vector<KeyStroke> strokes;
  KeyStroke next;
  for (qsizetype i = 0; i < keys.size(); ++i) {
    const QChar c = keys[i];
    if (c == '^') {
      next.control = true;
    } else if (c == '+') {
      next.shift = true;
    } else if (c == '%') {
      next.alt = true;
    } else {
      if (c == '{') {
        // "{}}" names the brace itself.
        const qsizetype end = keys.indexOf('}', i + 2);
        if (end < 0) return {};
        next.key = keys.mid(i + 1, end - i - 1).toUpper();
        i = end;
      } else {
        next.key = c;
      }
      strokes.push_back(next);
      next = {};
    }
  }
  return strokes;
}

}  // namespace vocapost
