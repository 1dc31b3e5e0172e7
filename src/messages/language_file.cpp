#include "messages/language_file.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <map>
#include <vector>

#include "messages/text_lines.h"

namespace vocapost {
namespace {

// Texts with names and reasons in them are looked up by their templates;
// a name is looked up in turn, so that a reason the program gives gets its
// own translation, but not deeper than this.
constexpr int kArgumentDepth = 2;

// The lines of a language file, up to and including the first one with the
// end mark: that line may still be a translation, but not a key.
struct LanguageLines {
  std::vector<QString> lines;
  size_t key_count = 0;
};

std::optional<LanguageLines> ReadLanguageLines(
    const QString& language_extension) {
  const QString name = FindFileIgnoringCase("VMESSAGE" + language_extension);
  if (name.isEmpty()) return std::nullopt;
  std::optional<QByteArray> file = ReadTextFile(name);
  if (!file) return std::nullopt;
  // The file search ignores case, so the "B" of ".JPB" may be a "b".
  const bool transformed =
      language_extension.endsWith('B', Qt::CaseInsensitive);
  // In a transformed file the end mark is stored one higher.
  TextLineReader reader(
      std::move(*file), transformed ? LineEnds::kCrOnly : LineEnds::kByFile,
      static_cast<char>(transformed ? kEndOfFileMark + 1 : kEndOfFileMark));
  LanguageLines read;
  read.key_count = std::numeric_limits<size_t>::max();
  while (std::optional<TextLine> line = reader.Next()) {
    const QByteArray bytes =
        transformed ? RestoreTransformedLine(line->bytes) : line->bytes;
    read.lines.push_back(DecodeTextLine(bytes, language_extension));
    if (line->marked) {
      read.key_count = read.lines.size() - 1;
      break;
    }
  }
  read.key_count = std::min(read.key_count, read.lines.size());
  return read;
}

bool IsPlaceholder(const QString& text, qsizetype at) {
  return at + 1 < text.size() && text[at] == '%' && text[at + 1] >= '1' &&
         text[at + 1] <= '9';
}

bool HasPlaceholder(const QString& text) {
  for (qsizetype at = 0; at < text.size(); ++at) {
    if (IsPlaceholder(text, at)) return true;
  }
  return false;
}

// The pieces that fill a template's %1 … %9, by number; nothing when `text`
// is not made from `key`.
std::optional<std::map<int, QString>> MatchTemplate(const QString& key,
                                                    const QString& text) {
  QString pattern = "^";
  std::map<int, int> groups;  // placeholder → capture group
  qsizetype literal_from = 0;
  for (qsizetype at = 0; at < key.size(); ++at) {
    if (!IsPlaceholder(key, at)) continue;
    pattern +=
        QRegularExpression::escape(key.mid(literal_from, at - literal_from));
    const int number = key[at + 1].digitValue();
    if (const auto group = groups.find(number); group != groups.end()) {
      pattern += "\\" + QString::number(group->second);
    } else {
      const int group_number = static_cast<int>(groups.size()) + 1;
      groups[number] = group_number;
      pattern += "(.*?)";
    }
    literal_from = ++at + 1;
  }
  pattern += QRegularExpression::escape(key.mid(literal_from)) + "$";
  const QRegularExpression expression(
      pattern, QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch match = expression.match(text);
  if (!match.hasMatch()) return std::nullopt;
  std::map<int, QString> pieces;
  for (const auto& [number, group] : groups)
    pieces[number] = match.captured(group);
  return pieces;
}

QString Fill(const QString& translation, const std::map<int, QString>& pieces) {
  QString filled;
  for (qsizetype at = 0; at < translation.size(); ++at) {
    const auto piece = IsPlaceholder(translation, at)
                           ? pieces.find(translation[at + 1].digitValue())
                           : pieces.end();
    if (piece == pieces.end()) {
      filled += translation[at];
      continue;
    }
    filled += piece->second;
    ++at;
  }
  return filled;
}

QString Translate(const LanguageLines& file, const QString& text, int depth) {
  const std::vector<QString>& lines = file.lines;
  for (size_t i = 0; i < file.key_count; ++i) {
    if (lines[i] != text) continue;
    // A key on the last line has nothing to show in its place.
    return i + 1 < lines.size() ? lines[i + 1] : text;
  }
  // "Exported to %1." is also made from "Exported to %1.  The last …": the
  // template that fixes most of the text is the one it was made from.
  std::optional<std::map<int, QString>> best;
  size_t best_line = 0;
  qsizetype best_fixed = -1;
  for (size_t i = 0; i + 1 < lines.size() && i < file.key_count; ++i) {
    if (!HasPlaceholder(lines[i])) continue;
    std::optional<std::map<int, QString>> pieces =
        MatchTemplate(lines[i], text);
    if (!pieces) continue;
    qsizetype fixed = text.size();
    for (const auto& [number, piece] : *pieces) fixed -= piece.size();
    if (fixed <= best_fixed) continue;
    best = std::move(pieces);
    best_line = i;
    best_fixed = fixed;
  }
  if (!best) return text;
  if (depth > 0) {
    for (auto& [number, piece] : *best)
      piece = Translate(file, piece, depth - 1);
  }
  return Fill(lines[best_line + 1], *best);
}

}  // namespace

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
  const std::optional<LanguageLines> file =
      ReadLanguageLines(language_extension);
  if (!file) return text;
  return Translate(*file, text, kArgumentDepth);
}

}  // namespace vocapost
