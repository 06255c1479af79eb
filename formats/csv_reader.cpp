#include "formats/csv_reader.h"

#include "base/big5.h"
#include "base/errors.h"
#include "formats/file_bytes.h"

#include <cstring>

namespace members {
namespace {

class CsvReader : public WorkbookReader {
public:
    CsvReader(CsvBytes bytes, char separator) : m_parser(std::move(bytes), separator) {
        m_lastRowHint = m_parser.lineCount();
    }

    bool nextRow(SheetRow& row) override {
        if (!m_parser.nextRow(row))
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

    // Marks a sequence whose character takes more than one UTF-16 unit.
    static constexpr char16_t kElsewhere = 0xFFFF;

    // The character of the sequence at data[at] (of size bytes) and the
    // sequence's length: a pair after a lead byte, otherwise one byte.
    // kElsewhere for one that big5::decode is to decode.
    char16_t unitAt(const unsigned char* data, qsizetype size, qsizetype at,
                    qsizetype& length) const {
        const unsigned char lead = data[at];
        length = 1;
        if (lead < 0x80)
            return lead;
        if (lead >= 0x81 && lead <= 0xFE && at + 1 < size) {
            length = 2;
            return m_pairs[(lead - 0x81) * 256 + data[at + 1]];
        }
        return m_single[lead];
    }

private:
    static char16_t one(const QByteArray& bytes) {
        const QString text = big5::decode(bytes);
        return text.size() == 1 && text.at(0).unicode() != kElsewhere ? text.at(0).unicode()
                                                                      : kElsewhere;
    }

    char16_t m_single[256];
    char16_t m_pairs[126 * 256];
};

const Big5Table& big5Table() {
    static const Big5Table table;
    return table;
}

// Replaces each half of a UTF-16 pair that has no other half by U+FFFD,
// which UTF-8 carries (and a half does not): the cell holding it is refused
// as one holding bytes without a character, not stored without it.
void markUnpairedSurrogates(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar(QChar::ReplacementCharacter);
    }
}

} // namespace

CsvBytes prepareCsv(QByteArray bytes) {
    // "Unicode text", as spreadsheet programs save it: UTF-16 behind its
    // byte-order mark, read here once and for all.
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        QString text = utf16.decode(QByteArrayView(bytes).sliced(2));
        if (utf16.hasError() || bytes.size() % 2 != 0)
            throw ConversionError(QStringLiteral("檔案標示為 UTF-16 文字，內容卻不是"));
        markUnpairedSurrogates(text);
        return {text.toUtf8(), CsvEncoding::Utf8};
    }
    if (!QByteArrayView(bytes).isValidUtf8())
        return {std::move(bytes), CsvEncoding::Big5};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return {std::move(bytes), CsvEncoding::Utf8};
}

char separatorOf(QByteArrayView bytes) {
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QByteArrayView first = lineEnd < 0 ? bytes : bytes.first(lineEnd);
    return first.contains('\t') && !first.contains(',') ? '\t' : ',';
}

CsvParser::CsvParser(CsvBytes bytes, char separator)
    : m_bytes(std::move(bytes)), m_separator(separator), m_row(m_bytes.encoding) {}

QChar* CsvText::room(qsizetype count) {
    if (m_text.size() - m_used < count)
        m_text.resize(qMax(2 * m_text.size(), m_used + count));
    return m_text.data() + m_used;
}

void CsvText::append(QByteArrayView raw) {
    const auto* data = reinterpret_cast<const unsigned char*>(raw.data());
    const qsizetype size = raw.size();
    // Neither encoding takes more characters than bytes, bar Big5 pairs
    // that stand for two characters (see below).
    QChar* out = room(size);
    if (m_encoding == CsvEncoding::Utf8) {
        m_used = m_utf8.appendToBuffer(out, raw) - m_text.constData();
        return;
    }
    const Big5Table& table = big5Table();
    for (qsizetype i = 0; i < size;) {
        qsizetype length = 0;
        const char16_t unit = table.unitAt(data, size, i, length);
        if (unit != Big5Table::kElsewhere) {
            *out++ = QChar(unit);
        } else { // not one UTF-16 unit
            const QString text = big5::decode(raw.sliced(i, length).toByteArray());
            m_used = out - m_text.constData();
            out = room(text.size() + size - i);
            std::memcpy(static_cast<void*>(out), text.constData(), size_t(text.size()) * 2);
            out += text.size();
        }
        i += length;
    }
    m_used = out - m_text.constData();
}

bool CsvParser::readPlainRow() {
    if (m_bytes.encoding != CsvEncoding::Utf8)
        return false; // a Big5 pair may end in any byte: read field by field
    const char* const data = m_bytes.bytes.constData();
    const char* const begin = data + m_position;
    const size_t rest = size_t(m_bytes.bytes.size() - m_position);
    const auto* lineFeed = static_cast<const char*>(std::memchr(begin, '\n', rest));
    const char* const lineEnd = lineFeed != nullptr ? lineFeed : begin + rest;
    const char* end = lineEnd;
    if (end > begin && end[-1] == '\r')
        --end;
    const auto length = size_t(end - begin);
    if (std::memchr(begin, '"', length) != nullptr || std::memchr(begin, '\r', length) != nullptr)
        return false;
    m_row.append(QByteArrayView(begin, end - begin));
    const QStringView text = m_row.view(0, m_row.size());
    const char16_t separator = char16_t(m_separator);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() == separator) {
            m_fields.emplace_back(start, i - start);
            start = i + 1;
        }
    }
    m_fields.emplace_back(start, text.size() - start);
    m_position = (lineFeed != nullptr ? lineFeed + 1 : lineEnd) - data;
    return true;
}

void CsvParser::readRow() {
    const char* const data = m_bytes.bytes.constData();
    const qsizetype size = m_bytes.bytes.size();
    const char separator = m_separator;
    qsizetype i = m_position;
    for (;;) {
        const qsizetype start = m_row.size();
        if (i < size && data[i] == '"') {
            // A quoted field runs to the quote that is not doubled.
            ++i;
            for (;;) {
                const void* quote = std::memchr(data + i, '"', size_t(size - i));
                if (quote == nullptr) { // no closing quote: the field runs to the end
                    m_row.append(QByteArrayView(data + i, size - i));
                    i = size;
                    break;
                }
                const qsizetype at = static_cast<const char*>(quote) - data;
                m_row.append(QByteArrayView(data + i, at - i));
                i = at + 1;
                if (i < size && data[i] == '"') {
                    m_row.append("\"");
                    ++i;
                } else {
                    break;
                }
            }
        }
        // The rest of the field up to a separator or the end of the line.
        const qsizetype from = i;
        while (i < size && data[i] != separator && data[i] != '\n' && data[i] != '\r')
            ++i;
        m_row.append(QByteArrayView(data + from, i - from));
        m_fields.emplace_back(start, m_row.size() - start);
        if (i < size && data[i] == separator) {
            ++i;
            continue;
        }
        if (i < size && data[i] == '\r') {
            ++i;
            if (i < size && data[i] == '\n')
                ++i;
        } else if (i < size && data[i] == '\n') {
            ++i;
        }
        break;
    }
    m_position = i;
}

bool CsvParser::nextRow(SheetRow& row) {
    row.clear();
    if (m_position >= m_bytes.bytes.size())
        return false;
    m_row.clear();
    m_fields.clear();
    if (!readPlainRow())
        readRow();
    // Views made once the row's text is whole: making room may have moved it.
    row.cells.resize(qsizetype(m_fields.size()));
    for (size_t field = 0; field < m_fields.size(); ++field)
        row.cells[qsizetype(field)] = m_row.view(m_fields[field].first, m_fields[field].second);
    return true;
}

int CsvParser::lineCount() const {
    // Line by line, each found by the C library's search, which takes many
    // bytes at a time.
    const char* at = m_bytes.bytes.constData();
    const char* const end = at + m_bytes.bytes.size();
    int lines = 1;
    while ((at = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)))) != nullptr) {
        ++lines;
        ++at;
    }
    return lines;
}

QString decodeCsv(const QByteArray& bytes) {
    const CsvBytes prepared = prepareCsv(bytes);
    CsvText text(prepared.encoding);
    text.append(prepared.bytes);
    return text.view(0, text.size()).toString();
}

std::unique_ptr<WorkbookReader> openCsvWorkbook(const QString& path) {
    CsvBytes bytes;
    try {
        bytes = prepareCsv(readFileBytes(path));
    } catch (const ConversionError& error) {
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, error.text()));
    }
    const char separator = separatorOf(bytes.bytes);
    return std::make_unique<CsvReader>(std::move(bytes), separator);
}

} // namespace members
