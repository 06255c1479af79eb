#include "base/big5.h"

#include <cerrno>
#include <iconv.h>

namespace big5 {
namespace {

// One iconv conversion descriptor, opened once per direction.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one complete input; returns false when the input holds a
    // sequence the target cannot carry (or that is not valid in the source).
    bool convert(const QByteArray& in, QByteArray& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 4 + 8);
        char* inPtr = const_cast<char*>(in.constData());
        size_t inLeft = static_cast<size_t>(in.size());
        char* outPtr = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        const size_t result = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.resize(out.size() - static_cast<qsizetype>(outLeft));
        return result != static_cast<size_t>(-1);
    }

private:
    iconv_t m_cd;
};

Converter& toBig5() {
    static Converter converter("CP950", "UTF-8");
    return converter;
}

Converter& fromBig5() {
    static Converter converter("UTF-8", "CP950");
    return converter;
}

} // namespace

QByteArray encode(const QString& text, QString* unmappable) {
    QByteArray result;
    QByteArray piece;
    // Convert one character at a time so that an unmappable one is skipped and named.
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (toBig5().convert(character.toUtf8(), piece)) {
            result += piece;
        } else if (unmappable && !unmappable->contains(character)) {
            *unmappable += character;
        }
        i += length - 1;
    }
    return result;
}

QString unmappable(const QString& text) {
    QString missing;
    encode(text, &missing);
    return missing;
}

QString decode(const QByteArray& bytes) {
    QString result;
    QByteArray piece;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes.at(i));
        const qsizetype length = (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
        if (fromBig5().convert(bytes.mid(i, length), piece))
            result += QString::fromUtf8(piece);
        else
            result += QChar(QChar::ReplacementCharacter);
        i += length;
    }
    return result;
}

int byteLength(const QString& text) {
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            ++i;
        bytes += unit < 0x80 ? 1 : 2;
    }
    return bytes;
}

} // namespace big5
