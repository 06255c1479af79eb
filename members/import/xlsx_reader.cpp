#include "members/import/xlsx_reader.h"

#include "app/errors.h"
#include "members/import/cell_text.h"
#include "members/import/xlsx_parts.h"
#include "members/import/zip_archive.h"

#include <QXmlStreamReader>

namespace members {
namespace {

// Where the first worksheet is and what its cells need to be read.
struct SheetSetting {
    QString sheetPart;
    QStringList sharedStrings;
    QList<bool> dateStyles;
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
    if (!strings.isEmpty() && archive.contains(strings))
        setting.sharedStrings = xlsx::readSharedStrings(archive.read(strings), strings);
    const QString styles = rels.targetOfType(QStringLiteral("/styles"));
    if (!styles.isEmpty() && archive.contains(styles))
        setting.dateStyles = xlsx::readDateStyles(archive.read(styles), styles);
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

class XlsxReader : public WorkbookReader {
public:
    explicit XlsxReader(const QString& path)
        : m_archive(path), m_setting(locateFirstSheet(m_archive)),
          m_sheet(m_archive.open(m_setting.sheetPart)), m_xml(m_sheet.get()) {
        readToFirstRow();
    }

    bool nextRow(SheetRow& row) override {
        while (!m_xml.atEnd()) {
            if (m_xml.isStartElement() && m_xml.name() == u"row") {
                readRow(row);
                return true;
            }
            m_xml.readNext();
        }
        checkEnd();
        return false;
    }

    int lastRowHint() const override { return m_lastRowHint; }

private:
    // Reads up to the first row, taking the sheet's extent on the way.
    void readToFirstRow() {
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (!m_xml.isStartElement())
                continue;
            if (m_xml.name() == u"row")
                return;
            if (m_xml.name() == u"dimension") {
                const QStringView ref = m_xml.attributes().value(QLatin1String("ref"));
                m_lastRowHint = cellPosition(ref.mid(ref.indexOf(':') + 1)).second;
            }
        }
        checkEnd();
    }

    // Reads the row the reader is on, leaving it after the row's end.
    void readRow(SheetRow& row) {
        const QStringView number = m_xml.attributes().value(QLatin1String("r"));
        row.number = number.isEmpty() ? m_lastRow + 1 : number.toInt();
        m_lastRow = row.number;
        row.cells.clear();
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement() && m_xml.name() == u"c")
                readCell(row.cells);
            else if (m_xml.isEndElement() && m_xml.name() == u"row")
                break;
        }
        m_xml.readNext();
        checkEnd();
    }

    // Reads one cell element into its column of cells.
    void readCell(QStringList& cells) {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QStringView reference = attributes.value(QLatin1String("r"));
        const int column =
            reference.isEmpty() ? int(cells.size()) + 1 : cellPosition(reference).first;
        const QString type = attributes.value(QLatin1String("t")).toString();
        const int style = attributes.value(QLatin1String("s")).toInt();
        QString value;
        QString inlineText;
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement()) {
                if (m_xml.name() == u"v")
                    value = m_xml.readElementText();
                else if (m_xml.name() == u"is")
                    inlineText = inlineString();
                else
                    m_xml.skipCurrentElement(); // a formula: its result is in <v>
            } else if (m_xml.isEndElement()) {
                break;
            }
        }
        if (column < 1)
            return;
        while (cells.size() < column)
            cells.append(QString());
        cells[column - 1] = type == u"inlineStr" ? inlineText : cellText(type, value, style);
    }

    QString inlineString() {
        QString text;
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement() && m_xml.name() == u"t")
                text += m_xml.readElementText();
            else if (m_xml.isStartElement() && m_xml.name() == u"rPh")
                m_xml.skipCurrentElement();
            else if (m_xml.isEndElement() && m_xml.name() == u"is")
                break;
        }
        return text;
    }

    QString cellText(const QString& type, const QString& value, int style) const {
        if (type == u"s") {
            const int index = value.toInt();
            return index >= 0 && index < m_setting.sharedStrings.size()
                       ? m_setting.sharedStrings.at(index)
                       : QString();
        }
        if (type == u"b")
            return value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        if (type == u"d")
            return isoDateText(value);
        if (type == u"str" || type == u"e" || value.isEmpty())
            return value;
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        if (!isNumber)
            return value;
        if (style >= 0 && style < m_setting.dateStyles.size() && m_setting.dateStyles.at(style)) {
            const QString date = serialDateText(number, m_setting.date1904);
            if (!date.isEmpty())
                return date;
        }
        return numberText(number);
    }

    void checkEnd() const {
        if (m_xml.hasError() || m_sheet->failed()) {
            const QString reason = m_sheet->failed() ? m_sheet->errorString()
                                                     : QStringLiteral("%1 (第 %2 行)")
                                                           .arg(m_xml.errorString())
                                                           .arg(m_xml.lineNumber());
            m_archive.fail(m_setting.sheetPart, reason);
        }
    }

    ZipArchive m_archive;
    SheetSetting m_setting;
    std::unique_ptr<ZipEntry> m_sheet;
    QXmlStreamReader m_xml;
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
    return {column, ok && row > 0 ? row : 0};
}

std::unique_ptr<WorkbookReader> openXlsxWorkbook(const QString& path) {
    return std::make_unique<XlsxReader>(path);
}

} // namespace members
