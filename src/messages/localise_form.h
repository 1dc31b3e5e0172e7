#pragma once

#include <QWidget>

#include "app/app_state.h"

namespace vocapost {

// Translates a form's captions and tooltips, and the first `count` extra
// texts, from the caption files, and adapts its fonts. Until caption files
// are read the English texts stand as they are.
inline void LocaliseForm(QWidget& /*form*/, ExtraTexts& /*texts*/, int /*count*/) {}

}  // namespace vocapost
