#include "messages/font_table.h"

#include "app/settings.h"
#include "messages/text_lines.h"
#include "platform/text/eight_bit_text.h"

namespace vocapost {
namespace {

constexpr const char* kDefaultNames[kFontTableSize] = {
    "System",
    "@System",
    "FixedSys",
    "@FixedSys",
    "Terminal",
    "@Terminal",
    "MS Serif",
    "MS Sans Serif",
    "Courier",
    "Symbol",
    "Small Fonts",
    "Modern",
    "Marlett",
    "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e",           // MS Gothic
    "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e",   // MS PGothic
    "@\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e",          // @MS Gothic
    "@\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e",  // @MS
                                                                   // PGothic
    "\x82\x6c\x82\x72 \x96\xbe\x92\xa9",                           // MS Mincho
    "\x82\x6c\x82\x72 \x82\x6f\x96\xbe\x92\xa9",                   // MS PMincho
    "@\x82\x6c\x82\x72 \x96\xbe\x92\xa9",                          // @MS Mincho
    "@\x82\x6c\x82\x72 \x82\x6f\x96\xbe\x92\xa9",  // @MS PMincho
    "Arial",
    "Courier New",
    "Times New Roman",
    "Wingdings",
    "Symbol",
    "",
    "",
    "",
    "",
    ""};

constexpr int kFirstJapaneseEntry = 13;
constexpr int kLastJapaneseEntry = 20;

}  // namespace

FontTable DefaultFontTable() {
  FontTable table;
  for (int entry = 0; entry < kFontTableSize; ++entry) {
    const QByteArray name(kDefaultNames[entry]);
    table[entry] = entry >= kFirstJapaneseEntry && entry <= kLastJapaneseEntry
                       ? DecodeCodePage932(name)
                       : QString::fromLatin1(name);
  }
  return table;
}

bool FontReplacementWanted() {
  for (const char* trigger : {"vmessage.jpn", "pmessage.jpn", "usefont.txt"}) {
    if (!FindFileIgnoringCase(trigger).isEmpty()) return true;
  }
  return false;
}

FontTable ReadFontTable(const QString& language_extension) {
  FontTable table = DefaultFontTable();
  const QString name = FindFileIgnoringCase("fontlist.txt");
  if (name.isEmpty()) return table;
  std::optional<QByteArray> file = ReadTextFile(name);
  if (!file) return table;
  TextLineReader reader(std::move(*file), LineEnds::kByFile);
  for (QString& entry : table) {
    const std::optional<TextLine> line = reader.Next();
    if (!line || line->marked) break;
    entry = DecodeTextLine(line->bytes, language_extension);
  }
  return table;
}

int ChosenFontEntry() {
  const QString name = FindFileIgnoringCase("usefont.txt");
  if (name.isEmpty()) return kDefaultFontEntry;
  const std::optional<QByteArray> file = ReadTextFile(name);
  if (!file) return kDefaultFontEntry;
  const std::optional<int16_t> number =
      SettingNumber(DecodeEightBitText(*file));
  // A number past the table names no font: the default stands.
  if (!number || *number < 0 || *number >= kFontTableSize)
    return kDefaultFontEntry;
  return *number;
}

QString ReplacementFont(const QString& language_extension) {
  if (!FontReplacementWanted()) return {};
  return ReadFontTable(language_extension)[ChosenFontEntry()];
}

}  // namespace vocapost
