#include "formats/workbook_reader.h"

#include "base/errors.h"
#include "formats/csv_reader.h"
#include "formats/xls_reader.h"
#include "formats/xlsx_reader.h"

#include <QFile>
#include <QFileInfo>

namespace members {
namespace {

enum class FileKind { Xls, Xlsx, Csv, Unknown };

FileKind kindOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("無法開啟檔案 %1: %2").arg(path, file.errorString()));
    const QByteArray head = file.read(8);
    if (head.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")))
        return FileKind::Xls; // the compound file that holds an Excel 97 workbook
    if (head.startsWith("PK\x03\x04"))
        return FileKind::Xlsx; // a zip container
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv" || suffix == u"txt")
        return FileKind::Csv;
    return FileKind::Unknown;
}

} // namespace

std::unique_ptr<WorkbookReader> openWorkbook(const QString& path) {
    switch (kindOf(path)) {
    case FileKind::Xls:
        return openXlsWorkbook(path);
    case FileKind::Xlsx:
        return openXlsxWorkbook(path);
    case FileKind::Csv:
        return openCsvWorkbook(path);
    case FileKind::Unknown:
        break;
    }
    throw FileError(
        QStringLiteral("無法讀取檔案 %1: 不是 Excel 活頁簿 (.xls, .xlsx) 或 CSV 檔").arg(path));
}

const QList<QStringView>& SheetCursor::row(int number) {
    while (!m_atEnd && (!m_haveNext || m_next.number < number)) {
        m_haveNext = m_reader.nextRow(m_next);
        m_atEnd = !m_haveNext;
    }
    if (m_haveNext && m_next.number == number)
        return m_next.cells;
    return m_empty;
}

QString SheetCursor::cell(int row, int column) {
    const QList<QStringView>& cells = this->row(row);
    return column >= 1 && column <= cells.size() ? cells.at(column - 1).toString() : QString();
}

} // namespace members
