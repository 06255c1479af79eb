#include "base/errors.h"
#include "formats/workbook_reader.h"
#include "formats/xlsx_parts.h"
#include "formats/xml_scanner.h"
#include "tests/formats/workbook_files.h"
#include "tests/formats/zip_file.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using members::xlsx::XmlScanner;

// The tokens of a document written as text: "<name", "</name", "'text'",
// and "!error" at the end when it is not well formed.
QStringList tokens(const QByteArray& xml) {
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    XmlScanner scanner(&buffer);
    QStringList seen;
    for (;;) {
        switch (scanner.next()) {
        case XmlScanner::Token::Start:
            seen.append('<' + QString::fromUtf8(scanner.name().toByteArray()));
            break;
        case XmlScanner::Token::End:
            seen.append("</" + QString::fromUtf8(scanner.name().toByteArray()));
            break;
        case XmlScanner::Token::Text:
            seen.append('\'' + scanner.text() + '\'');
            break;
        case XmlScanner::Token::EndOfDocument:
            if (!scanner.error().isEmpty())
                seen.append(QStringLiteral("!error"));
            return seen;
        }
    }
}

TEST(XmlScannerTest, ReadsTheXmlOfWorkbookParts) {
    struct Case {
        const char* name;
        QByteArray xml;
        QStringList tokens;
    };
    const Case cases[] = {
        {"declaration, comment and empty element",
         "<?xml version=\"1.0\"?><!-- note --><a><b/></a>",
         {"<a", "<b", "</b", "</a"}},
        {"prefixes dropped",
         "<x:a xmlns:x=\"u\"><x:b>t</x:b></x:a>",
         {"<a", "<b", "'t'", "</b", "</a"}},
        {"references",
         "<a>&lt;&amp;&gt;&quot;&apos;&#20013;&#x6587;&bogus;</a>",
         {"<a", "'<&>\"'中文&bogus;'", "</a"}},
        {"line breaks", "<a>1\r\n2\r3</a>", {"<a", "'1\n2\n3'", "</a"}},
        {"CDATA", "<a><![CDATA[<b>&amp;]]></a>", {"<a", "'<b>&amp;'", "</a"}},
        {"'>' inside an attribute", "<a k=\"x>y\"><b/></a>", {"<a", "<b", "</b", "</a"}},
        {"document type", "<!DOCTYPE a><a/>", {"<a", "</a"}},
        {"cut inside an element", "<a><b>text", {"<a", "<b", "'text'", "!error"}},
        {"cut inside a tag", "<a><b k=\"1", {"<a", "!error"}},
        {"stray end tag", "<a/></a>", {"<a", "</a", "!error"}},
        {"second root", "<a/><b/>", {"<a", "</a", "!error"}},
        {"nothing", "", {"!error"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokens(c.xml), c.tokens) << c.name;
}

TEST(XmlScannerTest, AttributesByLocalName) {
    QBuffer buffer;
    buffer.setData("<c xmlns:r=\"ns\" r=\"B2\" t='s' x:s=\"3\" v=\"&amp;&#x41;\" e=\"\"/>");
    buffer.open(QIODevice::ReadOnly);
    XmlScanner scanner(&buffer);
    ASSERT_EQ(scanner.next(), XmlScanner::Token::Start);
    EXPECT_EQ(scanner.rawAttribute("r"), "B2");
    EXPECT_EQ(scanner.rawAttribute("t"), "s");
    EXPECT_EQ(scanner.rawAttribute("s"), "3");
    EXPECT_EQ(scanner.attribute("v"), QStringLiteral("&A"));
    EXPECT_TRUE(scanner.attribute("e").isEmpty());
    EXPECT_FALSE(scanner.attribute("e").isNull());
    EXPECT_TRUE(scanner.attribute("missing").isNull());
}

TEST(XmlScannerTest, LongDocumentsReadAcrossChunks) {
    QByteArray xml = "<sheetData>";
    for (int i = 0; i < 100000; ++i)
        xml += "<row r=\"" + QByteArray::number(i + 1) + "\"><c><v>" + QByteArray::number(i) +
               "</v></c></row>";
    xml += "</sheetData>";
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    XmlScanner scanner(&buffer);
    int rows = 0;
    long long sum = 0;
    for (auto token = scanner.next(); token != XmlScanner::Token::EndOfDocument;
         token = scanner.next()) {
        if (token == XmlScanner::Token::Start && scanner.name() == "row")
            ++rows;
        if (token == XmlScanner::Token::Start && scanner.name() == "v")
            sum += scanner.elementText().toLongLong();
    }
    EXPECT_TRUE(scanner.error().isEmpty()) << scanner.error().toStdString();
    EXPECT_EQ(rows, 100000);
    EXPECT_EQ(sum, 99999LL * 100000 / 2);
}

TEST(XlsxPartsTest, SharedStringsJoinRunsWithoutPhoneticGuides) {
    QBuffer buffer;
    buffer.setData(
        "<sst xmlns=\"m\" uniqueCount=\"4\">"
        "<si><t>plain</t></si>"
        "<si><r><rPr><b/></rPr><t>ri</t></r><r><t xml:space=\"preserve\"> ch </t></r></si>"
        "<si><t>東京</t><rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh></si>"
        "<si><t/></si>"
        "<si><t xml:space=\"preserve\"> 王 </t></si>"
        "<si><t>A&amp;B</t></si>"
        "<si><t>a\r\nb</t></si>"
        "<si><t></t></si>"
        "<si><t>" +
        QByteArray(3000, 'x') +
        "</t></si>"
        "</sst>");
    buffer.open(QIODevice::ReadOnly);
    const members::xlsx::SharedStrings strings =
        members::xlsx::readSharedStrings(&buffer, QStringLiteral("sharedStrings.xml"));
    QStringList texts;
    for (qsizetype i = 0; i < strings.size(); ++i)
        texts.append(strings.at(i).toString());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("plain"), QStringLiteral("ri ch "),
                                  QStringLiteral("東京"), QString(), QStringLiteral(" 王 "),
                                  QStringLiteral("A&B"), QStringLiteral("a\nb"), QString(),
                                  QString(3000, 'x')}));
}

TEST(XlsxPartsTest, CellFormatsFollowTheirNumberFormats) {
    const QByteArray styles =
        "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy/mm/dd\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"0.000\"/>"
        "<numFmt numFmtId=\"166\" formatCode=\"0000000000\"/>"
        "<numFmt numFmtId=\"167\" formatCode=\"[$-404]e/mm/dd\"/></numFmts>"
        "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
        "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
        "<xf numFmtId=\"14\"/><xf numFmtId=\"49\"/><xf numFmtId=\"166\"/>"
        "<xf numFmtId=\"1\"/><xf numFmtId=\"167\"/><xf numFmtId=\"27\"/>"
        "</cellXfs></styleSheet>";
    using members::NumberFormat;
    const QString none;
    EXPECT_EQ(members::xlsx::readCellFormats(styles, QStringLiteral("styles.xml")),
              (QList<NumberFormat>{NumberFormat{}, NumberFormat{true, 0, none}, NumberFormat{},
                                   NumberFormat{true, 0, none}, NumberFormat{},
                                   NumberFormat{false, 10, none}, NumberFormat{false, 1, none},
                                   NumberFormat{true, 0, QStringLiteral("[$-404]e/mm/dd")},
                                   NumberFormat{true, 0, QStringLiteral("[$-404]e/m/d")}}));
}

TEST(XlsxPartsTest, RelationshipTargetsResolveAgainstTheirFolder) {
    const QByteArray rels =
        "<Relationships><Relationship Id=\"rId1\" Type=\"t/worksheet\" "
        "Target=\"worksheets/a.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"t/sharedStrings\" Target=\"/xl/strings.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"t/styles\" Target=\"../styles.xml\"/>"
        "<Relationship Id=\"rId4\" Type=\"t/link\" Target=\"http://x\" TargetMode=\"External\"/>"
        "</Relationships>";
    const members::xlsx::Relationships read =
        members::xlsx::readRelationships(rels, QStringLiteral("xl"), QStringLiteral("r"));
    EXPECT_EQ(read.targetById.value(QStringLiteral("rId1")), QStringLiteral("xl/worksheets/a.xml"));
    EXPECT_EQ(read.targetOfType(QStringLiteral("/sharedStrings")),
              QStringLiteral("xl/strings.xml"));
    EXPECT_EQ(read.targetOfType(QStringLiteral("/styles")), QStringLiteral("styles.xml"));
    EXPECT_FALSE(read.targetById.contains(QStringLiteral("rId4")));
    EXPECT_EQ(members::xlsx::relationshipsPartOf(QStringLiteral("xl/workbook.xml")),
              QStringLiteral("xl/_rels/workbook.xml.rels"));
}

// A workbook as other programs write it: namespace prefixes, parts in
// other places, rows and cells without references, inline rich text,
// formulas, error and ISO date cells, and the 1904 date system.
TEST(XlsxPartsTest, HandWrittenWorkbookReads) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("other.xlsx"));
    test_files::writeZip(
        path,
        {{QStringLiteral("_rels/.rels"),
          "<Relationships><Relationship Id=\"r1\" Type=\"x/officeDocument\" "
          "Target=\"/book/main.xml\"/></Relationships>"},
         {QStringLiteral("book/main.xml"),
          "<x:workbook xmlns:x=\"m\" xmlns:rel=\"r\"><x:workbookPr date1904=\"1\"/><x:sheets>"
          "<x:sheet name=\"一\" sheetId=\"7\" rel:id=\"s1\"/><x:sheet name=\"二\" rel:id=\"s2\"/>"
          "</x:sheets></x:workbook>"},
         {QStringLiteral("book/_rels/main.xml.rels"),
          "<Relationships><Relationship Id=\"s2\" Type=\"x/worksheet\" Target=\"second.xml\"/>"
          "<Relationship Id=\"s1\" Type=\"x/worksheet\" Target=\"sheets/first.xml\"/>"
          "<Relationship Id=\"st\" Type=\"x/styles\" Target=\"style.xml\"/></Relationships>"},
         {QStringLiteral("book/style.xml"),
          "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"},
         {QStringLiteral("book/second.xml"), "<worksheet><sheetData/></worksheet>"},
         {QStringLiteral("book/sheets/first.xml"),
          "<x:worksheet xmlns:x=\"m\"><x:sheetData>"
          "<x:row><x:c t=\"inlineStr\"><x:is><x:r><x:t>王</x:t></x:r><x:r><x:t>小明</x:t></x:r>"
          "<x:rPh><x:t>おう</x:t></x:rPh></x:is></x:c><x:c s=\"1\"><x:v>26663</x:v></x:c></x:row>"
          "<x:row><x:c t=\"str\"><x:f>A1&amp;\"!\"</x:f><x:v>王小明!</x:v></x:c>"
          "<x:c t=\"e\"><x:v>#N/A</x:v></x:c><x:c t=\"d\"><x:v>2020-01-02T13:45:00</x:v></x:c>"
          "<x:c><x:f>1+1</x:f><x:v>2</x:v></x:c></x:row>"
          "<x:row r=\"5\"><x:c r=\"C5\"><x:v>1.25</x:v></x:c></x:row>"
          "</x:sheetData></x:worksheet>"}});
    const QList<test_files::RowTexts> rows = test_files::readAllRows(path);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].cells, (QStringList{QStringLiteral("王小明"), QStringLiteral("1976/12/31")}));
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].cells,
              (QStringList{QStringLiteral("王小明!"), QStringLiteral("#N/A"),
                           QStringLiteral("2020/01/02 13:45:00"), QStringLiteral("2")}));
    EXPECT_EQ(rows[2].number, 5);
    EXPECT_EQ(rows[2].cells, (QStringList{QString(), QString(), QStringLiteral("1.25")}));
}

TEST(XlsxPartsTest, CutSheetIsAFileError) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cut.xlsx"));
    test_files::writeZip(
        path, {{QStringLiteral("xl/workbook.xml"),
                "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"a\"/></sheets></workbook>"},
               {QStringLiteral("xl/_rels/workbook.xml.rels"),
                "<Relationships><Relationship Id=\"a\" Target=\"s.xml\"/></Relationships>"},
               {QStringLiteral("xl/s.xml"),
                "<worksheet><sheetData><row><c><v>1</v></c></row><row><c><v>2"}});
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
    members::SheetRow row;
    ASSERT_TRUE(reader->nextRow(row));
    EXPECT_THROW(reader->nextRow(row), FileError);
}

} // namespace

namespace {

// A minimal workbook whose first sheet is sheet, with the shared strings
// strings when given.
QString minimalWorkbook(const QTemporaryDir& folder, const QByteArray& sheet,
                        const QByteArray& strings = {}) {
    const QString path = folder.filePath(QStringLiteral("hostile.xlsx"));
    QList<std::pair<QString, QByteArray>> entries = {
        {QStringLiteral("xl/workbook.xml"),
         "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"s1\"/></sheets></workbook>"},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "<Relationships><Relationship Id=\"s1\" Type=\"x/worksheet\" Target=\"s.xml\"/>"
         "<Relationship Id=\"t\" Type=\"x/sharedStrings\" Target=\"t.xml\"/></Relationships>"},
        {QStringLiteral("xl/s.xml"), sheet}};
    if (!strings.isEmpty())
        entries.append({QStringLiteral("xl/t.xml"), strings});
    test_files::writeZip(path, entries);
    return path;
}

} // namespace

// Numbers past what the sheet can have are refused, not wrapped around.
TEST(XlsxPartsTest, RowNumbersOutOfRangeAreRefused) {
    QTemporaryDir folder;
    for (const QByteArray& rows :
         {QByteArray("<row r=\"99999999999\"><c><v>1</v></c></row>"),
          QByteArray("<row r=\"2147483647\"><c><v>1</v></c></row><row><c><v>2</v></c></row>"),
          QByteArray("<row r=\"1048577\"><c><v>1</v></c></row>"),
          QByteArray("<row r=\"5\"><c><v>1</v></c></row><row r=\"3\"><c><v>2</v></c></row>")}) {
        const QString path =
            minimalWorkbook(folder, "<worksheet><sheetData>" + rows + "</sheetData></worksheet>");
        EXPECT_THROW(test_files::readAllRows(path), FileError) << rows.toStdString();
    }
}

TEST(XlsxPartsTest, SharedStringIndexesPastTheTableReadEmpty) {
    QTemporaryDir folder;
    const QString path = minimalWorkbook(
        folder,
        "<worksheet><sheetData><row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>4294967296</v>"
        "</c><c t=\"s\"><v>1</v></c></row></sheetData></worksheet>",
        // The count is far beyond what the part holds: nothing is reserved for it.
        "<sst uniqueCount=\"2000000000\"><si><t>一</t></si></sst>");
    const QList<test_files::RowTexts> rows = test_files::readAllRows(path);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].cells, (QStringList{QStringLiteral("一"), QString(), QString()}));
}

// Comments and instructions are passed over one after the other, however
// many there are.
TEST(XlsxPartsTest, ManyInstructionsBeforeTheRootRead) {
    QTemporaryDir folder;
    QByteArray sheet;
    for (int i = 0; i < 200000; ++i)
        sheet += i % 2 == 0 ? "<?p?>" : "<!---->";
    sheet += "<worksheet><sheetData><row><c><v>7</v></c></row></sheetData></worksheet>";
    const QList<test_files::RowTexts> rows =
        test_files::readAllRows(minimalWorkbook(folder, sheet));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].cells, QStringList{QStringLiteral("7")});
}
