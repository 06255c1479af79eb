#include "members/import/csv_reader.h"

#include "base/big5.h"
#include "base/errors.h"
#include "members/import/file_bytes.h"

#include <QStringDecoder>

namespace members {
namespace {

class CsvReader : public WorkbookReader {
public:
    CsvReader(QString text, QChar separator) : m_parser(std::move(text), separator) {
        m_lastRowHint = m_parser.lineCount();
    }

    bool nextRow(SheetRow& row) override {
        if (!m_parser.nextRow(row.cells))
            return false;
        row.number = ++m_row;
        return true;
    }

    int lastRowHint() const override { return m_lastRowHint; }

private:
    CsvParser m_parser;
    int m_row = 0;
    int m_lastRowHint = 0;
};

// Big5 decoded through a table of every byte and byte pair, each entry
// taken once from big5::decode: the same text, without a conversion call
// for each character of a file of many thousand rows.
class Big5Table {
public:
    Big5Table() {
        for (int byte = 0; byte < 256; ++byte)
            m_single[byte] = one(QByteArray(1, char(byte)));
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0; trail < 256; ++trail)
                m_pairs[(lead - 0x81) * 256 + trail] =
                    one(QByteArray(1, char(lead)) + QByteArray(1, char(trail)));
        }
    }

    QString decode(const QByteArray& bytes) const {
        QString text;
        text.reserve(bytes.size());
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
        const qsizetype size = bytes.size();
        for (qsizetype i = 0; i < size;) {
            const unsigned char lead = data[i];
            char16_t unit = 0;
            qsizetype length = 1;
            if (lead < 0x80) {
                unit = lead;
            } else if (lead >= 0x81 && lead <= 0xFE && i + 1 < size) {
                unit = m_pairs[(lead - 0x81) * 256 + data[i + 1]];
                length = 2;
            } else {
                unit = m_single[lead];
            }
            if (unit == kElsewhere)
                text += big5::decode(bytes.mid(i, length)); // not one UTF-16 unit
            else
                text += QChar(unit);
            i += length;
        }
        return text;
    }

private:
    // Marks a sequence whose character takes more than one UTF-16 unit.
    static constexpr char16_t kElsewhere = 0xFFFF;

    static char16_t one(const QByteArray& bytes) {
        const QString text = big5::decode(bytes);
        return text.size() == 1 && text.at(0).unicode() != kElsewhere ? text.at(0).unicode()
                                                                      : kElsewhere;
    }

    char16_t m_single[256];
    char16_t m_pairs[126 * 256];
};

// Whether the first bytes (some thousands, ending before a character)
// are valid UTF-8: when they are not, neither is the whole, and a Big5
// file is known as such without decoding all of it as UTF-8 first.
bool startsAsUtf8(const QByteArray& bytes) {
    constexpr qsizetype kLooked = 1 << 16;
    if (bytes.size() <= kLooked)
        return true; // decoded whole soon enough
    qsizetype end = kLooked;
    while (end > 0 && (quint8(bytes.at(end)) & 0xC0) == 0x80)
        --end; // not inside a character's trailing bytes
    return QByteArrayView(bytes).first(end).isValidUtf8();
}

} // namespace

QChar separatorOf(const QString& text) {
    const QStringView first = QStringView(text).left(text.indexOf('\n'));
    return first.contains('\t') && !first.contains(',') ? QChar('\t') : QChar(',');
}

QString decodeCsv(const QByteArray& bytes) {
    // "Unicode text", as spreadsheet programs save it: UTF-16 behind its
    // byte-order mark.
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        QString text = utf16.decode(QByteArrayView(bytes).sliced(2));
        if (utf16.hasError() || bytes.size() % 2 != 0)
            throw ConversionError(QStringLiteral("檔案標示為 UTF-16 文字，內容卻不是"));
        return text;
    }
    static const Big5Table big5Table;
    if (!startsAsUtf8(bytes))
        return big5Table.decode(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return big5Table.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool CsvParser::nextRow(QStringList& fields) {
    fields.clear();
    const qsizetype size = m_text.size();
    if (m_position >= size)
        return false;
    const QChar* text = m_text.constData();
    qsizetype i = m_position;
    for (;;) {
        QString field;
        const bool quoted = i < size && text[i] == '"';
        if (quoted) {
            // A quoted field runs to the quote that is not doubled.
            ++i;
            for (;;) {
                const qsizetype quote = m_text.indexOf('"', i);
                if (quote < 0) { // no closing quote: the field runs to the end
                    field += QStringView(text + i, size - i);
                    i = size;
                    break;
                }
                field += QStringView(text + i, quote - i);
                i = quote + 1;
                if (i < size && text[i] == '"') {
                    field += '"';
                    ++i;
                } else {
                    break;
                }
            }
        }
        // The rest of the field up to a comma or the end of the line.
        const qsizetype start = i;
        while (i < size && text[i] != m_separator && text[i] != '\n' && text[i] != '\r')
            ++i;
        if (quoted)
            field += QStringView(text + start, i - start);
        else if (i > start) // made once, in its size (an empty field stays a null text)
            field = QString(text + start, i - start);
        fields.append(std::move(field));
        if (i < size && text[i] == m_separator) {
            ++i;
            continue;
        }
        if (i < size && text[i] == '\r') {
            ++i;
            if (i < size && text[i] == '\n')
                ++i;
        } else if (i < size && text[i] == '\n') {
            ++i;
        }
        break;
    }
    m_position = i;
    return true;
}

int CsvParser::lineCount() const {
    return static_cast<int>(m_text.count('\n')) + 1;
}

std::unique_ptr<WorkbookReader> openCsvWorkbook(const QString& path) {
    const QByteArray bytes = readFileBytes(path);
    QString text;
    try {
        text = decodeCsv(bytes);
    } catch (const ConversionError& error) {
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, error.text()));
    }
    return std::make_unique<CsvReader>(std::move(text), separatorOf(text));
}

} // namespace members
