#include "messages/language_file.h"

#include <algorithm>

#include "messages/text_lines.h"

namespace vocapost {

QByteArray RestoreTransformedLine(const QByteArray& stored) {
  QByteArray line(stored.size(), '\0');
  std::transform(stored.rbegin(), stored.rend(), line.begin(), [](char c) {
    const auto code = static_cast<unsigned char>(c);
    return static_cast<char>(code == 0 ? 0 : code - 1);
  });
  return line;
}

QByteArray TransformLine(const QByteArray& line) {
  QByteArray stored(line.size(), '\0');
  std::transform(line.rbegin(), line.rend(), stored.begin(), [](char c) {
    return static_cast<char>(static_cast<unsigned char>(c) + 1);
  });
  return stored;
}

QString LookUpMessageText(const QString& text,
                          const QString& language_extension) {
  const QString name = FindFileIgnoringCase("VMESSAGE" + language_extension);
  if (name.isEmpty()) return text;
  std::optional<QByteArray> file = ReadTextFile(name);
  if (!file) return text;
  // The file search ignores case, so the "B" of ".JPB" may be a "b".
  const bool transformed =
      language_extension.endsWith('B', Qt::CaseInsensitive);
  // In a transformed file the end mark is stored one higher.
  TextLineReader reader(
      std::move(*file), transformed ? LineEnds::kCrOnly : LineEnds::kByFile,
      static_cast<char>(transformed ? kEndOfFileMark + 1 : kEndOfFileMark));
  auto restore = [transformed](const QByteArray& stored) {
    return transformed ? RestoreTransformedLine(stored) : stored;
  };
  while (std::optional<TextLine> line = reader.Next()) {
    if (line->marked) return text;
    if (DecodeTextLine(restore(line->bytes)) != text) continue;
    // A key on the last line has nothing to show in its place.
    const std::optional<TextLine> translation = reader.Next();
    return translation ? DecodeTextLine(restore(translation->bytes)) : text;
  }
  return text;
}

}  // namespace vocapost
