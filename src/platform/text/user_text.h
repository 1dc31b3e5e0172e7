#pragma once

#include <QString>

namespace vocapost {

// Marks a text that the user is shown, so that the check of the language
// files finds it; the text itself is unchanged. A text with a name or a
// number in it is a template: its %1 … %9 are filled in with arg(), and the
// language files translate the template.
inline QString UserText(const char* text) { return QString::fromUtf8(text); }

}  // namespace vocapost
