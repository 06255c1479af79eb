// An answer of the SMS gateway: the first line is taken as the Content-Type
// header, the rest as the body.
#include "sms/answer_text.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype newline = input.indexOf('\n');
    const QByteArray contentType = newline < 0 ? input : input.left(newline);
    const QByteArray body = newline < 0 ? QByteArray() : input.mid(newline + 1);
    const QByteArray charset = gateway::charsetOf(contentType);
    // A charset is read in lower case, without its quotes.
    if (charset != charset.toLower() || charset.contains('"'))
        std::abort();
    (void)gateway::answerText(body, contentType);
    return 0;
}
