#include "messages/text_lines.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringDecoder>

#include "platform/text/eight_bit_text.h"
#include "platform/text/regular_file.h"

namespace vocapost {

TextLineReader::TextLineReader(QByteArray text, LineEnds ends, char end_mark)
    : text_(std::move(text)),
      lf_ends_(ends == LineEnds::kByFile && !text_.contains('\r')),
      end_mark_(end_mark) {}

std::optional<TextLine> TextLineReader::Next() {
  const qsizetype size = text_.size();
  if (pos_ >= size) return std::nullopt;
  const char stop = lf_ends_ ? '\n' : '\r';
  qsizetype end = text_.indexOf(stop, pos_);
  if (end < 0) end = size;
  TextLine line;
  // The mark counts wherever it lies, in the kept part or past the cut.
  line.marked =
      QByteArrayView(text_).sliced(pos_, end - pos_).contains(end_mark_);
  line.bytes = text_.sliced(pos_, std::min(end - pos_, kMaxLineBytes));
  pos_ = end + 1;
  if (!lf_ends_ && pos_ < size && text_[pos_] == '\n') ++pos_;
  return line;
}

std::optional<QByteArray> ReadTextFile(const QString& path) {
  FileBytes file = ReadRegularFile(path, kLargestTextFile);
  if (file.result != FileRead::kRead) return std::nullopt;
  return std::move(file.bytes);
}

QString FindFileIgnoringCase(const QString& name) {
  if (QFileInfo(name).isFile()) return name;
  QDirIterator it(QDir::currentPath(), QDir::Files);
  while (it.hasNext()) {
    const QFileInfo found = it.nextFileInfo();
    // The filter lets links to devices through.
    if (found.isFile() &&
        found.fileName().compare(name, Qt::CaseInsensitive) == 0) {
      return found.fileName();
    }
  }
  return {};
}

QString DecodeTextLine(const QByteArray& bytes,
                       const QString& language_extension) {
  if (language_extension.compare(".JPN", Qt::CaseInsensitive) != 0)
    return DecodeEightBitText(bytes);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  return utf8.hasError() ? DecodeCodePage932(bytes) : text;
}

}  // namespace vocapost
