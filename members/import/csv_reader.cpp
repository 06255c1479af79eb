#include "members/import/csv_reader.h"

#include "app/big5.h"
#include "app/errors.h"

#include <QFile>
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
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return big5::decode(bytes);
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
    QString field;
    qsizetype i = m_position;
    for (;;) {
        if (i < size && text[i] == '"') {
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
        field += QStringView(text + start, i - start);
        fields.append(field);
        field.clear();
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("無法開啟檔案 %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, file.errorString()));
    QString text;
    try {
        text = decodeCsv(bytes);
    } catch (const ConversionError& error) {
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, error.text()));
    }
    return std::make_unique<CsvReader>(std::move(text), separatorOf(text));
}

} // namespace members
