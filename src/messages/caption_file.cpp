#include "messages/caption_file.h"

#include "messages/language_file.h"
#include "messages/text_lines.h"

namespace vocapost {

QString CaptionFileName(int help_context, const QString& language_extension) {
  const QString digits = "00" + QString::number(help_context);
  return "CWINDO" + digits.right(2) + language_extension;
}

QStringList ReadCaptionLines(const QString& language_extension,
                             int help_context) {
  const QString name =
      FindFileIgnoringCase(CaptionFileName(help_context, language_extension));
  if (name.isEmpty()) return {};
  std::optional<QByteArray> file = ReadTextFile(name);
  if (!file) return {};
  const bool transformed =
      language_extension.endsWith('B', Qt::CaseInsensitive);
  // Unlike a language file, the end mark is looked for as stored.
  TextLineReader reader(std::move(*file),
                        transformed ? LineEnds::kCrOnly : LineEnds::kByFile);
  QStringList lines;
  while (lines.size() < kMaxCaptionLines) {
    const std::optional<TextLine> line = reader.Next();
    if (!line || line->marked) break;
    lines << DecodeTextLine(
        transformed ? RestoreTransformedLine(line->bytes) : line->bytes,
        language_extension);
  }
  return lines;
}

QString TranslateCaption(const QStringList& lines, QString text) {
  // Pair starts k = 1, 3, … up to N − 2, here 0-based: 0, 2, … up to N − 3.
  for (qsizetype key = 0; key + 2 < lines.size(); key += 2) {
    if (text == lines[key]) text = lines[key + 1];
  }
  return text;
}

QString LocalCaption(const QString& text, const QString& language_extension) {
  return TranslateCaption(ReadCaptionLines(language_extension), text);
}

}  // namespace vocapost
