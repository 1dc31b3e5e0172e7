#include "messages/font_substitutions.h"

#include <QFont>
#include <QStringList>

#include "messages/font_table.h"

namespace vocapost {
namespace {

const QStringList kSans = {"DejaVu Sans", "Liberation Sans", "Noto Sans",
                           "FreeSans", "sans-serif"};
const QStringList kSerif = {"DejaVu Serif", "Liberation Serif", "Noto Serif",
                            "FreeSerif", "serif"};
const QStringList kMono = {"DejaVu Sans Mono", "Liberation Mono",
                           "Noto Sans Mono", "FreeMono", "monospace"};
const QStringList kGothic = {"IPAGothic", "Noto Sans Mono CJK JP",
                             "Noto Sans CJK JP", "VL Gothic", "TakaoGothic"};
const QStringList kPGothic = {"IPAPGothic", "Noto Sans CJK JP", "VL PGothic",
                              "TakaoPGothic", "IPAGothic"};
const QStringList kMincho = {"IPAMincho", "Noto Serif CJK JP", "TakaoMincho",
                             "IPAPMincho"};
const QStringList kPMincho = {"IPAPMincho", "Noto Serif CJK JP", "TakaoPMincho",
                              "IPAMincho"};

struct Substitution {
  int entry;            // in the font table; -1: a name of its own
  const char* english;  // the name a Western Windows gives the font
  const QStringList* to;
};

const Substitution kSubstitutions[] = {
    {0, "System", &kSans},          {1, "@System", &kSans},
    {2, "FixedSys", &kMono},        {3, "@FixedSys", &kMono},
    {4, "Terminal", &kMono},        {5, "@Terminal", &kMono},
    {6, "MS Serif", &kSerif},       {7, "MS Sans Serif", &kSans},
    {8, "Courier", &kMono},         {9, "Symbol", &kSans},
    {10, "Small Fonts", &kSans},    {11, "Modern", &kSans},
    {12, "Marlett", &kSans},        {13, "MS Gothic", &kGothic},
    {14, "MS PGothic", &kPGothic},  {15, "@MS Gothic", &kGothic},
    {16, "@MS PGothic", &kPGothic}, {17, "MS Mincho", &kMincho},
    {18, "MS PMincho", &kPMincho},  {19, "@MS Mincho", &kMincho},
    {20, "@MS PMincho", &kPMincho}, {21, "Arial", &kSans},
    {22, "Courier New", &kMono},    {23, "Times New Roman", &kSerif},
    {24, "Wingdings", &kSans},      {-1, "MS UI Gothic", &kPGothic},
    {-1, "Meiryo", &kPGothic},      {-1, "Meiryo UI", &kPGothic},
    {-1, "Tahoma", &kSans},         {-1, "Verdana", &kSans},
};

}  // namespace

void InstallFontSubstitutions() {
  const FontTable table = DefaultFontTable();
  for (const Substitution& s : kSubstitutions) {
    // Afresh each time: a second call must not list the fonts twice. A font
    // the desktop really has by the name is still taken first.
    QFont::removeSubstitutions(s.english);
    QFont::insertSubstitutions(s.english, *s.to);
    if (s.entry >= 0 && table[s.entry] != s.english) {
      QFont::removeSubstitutions(table[s.entry]);
      QFont::insertSubstitutions(table[s.entry], *s.to);
    }
  }
}

}  // namespace vocapost
