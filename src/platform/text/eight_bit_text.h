#pragma once

#include <QByteArray>
#include <QString>

namespace vocapost {

// Text files written by hand may be UTF-8 or Windows' 8-bit code page:
// bytes that are valid UTF-8 are read as UTF-8, anything else as
// Windows-1252 (its quotes, dashes and euro sign included).
QString DecodeEightBitText(const QByteArray& bytes);

// Windows-1252: Latin-1 except for 0x80–0x9F; the five bytes it leaves
// undefined keep their C1 code points.
QString DecodeWindows1252(const QByteArray& bytes);

// Windows' Japanese code page 932 (Shift-JIS with its extensions).
QString DecodeCodePage932(const QByteArray& bytes);

}  // namespace vocapost
