#include "messages/text_lines.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringDecoder>

namespace vocapost {

TextLineReader::TextLineReader(const QString& path, LineEnds ends)
    : file_(path.toStdString(), std::ios::binary), ends_(ends) {}

std::optional<QByteArray> TextLineReader::Next() {
  if (!file_.is_open()) return std::nullopt;
  QByteArray line;
  bool any = false;
  for (int c = file_.get(); c != std::char_traits<char>::eof();
       c = file_.get()) {
    any = true;
    if (c == '\n' && ends_ == LineEnds::kCrOrLf) return line;
    if (c == '\r') {
      if (file_.peek() == '\n') file_.get();
      return line;
    }
    if (line.size() < kMaxLineBytes) line.append(static_cast<char>(c));
  }
  if (!any) return std::nullopt;
  return line;
}

QString FindFileIgnoringCase(const QString& name) {
  if (QFileInfo(name).isFile()) return name;
  QDirIterator it(QDir::currentPath(), QDir::Files);
  while (it.hasNext()) {
    const QString found = it.nextFileInfo().fileName();
    if (found.compare(name, Qt::CaseInsensitive) == 0) return found;
  }
  return {};
}

QString DecodeTextLine(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) return QString::fromLatin1(bytes);
  return text;
}

}  // namespace vocapost
