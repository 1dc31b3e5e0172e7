#include "platform/text/eight_bit_text.h"

#include <QStringDecoder>
#include <array>

namespace vocapost {
namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto code = static_cast<unsigned char>(c);
    *out++ = code >= 0x80 && code <= 0x9F ? QChar(kHighControls[code - 0x80])
                                          : QChar(code);
  }
  return text;
}

QString DecodeCodePage932(const QByteArray& bytes) {
  // ICU knows the code page by Windows' name; plain Shift-JIS lacks the
  // NEC and IBM rows that Japanese Windows text may hold.
  QStringDecoder cp932("windows-31j", QStringDecoder::Flag::Stateless);
  if (!cp932.isValid()) cp932 = QStringDecoder("Shift_JIS");
  if (!cp932.isValid()) return DecodeWindows1252(bytes);
  return cp932.decode(bytes);
}

QString DecodeEightBitText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) return DecodeWindows1252(bytes);
  return text;
}

}  // namespace vocapost
