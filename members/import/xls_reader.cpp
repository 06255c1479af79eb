#include "members/import/xls_reader.h"

#include "app/errors.h"
#include "members/import/cell_text.h"

#include <QFile>
#include <freexl.h>

namespace members {
namespace {

QString freexlError(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("找不到檔案");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("記憶體不足");
    case FREEXL_BIFF_UNSELECTED_SHEET:
    case FREEXL_BIFF_ILLEGAL_SHEET_INDEX:
        return QStringLiteral("活頁簿沒有工作表");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("檔案中沒有活頁簿");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return QStringLiteral("無法轉換文字編碼");
    default:
        return QStringLiteral("檔案已損壞或不是 Excel 活頁簿 (錯誤 %1)").arg(code);
    }
}

[[noreturn]] void fail(const QString& path, int code) {
    throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, freexlError(code)));
}

// FreeXL writes dates as "YYYY-MM-DD", date-times as "YYYY-MM-DD HH:MM:SS".
QString dateCellText(const char* text) {
    const QString value = QString::fromLatin1(text);
    const QDate date = QDate::fromString(value.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return value;
    const QTime time = value.size() > 10
                           ? QTime::fromString(value.mid(11), QStringLiteral("HH:mm:ss"))
                           : QTime(0, 0);
    return dateTimeText(date, time);
}

QString cellText(const FreeXL_CellValue& value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return numberText(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return QString::fromUtf8(value.value.text_value);
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
        return dateCellText(value.value.text_value);
    case FREEXL_CELL_TIME:
        return QString::fromLatin1(value.value.text_value);
    default:
        return QString();
    }
}

// Closes the FreeXL handle, which must be closed even after a failed open.
struct FreeXlHandle {
    FreeXlHandle() = default;
    ~FreeXlHandle() {
        if (pointer)
            freexl_close(pointer);
    }
    FreeXlHandle(const FreeXlHandle&) = delete;
    FreeXlHandle& operator=(const FreeXlHandle&) = delete;
    const void* pointer = nullptr;
};

class XlsReader : public WorkbookReader {
public:
    explicit XlsReader(const QString& path) : m_path(path) {
        // FreeXL takes a path in the file system's encoding.
        check(freexl_open(QFile::encodeName(path).constData(), &m_handle.pointer));
        check(freexl_select_active_worksheet(m_handle.pointer, 0));
        check(freexl_worksheet_dimensions(m_handle.pointer, &m_rows, &m_columns));
    }

    bool nextRow(SheetRow& row) override {
        if (m_next >= m_rows)
            return false;
        row.number = static_cast<int>(m_next) + 1;
        row.cells.clear();
        for (unsigned short column = 0; column < m_columns; ++column) {
            FreeXL_CellValue value;
            check(freexl_get_cell_value(m_handle.pointer, m_next, column, &value));
            row.cells.append(cellText(value));
        }
        ++m_next;
        return true;
    }

    int lastRowHint() const override { return static_cast<int>(m_rows); }

private:
    void check(int code) const {
        if (code != FREEXL_OK)
            fail(m_path, code);
    }

    QString m_path;
    FreeXlHandle m_handle;
    unsigned int m_rows = 0;
    unsigned short m_columns = 0;
    unsigned int m_next = 0;
};

} // namespace

std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path) {
    return std::make_unique<XlsReader>(path);
}

} // namespace members
