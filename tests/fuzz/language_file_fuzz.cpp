// Any bytes as a plain and as a transformed language file; then the same
// lines written both ways must translate a key alike. The first input byte
// picks the key among the lines, the rest is the file.
#include "fuzz_support.h"
#include "messages/language_file.h"
#include "messages/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost::fuzz;
  const InHome in_home;
  if (size == 0) return 0;
  const QByteArray content = Bytes(data + 1, size - 1);
  WriteBytes("VMESSAGE.RAW", content);
  WriteBytes("VMESSAGE.RAWB", content);
  QByteArrayList lines = content.split('\n'), stored;
  for (QByteArray& line : lines) {
    // Kept to what survives both ways of storing: no line ends, and nothing
    // the transform would turn into a line end or lose (12 becomes 13, 255
    // wraps).
    line.removeIf([](char c) {
      return c == '\r' || c == '\f' || static_cast<unsigned char>(c) == 255;
    });
    stored << TransformLine(line);
    Check(RestoreTransformedLine(stored.back()) == line,
          "a transformed line does not come back");
  }
  const QString key = DecodeTextLine(lines[data[0] % lines.size()], ".RAW");
  LookUpMessageText(key, ".RAW");
  LookUpMessageText(key, ".RAWB");
  WriteBytes("VMESSAGE.TWO", lines.join("\r\n"));
  WriteBytes("VMESSAGE.TWOB", stored.join("\r\n"));
  Check(LookUpMessageText(key, ".TWO") == LookUpMessageText(key, ".TWOB"),
        "plain and transformed files translate differently");
  return 0;
}
