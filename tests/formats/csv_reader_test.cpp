#include "base/big5.h"
#include "base/errors.h"
#include "formats/csv_reader.h"
#include "tests/formats/workbook_files.h"

#include <gtest/gtest.h>

namespace {

using members::CsvParser;

QList<QStringList> parse(const QByteArray& bytes) {
    CsvParser parser(members::prepareCsv(bytes));
    QList<QStringList> rows;
    members::SheetRow row;
    while (parser.nextRow(row))
        rows.append(row.texts());
    return rows;
}

QList<QStringList> parse(const QString& text) {
    return parse(text.toUtf8());
}

TEST(CsvReaderTest, SplitsRowsAndFields) {
    struct Case {
        const char* name;
        QString text;
        QList<QStringList> rows;
    };
    const Case cases[] = {
        {"plain", QStringLiteral("a,b,c\r\nd,e,f\r\n"), {{"a", "b", "c"}, {"d", "e", "f"}}},
        {"LF and no final break", QStringLiteral("a,b\nc"), {{"a", "b"}, {"c"}}},
        {"CR alone", QStringLiteral("a\rb\r"), {{"a"}, {"b"}}},
        {"empty fields", QStringLiteral(",x,\r\n"), {{"", "x", ""}}},
        {"blank line is a row", QStringLiteral("a\r\n\r\nb\r\n"), {{"a"}, {""}, {"b"}}},
        {"spaces kept", QStringLiteral(" 007 , 王 \r\n"), {{" 007 ", " 王 "}}},
        {"quoted comma", QStringLiteral("\"a,b\",c\r\n"), {{"a,b", "c"}}},
        {"doubled quote", QStringLiteral("\"say \"\"hi\"\"\",x\r\n"), {{"say \"hi\"", "x"}}},
        {"line break in quotes",
         QStringLiteral("\"line1\r\nline2\",x\r\ny\r\n"),
         {{"line1\r\nline2", "x"}, {"y"}}},
        {"unclosed quote runs to the end", QStringLiteral("\"abc,d\r\n"), {{"abc,d\r\n"}}},
        {"empty text", QString(), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text), c.rows) << c.name;
}

// The fields of a row are made from the file's bytes in one buffer for the
// row: a row far longer than the one before, fields in Big5 and quoted
// fields across lines come out whole, row after row.
TEST(CsvReaderTest, RowsOfAnyLengthAndEncodingReadWhole) {
    const QString longName(5000, QChar(0x738B)); // 王
    const QList<QStringList> rows = {
        {"a", "b"},
        {"王小明", longName, "x"},
        {"會員\r\n編號", "\"引號\"", ""},
        {"c"},
    };
    const QString text = test_files::csvText(rows);
    EXPECT_EQ(parse(text), rows);
    const QByteArray big5Bytes = big5::encode(text);
    ASSERT_NE(big5Bytes, text.toUtf8());
    EXPECT_EQ(parse(big5Bytes), rows);
}

TEST(CsvReaderTest, LineCountCountsLineBreaks) {
    EXPECT_EQ(CsvParser(members::prepareCsv("a\r\nb\r\nc")).lineCount(), 3);
}

TEST(CsvReaderTest, DecodesUtf8WithOrWithoutMarkAndBig5) {
    const QString text = QStringLiteral("會員編號,姓名\r\nA1,王小明\r\n");
    EXPECT_EQ(members::decodeCsv(text.toUtf8()), text);
    EXPECT_EQ(members::decodeCsv("\xEF\xBB\xBF" + text.toUtf8()), text);
    const QByteArray big5Bytes = big5::encode(text);
    ASSERT_NE(big5Bytes, text.toUtf8());
    EXPECT_EQ(members::decodeCsv(big5Bytes), text);
}

// "Unicode text" as spreadsheet programs save it: UTF-16 of either byte
// order behind its mark, tab-separated; bytes marked so that are not are
// refused rather than read as garbage.
TEST(CsvReaderTest, Utf16WithItsMarkIsReadAsUtf16) {
    const QString text = QStringLiteral("會員編號\t姓名\r\nA1\t王小明\r\n");
    QByteArray little("\xFF\xFE");
    QByteArray big("\xFE\xFF");
    for (const QChar c : text) {
        little += char(c.unicode() & 0xFF);
        little += char(c.unicode() >> 8);
        big += char(c.unicode() >> 8);
        big += char(c.unicode() & 0xFF);
    }
    EXPECT_EQ(members::decodeCsv(little), text);
    EXPECT_EQ(members::decodeCsv(big), text);
    EXPECT_EQ(members::separatorOf(members::prepareCsv(little).bytes), '\t');
    EXPECT_EQ(members::separatorOf("a\tb,c\n"), ',');
    EXPECT_EQ(members::separatorOf("a\tb\nc,d\n"), '\t');
    EXPECT_THROW(members::decodeCsv(little + "\x01"), ConversionError); // odd length
}

} // namespace

// Big5 files read as big5::decode reads them, byte pair for byte pair:
// ASCII, characters, pairs without a character and a lead byte at the end.
TEST(CsvDecodeTest, Big5ReadsAsTheBig5Conversion) {
    QByteArray bytes = big5::encode(QStringLiteral("會員,王小明\r\n"));
    bytes += QByteArray::fromHex("9def81318040a1") + "x,\xff\x80" + QByteArray::fromHex("a4");
    for (int lead = 0x81; lead <= 0xFE; lead += 7)
        bytes += QByteArray(1, char(lead)) + QByteArray(1, char(0x40 + lead % 0x3f));
    EXPECT_EQ(members::decodeCsv(bytes), big5::decode(bytes));
}
