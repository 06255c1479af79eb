// The cells of a worksheet read straight from its bytes (the common shape
// of a cell) give what the general scanner gives for the same cell, and
// every other shape is left to the scanner.
#include "formats/xlsx_plain_cell.h"
#include "tests/formats/workbook_files.h"
#include "tests/formats/zip_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A workbook of one sheet holding row 1 of cells, with two shared strings
// and three cell formats: general, a date, five zero digits.
QString workbookOf(const QTemporaryDir& folder, const QByteArray& cells, const QString& name) {
    const QString path = folder.filePath(name + QStringLiteral(".xlsx"));
    test_files::writeZip(
        path, {{QStringLiteral("xl/workbook.xml"),
                "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"s1\"/></sheets></workbook>"},
               {QStringLiteral("xl/_rels/workbook.xml.rels"),
                "<Relationships><Relationship Id=\"s1\" Type=\"x/worksheet\" Target=\"s.xml\"/>"
                "<Relationship Id=\"t\" Type=\"x/sharedStrings\" Target=\"t.xml\"/>"
                "<Relationship Id=\"y\" Type=\"x/styles\" Target=\"y.xml\"/></Relationships>"},
               {QStringLiteral("xl/t.xml"), "<sst><si><t>甲</t></si><si><t>乙 </t></si></sst>"},
               {QStringLiteral("xl/y.xml"),
                "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"00000\"/></numFmts>"
                "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/></cellXfs>"
                "</styleSheet>"},
               {QStringLiteral("xl/s.xml"),
                "<worksheet><sheetData><row r=\"1\">" + cells + "</row></sheetData></worksheet>"}});
    return path;
}

// The same cells with an attribute the direct reading does not know, which
// the scanner passes over: each cell then goes through the scanner.
QByteArray throughScanner(QByteArray cells) {
    return cells.replace("<c ", "<c cm=\"0\" ").replace("<c>", "<c cm=\"0\">");
}

TEST(XlsxCellsTest, CellsReadStraightFromTheBytesAsTheScannerReadsThem) {
    struct Case {
        const char* cells;
        QStringList shown;
    };
    const Case cases[] = {
        {"<c r=\"A1\" t=\"s\"><v>1</v></c>", {"乙 "}},
        {"<c r='B1' t='s'><v>0</v></c>", {"", "甲"}},
        {"<c t=\"s\" r=\"A1\" ><v>00001</v></c>", {"乙 "}},
        {"<c r = \"a1\" t = \"s\"><v>0</v></c>", {"甲"}},
        {"<c r=\"A1\" t=\"s\"><v>7</v></c>", {""}},
        {"<c r=\"A1\" t=\"s\"><v>1234567890</v></c>", {""}},
        {"<c r=\"A1\" t=\"s\"><v></v></c>", {""}},
        {"<c r=\"A1\" s=\"1\"><v>26663</v></c>", {"1972/12/30"}},
        {"<c r=\"A1\" s=\"2\"><v>7</v></c>", {"00007"}},
        {"<c r=\"A1\" s=\"9\"><v>7</v></c>", {"7"}},
        {"<c r=\"A1\" s=\"x\"><v>7</v></c>", {"7"}},
        {"<c r=\"A1\"><v>1.5</v></c>", {"1.5"}},
        {"<c r=\"A1\" t=\"n\"><v>-3</v></c>", {"-3"}},
        {"<c r=\"A1\"><v>1E+20</v></c>", {"1e+20"}},
        {"<c r=\"A1\"><v>1234567890123456789</v></c>", {"1.23456789012346e+18"}},
        {"<c r=\"A1\"><v> 7 </v></c>", {"7"}},
        {"<c r=\"A1\"><v>abc</v></c>", {"abc"}},
        {"<c r=\"A1\" t=\"b\"><v>1</v></c><c r=\"B1\" t=\"b\"><v>0</v></c>", {"TRUE", "FALSE"}},
        {"<c r=\"A1\" t=\"b\"/>", {"FALSE"}},
        {"<c r=\"A1\" s=\"1\"/><c r=\"B1\" t=\"s\"/>", {"", ""}},
        {"<c r=\"A1\" t=\"str\"><v>王 小明</v></c>", {"王 小明"}},
        {"<c r=\"A1\" t=\"str\"><v>A&amp;B</v></c>", {"A&B"}},
        {"<c r=\"A1\" t=\"str\"><v>a\r\nb</v></c>", {"a\nb"}},
        {"<c r=\"A1\" t=\"e\"><v>#N/A</v></c>", {"#N/A"}},
        {"<c r=\"A1\" t=\"d\"><v>2020-01-02T13:45:00</v></c>", {"2020/01/02 13:45:00"}},
        {"<c r=\"A1\" t=\"s\"><f>B1</f><v>1</v></c>", {"乙 "}},
        {"<c r=\"A1\" t=\"s\"><v>1</v><v>0</v></c>", {"甲"}},
        {"<c r=\"A1\" t=\"inlineStr\"><is><t>內</t></is></c>", {"內"}},
        {"<c t=\"s\"><v>1</v></c><c t=\"s\"><v>0</v></c>", {"乙 ", "甲"}},
        {"<c r=\"C1\"><v>3</v></c><c><v>4</v></c>", {"", "", "3", "4"}},
        {"<c r=\"XFE1\" t=\"s\"><v>1</v></c><c r=\"12\"><v>2</v></c>", {}},
        {"<c r=\"A1\" r=\"B1\"><v>2</v></c>", {"2"}},
        {"<c r=\"B&amp;1\" t=\"s\"><v>1</v></c>", {"", "乙 "}},
        {"<c r=\"B1\" t=\"s\" s=\"a>b\"><v>1</v></c>", {"", "乙 "}},
        {"<c r=\"A1\">\n<v>2</v>\n</c>", {"2"}},
    };
    QTemporaryDir folder;
    int at = 0;
    for (const Case& c : cases) {
        const QByteArray cells(c.cells);
        const QString name = QString::number(++at);
        const QList<test_files::RowTexts> direct =
            test_files::readAllRows(workbookOf(folder, cells, name));
        const QList<test_files::RowTexts> scanned = test_files::readAllRows(
            workbookOf(folder, throughScanner(cells), name + QStringLiteral("-scanned")));
        ASSERT_EQ(direct.size(), 1) << c.cells;
        ASSERT_EQ(scanned.size(), 1) << c.cells;
        EXPECT_EQ(direct[0].cells, c.shown) << c.cells;
        EXPECT_EQ(scanned[0].cells, c.shown) << c.cells;
    }
}

// Which markup is read straight from the bytes, and how much of it.
TEST(XlsxCellsTest, OnlyTheCommonShapeIsReadStraight) {
    using members::xlsx::plainCellAt;
    const std::optional<members::xlsx::PlainCell> cell =
        plainCellAt("<c r=\"B2\" s=\"1\" t=\"s\"><v>7</v></c><c r=\"C2\">");
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reference, "B2");
    EXPECT_EQ(cell->style, "1");
    EXPECT_EQ(cell->type, "s");
    EXPECT_EQ(cell->value, "7");
    EXPECT_EQ(cell->length, 34);
    const std::optional<members::xlsx::PlainCell> empty = plainCellAt("<c r=\"B2\"/><c>");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->value.isNull());
    EXPECT_TRUE(empty->type.isNull());
    EXPECT_EQ(empty->length, 11);
    for (const char* other : {
             "<c r=\"B2\" t=\"s\"><v>7</v></c", // cut short
             "<c r=\"B2\" t=\"s\"><v>7</v>",
             "<c r=\"B2",
             "<c r=\"B2\" t=\"s\"><v>7",
             "<col r=\"1\"/>",
             "<x:c r=\"B2\"><v>7</v></c>",
             "<c x:r=\"B2\"><v>7</v></c>",
             "<c ref=\"B2\"><v>7</v></c>",
             "<c r=B2><v>7</v></c>",
             "<c r=\"B2\"t=\"s\"><v>7</v></c>",
             "<c r=\"B2\" r=\"C2\"><v>7</v></c>",
             "<c r=\"B2\"><v>&#55;</v></c>",
             "<c r=\"B2\"><v><![CDATA[7]]></v></c>",
             "<c r=\"B2\"><f>1</f><v>7</v></c>",
             "<c r=\"B2\"></c>",
             "<c r=\"B2\"><v/></c>",
             "</row>",
         })
        EXPECT_FALSE(plainCellAt(other)) << other;
}

} // namespace
