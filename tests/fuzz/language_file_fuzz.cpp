// Any bytes as a plain and as a transformed language file, asked for the
// translation of one of its own lines: the first input byte picks the line,
// the rest is the file.
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
  const QByteArrayList lines = content.split('\n');
  const QString key = DecodeTextLine(lines[data[0] % lines.size()], ".RAW");
  LookUpMessageText(key, ".RAW");
  LookUpMessageText(key, ".RAWB");
  return 0;
}
