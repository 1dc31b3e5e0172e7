// Any bytes as a plain and as a transformed language file; then the same
// lines written both ways must translate a key alike. The first input byte
// picks the key among the lines, the rest is the file.
#include <QList>

#include "fuzz_support.h"
#include "messages/language_file.h"
#include "messages/text_lines.h"

namespace vocapost::fuzz {
namespace {

// Lines that survive both ways of storing: no line ends, and nothing the
// transform would turn into a line end or lose (12 becomes 13, 255 wraps).
QList<QByteArray> StorableLines(const QByteArray& content) {
  QList<QByteArray> lines = content.split('\n');
  for (QByteArray& line : lines) {
    line.removeIf([](char c) {
      return c == '\r' || c == '\f' || static_cast<unsigned char>(c) == 255;
    });
  }
  return lines;
}

}  // namespace
}  // namespace vocapost::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost;
  using namespace vocapost::fuzz;
  const InHome in_home;
  if (size == 0) return 0;
  const QByteArray content(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
  const QList<QByteArray> lines = StorableLines(content);
  const QString key = DecodeTextLine(lines[data[0] % lines.size()], ".RAW");

  WriteBytes("VMESSAGE.RAW", content);
  WriteBytes("VMESSAGE.RAWB", content);
  LookUpMessageText(key, ".RAW");
  LookUpMessageText(key, ".RAWB");

  QByteArray plain, transformed;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray stored = TransformLine(lines[i]);
    Check(RestoreTransformedLine(stored) == lines[i],
          "a transformed line does not come back");
    const QByteArray end = i + 1 < lines.size() ? "\r\n" : "";
    plain += lines[i] + end;
    transformed += stored + end;
  }
  WriteBytes("VMESSAGE.TWO", plain);
  WriteBytes("VMESSAGE.TWOB", transformed);
  Check(LookUpMessageText(key, ".TWO") == LookUpMessageText(key, ".TWOB"),
        "plain and transformed files translate differently");
  return 0;
}
