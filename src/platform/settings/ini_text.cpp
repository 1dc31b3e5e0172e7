#include "platform/settings/ini_text.h"

#include "platform/text/eight_bit_text.h"

namespace vocapost {
namespace {

bool SameName(const QString& found, const QString& wanted) {
  return found.compare(wanted, Qt::CaseInsensitive) == 0;
}

bool HoldsLineEnd(const QString& text) {
  return text.contains('\n') || text.contains('\r');
}

// A name that reads back as itself from the line it is written on.
bool UsableName(const QString& name) {
  return !name.isEmpty() && name.trimmed() == name && !HoldsLineEnd(name);
}

bool UsableSection(const QString& section) {
  return UsableName(section) && !section.contains(']');
}

bool UsableKey(const QString& key) {
  return UsableName(key) && !key.contains('=') && !key.startsWith('[') &&
         !key.startsWith(';');
}

}  // namespace

IniText::IniText(QByteArray bytes) : bytes_(std::move(bytes)) { Parse(); }

void IniText::Parse() {
  lines_.clear();
  const qsizetype size = bytes_.size();
  qsizetype pos = bytes_.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  while (pos < size) {
    Line line;
    line.begin = pos;
    const qsizetype lf = bytes_.indexOf('\n', pos);
    if (lf < 0) {
      line.end = line.next = size;
    } else {
      line.end = lf > pos && bytes_[lf - 1] == '\r' ? lf - 1 : lf;
      line.next = lf + 1;
    }
    lines_.push_back(Classify(bytes_, line));
    pos = line.next;
  }
}

IniText::Line IniText::Classify(const QByteArray& bytes, Line line) {
  qsizetype start = line.begin;
  while (start < line.end && (bytes[start] == ' ' || bytes[start] == '\t'))
    ++start;
  if (start == line.end || bytes[start] == ';') return line;
  const QByteArrayView text(bytes.constData() + start, line.end - start);
  if (text.front() == '[') {
    const qsizetype close = text.indexOf(']');
    if (close < 0) return line;
    line.kind = Kind::kSection;
    line.name =
        DecodeEightBitText(text.sliced(1, close - 1).toByteArray()).trimmed();
    return line;
  }
  const qsizetype equals = text.indexOf('=');
  if (equals < 0) return line;
  line.kind = Kind::kKey;
  line.name = DecodeEightBitText(text.first(equals).toByteArray()).trimmed();
  line.value_at = start + equals + 1;
  return line;
}

std::optional<size_t> IniText::FindKey(const QString& section,
                                       const QString& key) const {
  bool inside = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::kSection) inside = SameName(line.name, section);
    if (inside && line.kind == Kind::kKey && SameName(line.name, key)) return i;
  }
  return std::nullopt;
}

std::optional<size_t> IniText::EndOfSection(const QString& section) const {
  std::optional<size_t> last;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::kSection) {
      if (last) break;
      if (SameName(line.name, section)) last = i;
    } else if (last && line.kind == Kind::kKey) {
      last = i;
    }
  }
  return last;
}

std::optional<QByteArray> IniText::Value(const QString& section,
                                         const QString& key) const {
  const std::optional<size_t> i = FindKey(section, key);
  if (!i) return std::nullopt;
  const Line& line = lines_[*i];
  return bytes_.sliced(line.value_at, line.end - line.value_at);
}

bool IniText::HasSection(const QString& section) const {
  return EndOfSection(section).has_value();
}

QByteArray IniText::LineEnd() const {
  const qsizetype lf = bytes_.indexOf('\n');
  return lf > 0 && bytes_[lf - 1] == '\r' ? "\r\n" : "\n";
}

void IniText::InsertLinesAfter(qsizetype index, const QByteArrayList& lines) {
  const QByteArray eol = LineEnd();
  const QByteArray text = lines.join(eol);
  if (index < 0) {
    bytes_.append(text + eol);
  } else {
    const Line& line = lines_[static_cast<size_t>(index)];
    // A last line without a line end stays without one.
    if (line.next > line.end) {
      bytes_.insert(line.next, text + eol);
    } else {
      bytes_.insert(line.end, eol + text);
    }
  }
  Parse();
}

bool IniText::SetValue(const QString& section, const QString& key,
                       const QByteArray& value) {
  if (!UsableSection(section) || !UsableKey(key) || value.contains('\n') ||
      value.contains('\r')) {
    return false;
  }
  if (const std::optional<size_t> i = FindKey(section, key)) {
    const Line& line = lines_[*i];
    bytes_.replace(line.value_at, line.end - line.value_at, value);
    Parse();
    return true;
  }
  const QByteArray entry = key.toUtf8() + "=" + value;
  if (const std::optional<size_t> end = EndOfSection(section)) {
    InsertLinesAfter(static_cast<qsizetype>(*end), {entry});
  } else {
    InsertLinesAfter(static_cast<qsizetype>(lines_.size()) - 1,
                     {"[" + section.toUtf8() + "]", entry});
  }
  return true;
}

bool IniText::AddSection(const QString& section) {
  if (!UsableSection(section)) return false;
  if (!HasSection(section)) {
    InsertLinesAfter(static_cast<qsizetype>(lines_.size()) - 1,
                     {"[" + section.toUtf8() + "]"});
  }
  return true;
}

}  // namespace vocapost
