#include "base/big5.h"
#include "base/errors.h"
#include "formats/workbook_reader.h"
#include "formats/xlsx_reader.h"
#include "tests/formats/workbook_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace test_files;

QList<test_files::RowTexts> readAll(const QString& path) {
    return readAllRows(path);
}

QString dataFile(const char* name) {
    return QStringLiteral(MEMBER_IMPORT_DATA "/") + QLatin1String(name);
}

class WorkbookReaderTest : public testing::Test {
protected:
    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    QTemporaryDir folder;
};

// The cells of one .xlsx sheet, written both with shared strings and with
// strings inside the sheet, read as the spreadsheet shows them.
TEST_F(WorkbookReaderTest, XlsxCellsReadAsShown) {
    for (bool inlineStrings : {false, true}) {
        const QString path = file(inlineStrings ? "inline.xlsx" : "shared.xlsx");
        {
            XlsxFile xlsx(path, inlineStrings);
            xlsx.put(1, 1, QStringLiteral("會員編號"));
            xlsx.put(2, 1, QStringLiteral(" 007 "));
            xlsx.put(2, 2, Number{123});
            xlsx.put(2, 3, Number{1.5});
            xlsx.put(2, 4, Date{QDate(1976, 12, 31)});
            xlsx.put(2, 5, Date{QDate(1980, 2, 29), "[$-404]e/m/d"});
            xlsx.put(2, 6, BuiltInFormat{28125, 14});
            xlsx.put(2, 7, BuiltInFormat{28125, 4}); // "#,##0.00": a number
            xlsx.put(2, 8, DateTime{QDate(2020, 1, 2), 13, 45});
            xlsx.put(2, 9, Boolean{true});
            xlsx.put(2, 10, Boolean{false});
            xlsx.put(2, 22, QStringLiteral("是"));
            xlsx.put(4, 2, Number{912345678, "0"});
            xlsx.close();
        }
        const QList<test_files::RowTexts> rows = readAll(path);
        ASSERT_EQ(rows.size(), 3) << inlineStrings;
        EXPECT_EQ(rows[0].number, 1);
        EXPECT_EQ(rows[0].cells, QStringList{QStringLiteral("會員編號")});
        EXPECT_EQ(rows[1].number, 2);
        QStringList second(22);
        second[0] = QStringLiteral(" 007 ");
        second[1] = QStringLiteral("123");
        second[2] = QStringLiteral("1.5");
        second[3] = QStringLiteral("1976/12/31");
        second[4] = QStringLiteral("69/2/29"); // as the sheet shows it
        second[5] = QStringLiteral("1976/12/31");
        second[6] = QStringLiteral("28125");
        second[7] = QStringLiteral("2020/01/02 13:45:00");
        second[8] = QStringLiteral("TRUE");
        second[9] = QStringLiteral("FALSE");
        second[21] = QStringLiteral("是");
        EXPECT_EQ(rows[1].cells, second) << inlineStrings;
        EXPECT_EQ(rows[2].number, 4);
        EXPECT_EQ(rows[2].cells, (QStringList{QString(), QStringLiteral("912345678")}));
    }
}

TEST_F(WorkbookReaderTest, XlsxGivesItsLastRowBeforeReading) {
    const QString path = file("extent.xlsx");
    {
        XlsxFile xlsx(path);
        xlsx.put(1, 1, QStringLiteral("a"));
        xlsx.put(40, 3, QStringLiteral("b"));
    }
    EXPECT_EQ(members::openWorkbook(path)->lastRowHint(), 40);
}

TEST_F(WorkbookReaderTest, XlsFixtureReadsAsShown) {
    const QList<test_files::RowTexts> rows = readAll(dataFile("members.xls"));
    ASSERT_EQ(rows.size(), 6);
    const test_files::RowTexts& first = rows[1];
    EXPECT_EQ(first.number, 2);
    ASSERT_EQ(first.cells.size(), 22);
    EXPECT_EQ(first.cells[0], QStringLiteral("A001"));
    EXPECT_EQ(first.cells[1], QStringLiteral(" 王小明 "));
    EXPECT_EQ(first.cells[4], QStringLiteral("912345678"));
    EXPECT_EQ(first.cells[8], QStringLiteral("1976/12/31"));
    EXPECT_EQ(first.cells[14], QStringLiteral("1.5"));
    EXPECT_EQ(first.cells[15], QStringLiteral("1234567890123"));
    EXPECT_EQ(first.cells[18], QStringLiteral("2020/01/02 13:45:00"));
    EXPECT_EQ(first.cells[21], QStringLiteral("TRUE")); // a yes/no cell
    EXPECT_EQ(rows[2].cells[0], QStringLiteral("123"));
    EXPECT_EQ(rows[3].cells[0], QStringLiteral(" 007 "));
    EXPECT_EQ(rows[4].cells[0], QString());
    EXPECT_EQ(members::openWorkbook(dataFile("members.xls"))->lastRowHint(), 6);
}

TEST_F(WorkbookReaderTest, CsvRowsCountFromOne) {
    const QString path = file("members.csv");
    writeFile(path, big5::encode(QStringLiteral("編號,姓名\r\n\"A,1\",王\r\n")));
    const QList<test_files::RowTexts> rows = readAll(path);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].cells, (QStringList{QStringLiteral("A,1"), QStringLiteral("王")}));
}

TEST_F(WorkbookReaderTest, UnreadableFilesAreFileErrorsNamingTheFile) {
    QByteArray truncatedXlsx;
    {
        XlsxFile xlsx(file("whole.xlsx"));
        xlsx.put(1, 1, QStringLiteral("a"));
    }
    QFile whole(file("whole.xlsx"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    truncatedXlsx = whole.readAll().left(200);
    // What the message says beside the file's name: the zip library's
    // own text only as the detail of a Chinese reason.
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"notes.doc", QByteArray("plain words"), "不是 Excel 活頁簿"},
        {"broken.xls", QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(100, 'x'),
         "不是 Excel 97-2003 活頁簿"},
        {"broken.xlsx", truncatedXlsx,
         "不是 zip 壓縮檔，也就不是 .xlsx 活頁簿（原文：Not a zip archive）"},
        {"other.zip", QByteArray("PK\x03\x04", 4) + QByteArray(100, '\0'), "（原文："},
    };
    for (const auto& c : cases) {
        const QString path = file(c.name);
        writeFile(path, c.bytes);
        try {
            readAll(path);
            ADD_FAILURE() << c.name << " was read";
        } catch (const FileError& error) {
            EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.reason)))
                << error.text().toStdString();
        }
    }
    EXPECT_THROW(readAll(file("missing.xlsx")), FileError);
}

TEST_F(WorkbookReaderTest, CellCursorReadsRowsInOrderAndFillsGaps) {
    const QString path = file("gaps.csv");
    writeFile(path, "a1,b1\r\na2\r\n");
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
    members::SheetCursor cursor(*reader);
    EXPECT_EQ(cursor.cell(1, 2), QStringLiteral("b1"));
    EXPECT_EQ(cursor.cell(2, 1), QStringLiteral("a2"));
    EXPECT_EQ(cursor.cell(2, 2), QString());
    EXPECT_EQ(cursor.cell(5, 1), QString());
}

TEST(CellPositionTest, ReferencesGiveColumnAndRow) {
    const std::tuple<const char*, int, int> cases[] = {
        {"A1", 1, 1},  {"V12", 22, 12}, {"AB100001", 28, 100001}, {"XFD1", 16384, 1}, {"A", 1, 0},
        {"12", 0, 12}, {"A0", 1, 0},
    };
    for (const auto& [reference, column, row] : cases) {
        EXPECT_EQ(members::cellPosition(QString::fromLatin1(reference)),
                  std::make_pair(column, row))
            << reference;
    }
}

} // namespace
