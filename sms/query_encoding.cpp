#include "sms/query_encoding.h"

#include "base/big5.h"
#include "base/errors.h"

namespace gateway {
namespace {

bool staysAsIs(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

QString listed(const QString& characters) {
    QStringList each;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const qsizetype length = characters.at(i).isHighSurrogate() ? 2 : 1;
        each << QStringLiteral("「%1」").arg(characters.mid(i, length));
        i += length - 1;
    }
    return each.join(QString());
}

} // namespace

QByteArray percentEncode(const QByteArray& bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (staysAsIs(c)) {
            encoded += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        encoded += '%';
        encoded += hex[byte >> 4];
        encoded += hex[byte & 0x0F];
    }
    return encoded;
}

QByteArray big5Value(const QueryField& field) {
    QString missing;
    const QByteArray bytes = big5::encode(field.value, &missing);
    if (!missing.isEmpty()) {
        throw ConversionError(
            QStringLiteral("%1含有 Big5 無法表示的字元 %2，簡訊閘道無法接收，因此沒有送出。")
                .arg(field.caption.isEmpty() ? field.key : field.caption, listed(missing)));
    }
    return bytes;
}

bool hasWebScheme(const QString& host) {
    return host.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
           host.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

QByteArray wireAddress(const GatewayRequest& request, const QString& host) {
    QByteArray address = hasWebScheme(host) ? QByteArray() : QByteArray("http://");
    address += host.toUtf8() + request.path.toUtf8();
    char separator = '?';
    for (const QueryField& field : request.fields) {
        address += separator;
        address += field.key.toLatin1();
        address += '=';
        address += percentEncode(big5Value(field));
        separator = '&';
    }
    return address;
}

} // namespace gateway
