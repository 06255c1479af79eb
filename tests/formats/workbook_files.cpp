#include "tests/formats/workbook_files.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <xlsxwriter.h>

namespace test_files {

struct XlsxFile::Parts {
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    std::map<std::string, lxw_format*> formats;
    std::map<int, lxw_format*> builtIn;

    lxw_format* format(const char* code) {
        auto found = formats.find(code);
        if (found != formats.end())
            return found->second;
        lxw_format* made = workbook_add_format(workbook);
        format_set_num_format(made, code);
        formats[code] = made;
        return made;
    }
    lxw_format* builtInFormat(int id) {
        auto found = builtIn.find(id);
        if (found != builtIn.end())
            return found->second;
        lxw_format* made = workbook_add_format(workbook);
        format_set_num_format_index(made, static_cast<uint8_t>(id));
        builtIn[id] = made;
        return made;
    }
};

XlsxFile::XlsxFile(const QString& path, bool inlineStrings) : m_parts(new Parts) {
    lxw_workbook_options options = {};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    m_parts->workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    m_parts->sheet = workbook_add_worksheet(m_parts->workbook, nullptr);
}

XlsxFile::~XlsxFile() {
    close();
    delete m_parts;
}

void XlsxFile::put(int row, int column, const Cell& cell) {
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    lxw_worksheet* sheet = m_parts->sheet;
    if (const auto* text = std::get_if<QString>(&cell)) {
        worksheet_write_string(sheet, r, c, text->toUtf8().constData(), nullptr);
    } else if (const auto* number = std::get_if<Number>(&cell)) {
        worksheet_write_number(sheet, r, c, number->value,
                               number->format ? m_parts->format(number->format) : nullptr);
    } else if (const auto* date = std::get_if<Date>(&cell)) {
        lxw_datetime value = {date->date.year(), date->date.month(), date->date.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, r, c, &value, m_parts->format(date->format));
    } else if (const auto* stamp = std::get_if<DateTime>(&cell)) {
        lxw_datetime value = {stamp->date.year(), stamp->date.month(), stamp->date.day(),
                              stamp->hour,        stamp->minute,       0};
        worksheet_write_datetime(sheet, r, c, &value, m_parts->format(stamp->format));
    } else if (const auto* builtIn = std::get_if<BuiltInFormat>(&cell)) {
        worksheet_write_number(sheet, r, c, builtIn->value, m_parts->builtInFormat(builtIn->id));
    } else if (const auto* boolean = std::get_if<Boolean>(&cell)) {
        worksheet_write_boolean(sheet, r, c, boolean->value ? 1 : 0, nullptr);
    }
}

void XlsxFile::putRow(int row, const QStringList& texts) {
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (!texts.at(i).isEmpty())
            put(row, int(i) + 1, texts.at(i));
    }
}

void XlsxFile::close() {
    if (m_parts->workbook == nullptr)
        return;
    const lxw_error error = workbook_close(m_parts->workbook);
    m_parts->workbook = nullptr;
    ASSERT_EQ(error, LXW_NO_ERROR) << lxw_strerror(error);
}

QString csvText(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (QString field : row) {
            if (field.contains(',') || field.contains('"') || field.contains('\n')) {
                field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                field = '"' + field + '"';
            }
            fields.append(field);
        }
        text += fields.join(',') + QStringLiteral("\r\n");
    }
    return text;
}

QStringList memberRow(const QString& id, const QString& name) {
    QStringList row(22);
    row[0] = id;
    row[1] = name;
    row[2] = QStringLiteral("先生");
    row[3] = QStringLiteral("02-2345-6789");
    row[4] = QStringLiteral("0912-345-678");
    row[7] = QStringLiteral("一般");
    row[8] = QStringLiteral("1976/12/31");
    row[9] = QStringLiteral("65/12/31");
    row[12] = QStringLiteral("台北市中正區");
    return row;
}

QList<RowTexts> readAllRows(members::WorkbookReader& reader) {
    QList<RowTexts> rows;
    members::SheetRow row;
    while (reader.nextRow(row))
        rows.append({row.number, row.texts()});
    return rows;
}

QList<RowTexts> readAllRows(const QString& path) {
    return readAllRows(*members::openWorkbook(path));
}

} // namespace test_files
