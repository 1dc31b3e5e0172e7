#pragma once

#include "app/app_state.h"

namespace vocapost {

inline const QString kProductName = "Vocapost";
inline const QString kWebSite = "https://vocapost.org";
inline constexpr int kStartupExtraTextCount = 12;

// Entries 1 to 12: the recipient notice, the menu captions and the sending
// notes, in English; caption localisation may translate them.
void FillStartupExtraTexts(ExtraTexts& texts);

}  // namespace vocapost
