#pragma once

namespace vocapost {

// Gives the Windows fonts that the font table names (and the windows were
// designed with) their stand-ins among the fonts a Linux desktop has: the
// Japanese ones IPA or Noto CJK fonts, "MS Sans Serif" a sans serif, and
// so on. Safe to call more than once.
void InstallFontSubstitutions();

}  // namespace vocapost
