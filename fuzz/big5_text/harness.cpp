// The Big5 (code page 950) helpers over any bytes: decoding never fails, and
// what it decoded encodes back to bytes that decode to the same text, less
// the replacement characters that stood for bytes that were not Big5.

#include "base/big5.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = big5::decode(bytes);
    QString missing;
    const QByteArray again = big5::encode(text, &missing);
    QString carried = text;
    carried.remove(QChar(QChar::ReplacementCharacter));
    if (!missing.isEmpty() && missing != QString(QChar(QChar::ReplacementCharacter)))
        std::abort(); // a decoded character Big5 cannot carry
    if (big5::decode(again) != carried || big5::unmappable(text) != missing)
        std::abort();
    if (big5::byteLength(carried) < 0)
        std::abort();
    return 0;
}
