// The gateway's query encoding over any text (read as UTF-8): a value Big5
// cannot carry is refused with ConversionError, and every other one becomes
// an address whose value part holds only the bytes allowed in a query and
// percent-decodes back to the value's Big5 bytes.

#include "base/big5.h"
#include "base/errors.h"
#include "sms/query_encoding.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool allowedInValue(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':' || c == '%';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString value =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QueryField field{QStringLiteral("msg"), value, QStringLiteral("簡訊內容")};
    GatewayRequest request;
    request.path = QStringLiteral("/STANDARD/SMS.ASP");
    request.fields = {field};
    QByteArray address;
    try {
        address = gateway::wireAddress(request, QStringLiteral("sms.example:8080"));
    } catch (const ConversionError&) {
        if (big5::unmappable(value).isEmpty())
            std::abort(); // refused a value Big5 can carry
        return 0;
    }
    const QByteArray prefix = "http://sms.example:8080/STANDARD/SMS.ASP?msg=";
    if (!address.startsWith(prefix))
        std::abort();
    const QByteArray encoded = address.mid(prefix.size());
    for (char c : encoded) {
        if (!allowedInValue(c))
            std::abort(); // a byte that could cut the query short
    }
    if (QByteArray::fromPercentEncoding(encoded) != big5::encode(value))
        std::abort();
    return 0;
}
