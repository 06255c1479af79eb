#include "members/export/xlsx_writer.h"

#include "base/errors.h"
#include "db/display_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <xlsxwriter.h>

namespace members::exporting {
namespace {

[[noreturn]] void failed(const QString& path, const QString& reason) {
    throw FileError(QStringLiteral("無法寫入檔案 %1: %2").arg(path, reason));
}

QString reasonOf(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

// The workbook being written; closed (and so freed) on every way out.
class Workbook {
public:
    explicit Workbook(const QByteArray& file) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(file.constData(), &options);
    }
    ~Workbook() {
        if (m_book != nullptr)
            workbook_close(m_book);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return m_book; }
    lxw_error close() {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        return workbook_close(book);
    }

private:
    lxw_workbook* m_book = nullptr;
};

struct Formats {
    lxw_format* heading;
    lxw_format* date;
};

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QVariant& value,
                    CellKind kind, const Formats& formats) {
    if (value.isNull())
        return LXW_NO_ERROR;
    switch (kind) {
    case CellKind::Date: {
        const std::optional<QDateTime> when = db::storedDateTime(value);
        if (!when)
            return LXW_NO_ERROR;
        const QDate date = when->date();
        lxw_datetime cell{date.year(), date.month(), date.day(), 0, 0, 0};
        return worksheet_write_datetime(sheet, row, column, &cell, formats.date);
    }
    case CellKind::YesNo:
        if (value.toString().isEmpty())
            return LXW_NO_ERROR;
        return worksheet_write_boolean(sheet, row, column, value.toBool() ? 1 : 0, nullptr);
    case CellKind::Text:
        break;
    }
    const QByteArray text = value.toString().toUtf8();
    if (text.isEmpty())
        return LXW_NO_ERROR;
    return worksheet_write_string(sheet, row, column, text.constData(), nullptr);
}

int writeWorkbook(const QString& target, const QString& file, const QList<Column>& columns,
                  const RowSource& rows) {
    Workbook book(QFile::encodeName(file));
    if (book.get() == nullptr)
        failed(target, QStringLiteral("無法建立活頁簿"));
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), nullptr);
    Formats formats{workbook_add_format(book.get()), workbook_add_format(book.get())};
    if (sheet == nullptr || formats.heading == nullptr || formats.date == nullptr)
        failed(target, QStringLiteral("記憶體不足"));
    format_set_bold(formats.heading);
    format_set_num_format(formats.date, "yyyy/mm/dd");
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QByteArray caption = columns[i].caption.toUtf8();
        const lxw_col_t column = lxw_col_t(i);
        lxw_error error = worksheet_set_column(
            sheet, column, column, columns[i].kind == CellKind::Date ? 12 : 14, nullptr);
        if (error == LXW_NO_ERROR && !caption.isEmpty())
            error = worksheet_write_string(sheet, 0, column, caption.constData(), formats.heading);
        if (error != LXW_NO_ERROR)
            failed(target, reasonOf(error));
    }
    int count = 0;
    QVariantList values;
    while (rows(values)) {
        const lxw_row_t row = lxw_row_t(count + 1);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const lxw_error error =
                writeCell(sheet, row, lxw_col_t(i), values.value(i), columns[i].kind, formats);
            if (error != LXW_NO_ERROR)
                failed(target, reasonOf(error));
        }
        ++count;
    }
    if (const lxw_error error = book.close(); error != LXW_NO_ERROR)
        failed(target, reasonOf(error));
    return count;
}

} // namespace

int writeXlsx(const QString& path, const QList<Column>& columns, const RowSource& rows) {
    // Written beside the file under a name of its own, then put in place.
    const QFileInfo info(path);
    QTemporaryFile part(
        info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    if (!part.open())
        failed(path, part.errorString());
    part.close();
    const int count = writeWorkbook(path, part.fileName(), columns, rows);
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(part.fileName()).toStdString()),
                            std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error)
        failed(path, QString::fromLocal8Bit(error.message()));
    part.setAutoRemove(false);
    return count;
}

} // namespace members::exporting
