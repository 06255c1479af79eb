#include "formats/xlsx_reader.h"

#include "base/errors.h"
#include "formats/cell_text.h"
#include "formats/import_errors.h"
#include "formats/xlsx_parts.h"
#include "formats/xlsx_plain_cell.h"
#include "formats/xml_scanner.h"
#include "formats/zip_archive.h"

#include <limits>

namespace members {
namespace {

// Where the first worksheet is and what its cells need to be read.
struct SheetSetting {
    QString sheetPart;
    xlsx::SharedStrings sharedStrings;
    QList<NumberFormat> cellFormats;
    bool date1904 = false;
};

SheetSetting locateFirstSheet(const ZipArchive& archive) {
    SheetSetting setting;
    const QString packageRels = QStringLiteral("_rels/.rels");
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    if (archive.contains(packageRels)) {
        const QString target =
            xlsx::readRelationships(archive.read(packageRels), QString(), packageRels)
                .targetOfType(QStringLiteral("/officeDocument"));
        if (!target.isEmpty())
            workbookPart = target;
    }
    if (!archive.contains(workbookPart))
        archive.fail(workbookPart, QStringLiteral("不是 Excel 活頁簿"));
    const xlsx::WorkbookInfo workbook =
        xlsx::readWorkbookInfo(archive.read(workbookPart), workbookPart);
    setting.date1904 = workbook.date1904;

    const QString folder = xlsx::folderOf(workbookPart);
    const QString relsPart = xlsx::relationshipsPartOf(workbookPart);
    const xlsx::Relationships rels =
        xlsx::readRelationships(archive.read(relsPart), folder, relsPart);
    setting.sheetPart = rels.targetById.value(workbook.firstSheetId);
    if (setting.sheetPart.isEmpty() || !archive.contains(setting.sheetPart))
        archive.fail(workbookPart, QStringLiteral("活頁簿沒有工作表"));

    const QString strings = rels.targetOfType(QStringLiteral("/sharedStrings"));
    if (!strings.isEmpty() && archive.contains(strings)) {
        // Inflated while it is read, ahead of the reading; nothing else of
        // the archive is read until the entry is done.
        const std::unique_ptr<ZipEntry> entry = archive.open(strings, ZipEntry::Inflating::Ahead);
        setting.sharedStrings = xlsx::readSharedStrings(entry.get(), strings);
        if (entry->failed())
            archive.fail(strings, entry->errorString());
    }
    const QString styles = rels.targetOfType(QStringLiteral("/styles"));
    if (!styles.isEmpty() && archive.contains(styles))
        setting.cellFormats = xlsx::readCellFormats(archive.read(styles), styles);
    return setting;
}

// A date written as ISO 8601 text (a cell of type "d"), such as
// "2020-01-02" or "2020-01-02T13:45:00".
QString isoDateText(const QString& text) {
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid())
        return text;
    const QTime time =
        text.size() > 11 ? QTime::fromString(text.mid(11, 8), Qt::ISODate) : QTime(0, 0);
    return dateTimeText(date, time);
}

enum class CellType { Number, SharedString, InlineString, Text, Boolean, IsoDate, Error };

CellType cellType(QByteArrayView t) {
    if (t.size() == 1 && t[0] == 's') // the most common of all, first
        return CellType::SharedString;
    if (t.isEmpty() || t == "n")
        return CellType::Number;
    if (t == "s")
        return CellType::SharedString;
    if (t == "inlineStr")
        return CellType::InlineString;
    if (t == "b")
        return CellType::Boolean;
    if (t == "d")
        return CellType::IsoDate;
    if (t == "e")
        return CellType::Error;
    return CellType::Text; // "str": the text result of a formula
}

// The value of a decimal number up to limit; -1 for anything else, a
// number past limit included.
int toInt(QByteArrayView digits, int limit = std::numeric_limits<int>::max()) {
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > limit)
            return -1;
    }
    return digits.isEmpty() ? -1 : int(value);
}

// The value of bytes that are from one to most decimal digits and nothing
// else; -1 for any other bytes.
qint64 digitsValue(QByteArrayView bytes, qsizetype most) {
    if (bytes.isEmpty() || bytes.size() > most)
        return -1;
    qint64 value = 0;
    for (const char c : bytes) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The column of a cell reference such as "AB12" (from 1), read from the
// attribute's bytes as cellPosition reads a text; 0 past column XFD.
int columnOf(QByteArrayView reference) {
    int column = 0;
    for (const char c : reference) {
        const char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z')
            break;
        column = column * 26 + (upper - 'A' + 1);
        if (column > 16384)
            return 0;
    }
    return column;
}

// The highest row a sheet has.
constexpr int kLastSheetRow = 1048576;

class XlsxReader : public WorkbookReader {
public:
    explicit XlsxReader(const QString& path)
        : m_archive(path), m_setting(locateFirstSheet(m_archive)),
          m_sheet(m_archive.open(m_setting.sheetPart, ZipEntry::Inflating::Ahead)),
          m_xml(m_sheet.get()) {
        moveToRow();
    }

    bool nextRow(SheetRow& row) override {
        if (!m_onRow)
            return false;
        readRow(row);
        moveToRow();
        return true;
    }

    int lastRowHint() const override { return m_lastRowHint; }

private:
    using Token = xlsx::XmlScanner::Token;

    // Moves to the start of the next row, taking the sheet's extent on the
    // way; at the end of the sheet checks that it was read whole.
    void moveToRow() {
        for (;;) {
            const Token token = m_xml.next();
            if (token == Token::EndOfDocument) {
                m_onRow = false;
                checkEnd();
                return;
            }
            if (token != Token::Start)
                continue;
            if (m_xml.isName("row")) {
                m_onRow = true;
                return;
            }
            if (m_xml.isName("dimension")) {
                const QString ref = m_xml.attribute("ref");
                m_lastRowHint = cellPosition(QStringView(ref).mid(ref.indexOf(':') + 1)).second;
            }
        }
    }

    // Reads the row whose start the scanner is on, up to its end.
    void readRow(SheetRow& row) {
        const QByteArrayView given = m_xml.rawAttribute("r");
        const int number = given.isEmpty() ? m_lastRow + 1 : toInt(given, kLastSheetRow);
        if (number <= m_lastRow || number > kLastSheetRow)
            m_archive.fail(m_setting.sheetPart,
                           QStringLiteral("列號「%1」無效").arg(QString::fromLatin1(given)));
        row.number = number;
        m_lastRow = row.number;
        row.clear();
        for (;;) {
            // Cells of the common shape straight from the bytes; any other
            // markup through the scanner.
            constexpr qsizetype kLongestPlainCell = 256;
            const QByteArrayView upcoming = m_xml.upcoming(kLongestPlainCell);
            if (const std::optional<xlsx::PlainCell> cell = xlsx::plainCellAt(upcoming)) {
                readPlainCell(*cell, row);
                m_xml.skipBytes(cell->length);
                continue;
            }
            const Token token = m_xml.next();
            if (token == Token::Start && m_xml.isName("c"))
                readCell(row);
            else if (token == Token::Start)
                m_xml.skipElement();
            else if (token == Token::End || token == Token::EndOfDocument)
                break;
        }
        checkEnd();
    }

    // The column of a cell whose reference is given (or null), in row.
    static int cellColumn(QByteArrayView reference, const SheetRow& row) {
        return reference.isNull() ? int(row.cells.size()) + 1 : columnOf(reference);
    }

    void readPlainCell(const xlsx::PlainCell& cell, SheetRow& row) const {
        const int column = cellColumn(cell.reference, row);
        if (column < 1)
            return;
        const CellType type = cellType(cell.type);
        const int style = toInt(cell.style);
        if (cell.value.isNull()) // an empty element, read as one without <v>
            setCellText(row, column, cellText(type, QString(), style));
        else if (type == CellType::SharedString || type == CellType::Boolean ||
                 type == CellType::Number)
            setBytesCell(row, column, type, cell.value, style);
        else
            setCellText(row, column, cellText(type, xlsx::XmlScanner::decode(cell.value), style));
    }

    // Reads the cell whose start the scanner is on into its column.
    void readCell(SheetRow& row) {
        QByteArrayView attributes[3]; // r, t and s, read in one pass over the tag
        m_xml.rawAttributes({"r", "t", "s"}, attributes);
        const int column = cellColumn(attributes[0], row);
        const CellType type = cellType(attributes[1]);
        const int style = toInt(attributes[2]);
        // A shared string's index, a yes/no and a number are read from the
        // bytes, not from a text made of them: most cells of a sheet are such.
        const bool byBytes =
            type == CellType::SharedString || type == CellType::Boolean || type == CellType::Number;
        QString value;
        QByteArray bytes;       // the bytes of the cell's <v>
        bool lastBytes = false; // whether that <v> came last
        bool formula = false;
        bool result = false; // a <v> with text, or an inline string
        for (;;) {
            const Token token = m_xml.next();
            if (token == Token::Start && m_xml.isName("v") && byBytes) {
                bytes = m_xml.elementBytes();
                lastBytes = true;
                result = result || !bytes.isEmpty();
            } else if (token == Token::Start && m_xml.isName("v")) {
                value = m_xml.elementText();
                // An empty text is the result of a formula of type "str".
                result = true;
            } else if (token == Token::Start && m_xml.isName("is")) {
                value = inlineString();
                lastBytes = false;
                result = true;
            } else if (token == Token::Start) {
                formula = formula || m_xml.isName("f");
                m_xml.skipElement(); // a formula: its last result is in <v>
            } else if (token == Token::End || token == Token::EndOfDocument) {
                break;
            }
        }
        if (column < 1)
            return;
        if (formula && !result)
            refuseFormulaWithoutResult(row.number, column);
        if (lastBytes)
            setBytesCell(row, column, type, bytes, style);
        else
            setCellText(row, column,
                        type == CellType::InlineString ? value : cellText(type, value, style));
    }

    // Programs that write workbooks without a spreadsheet behind them leave
    // a formula's result out (or empty) until the workbook is opened and
    // saved: the cell's value is not known.
    [[noreturn]] void refuseFormulaWithoutResult(int row, int column) const {
        throw FileError(
            QStringLiteral("無法讀取檔案 %1: %2")
                .arg(m_archive.path(),
                     cellErrorText(row, column,
                                   QStringLiteral("的公式沒有存下計算結果"
                                                  "（請用 Excel 開啟後另存，或把公式改成值）"))));
    }

    static void setCellText(SheetRow& row, int column, QString text) {
        if (text.isNull()) // nothing to keep
            row.setView(column, QStringView());
        else
            row.setText(column, std::move(text));
    }

    // Sets a shared-string, yes/no or number cell whose <v> holds bytes to
    // the text cellText gives for the same value.
    void setBytesCell(SheetRow& row, int column, CellType type, QByteArrayView bytes,
                      int style) const {
        if (type == CellType::Boolean) {
            static const QString yes = QStringLiteral("TRUE");
            static const QString no = QStringLiteral("FALSE");
            row.setView(column, bytes == "1" ? yes : no);
            return;
        }
        // Digits alone are read here as a text's toInt and toDouble read
        // them: up to 9 for an index, up to 15 for a whole number a double
        // holds exactly.
        const qint64 digits = digitsValue(bytes, type == CellType::SharedString ? 9 : 15);
        if (digits >= 0 && type == CellType::SharedString) {
            row.setView(column, digits < m_setting.sharedStrings.size()
                                    ? m_setting.sharedStrings.at(digits)
                                    : QStringView());
            return;
        }
        if (digits >= 0 && type == CellType::Number) {
            setCellText(row, column, styledNumberText(double(digits), style));
            return;
        }
        // No bytes read as no text, as an element without text reads.
        setCellText(row, column,
                    cellText(type, bytes.isEmpty() ? QString() : QString::fromUtf8(bytes), style));
    }

    // The text of an inline string whose start the scanner is on: its <t>
    // elements, without phonetic guides.
    QString inlineString() {
        QString text;
        const int depth = m_xml.depth();
        for (;;) {
            const Token token = m_xml.next();
            if (token == Token::Start && m_xml.isName("t"))
                text += m_xml.elementText();
            else if (token == Token::Start && m_xml.isName("rPh"))
                m_xml.skipElement();
            else if ((token == Token::End && m_xml.depth() < depth) ||
                     token == Token::EndOfDocument)
                return text;
        }
    }

    QString cellText(CellType type, const QString& value, int style) const {
        switch (type) {
        case CellType::SharedString: {
            bool ok = false;
            const int index = value.toInt(&ok);
            return ok && index >= 0 && index < m_setting.sharedStrings.size()
                       ? m_setting.sharedStrings.at(index).toString()
                       : QString();
        }
        case CellType::Boolean:
            return value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case CellType::IsoDate:
            return isoDateText(value);
        case CellType::Number:
            break;
        case CellType::InlineString:
        case CellType::Text:
        case CellType::Error:
            return value;
        }
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        if (!isNumber)
            return value;
        return styledNumberText(number, style);
    }

    // The text of a number cell of value in style.
    QString styledNumberText(double value, int style) const {
        static const NumberFormat plain;
        const NumberFormat& format = style >= 0 && style < m_setting.cellFormats.size()
                                         ? m_setting.cellFormats.at(style)
                                         : plain;
        return formattedNumberText(value, format, m_setting.date1904);
    }

    void checkEnd() const {
        if (m_sheet->failed())
            m_archive.fail(m_setting.sheetPart, m_sheet->errorString());
        if (!m_xml.error().isEmpty())
            m_archive.fail(m_setting.sheetPart, m_xml.error());
    }

    ZipArchive m_archive;
    SheetSetting m_setting;
    std::unique_ptr<ZipEntry> m_sheet;
    xlsx::XmlScanner m_xml;
    bool m_onRow = false;
    int m_lastRowHint = 0;
    int m_lastRow = 0;
};

} // namespace

std::pair<int, int> cellPosition(QStringView reference) {
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        const char16_t c = reference.at(i).toUpper().unicode();
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + (c - 'A' + 1);
        if (column > 16384) // beyond the widest sheet, column XFD
            return {0, 0};
    }
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    return {column, ok && row > 0 && row <= 1048576 ? row : 0}; // up to the last row a sheet has
}

std::unique_ptr<WorkbookReader> openXlsxWorkbook(const QString& path) {
    return std::make_unique<XlsxReader>(path);
}

} // namespace members
