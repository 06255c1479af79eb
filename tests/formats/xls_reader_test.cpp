// The .xls reader on hand-made workbooks: the records a spreadsheet program
// writes and the damage a file may carry.
#include "base/errors.h"
#include "formats/workbook_reader.h"
#include "tests/formats/workbook_files.h"
#include "tests/formats/xls_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace test_files;

QByteArray cell(quint16 row, quint16 column, quint16 xf) {
    return u16(row) + u16(column) + u16(xf);
}

QByteArray number(double value) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray xf(quint16 format) {
    return biffRecord(0x00E0, u16(0) + u16(format) + QByteArray(16, '\0'));
}

// A formula record with its 8 result bytes and the tokens of A1&"x".
QByteArray formula(quint16 row, quint16 column, const QByteArray& result) {
    const QByteArray tokens = QByteArray::fromHex("2400000000") + QByteArray::fromHex("1701") +
                              QByteArray("\x00x", 2) + QByteArray(1, '\x08');
    return biffRecord(0x0006, cell(row, column, 0) + result + u16(0) + u32(0) +
                                  u16(quint16(tokens.size())) + tokens);
}

// The globals every test workbook has: formats General (XF 0), "00000"
// (XF 1), the built-in date format 14 (XF 2).
QByteArray standardGlobals(const QByteArray& more = {}) {
    return biffRecord(0x041E, u16(164) + unicodeString(QStringLiteral("00000"))) + xf(0) + xf(164) +
           xf(14) + more;
}

class XlsReaderTest : public testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        const QString path = dir.path() + QStringLiteral("/t%1.xls").arg(++m_count);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QList<test_files::RowTexts> readAll(const QByteArray& bytes) {
        return readAllRows(write(bytes));
    }

    QTemporaryDir dir;

private:
    int m_count = 0;
};

TEST_F(XlsReaderTest, RecordsReadAsTheSheetShowsThem) {
    // Shared strings: the second begins in Latin-1 and goes on, in its
    // CONTINUE record, in UTF-16.
    const QByteArray sst =
        biffRecord(0x00FC, u32(2) + u32(2) + unicodeString(QStringLiteral("王小明")) + u16(4) +
                               QByteArray(1, '\0') + "ab") +
        biffRecord(0x003C, QByteArray(1, '\x01') + u16(0x6703) + u16(0x54E1));
    const QByteArray cells =
        biffRecord(0x00FD, cell(1, 0, 0) + u32(1)) +                  // A2 shared string 1
        biffRecord(0x0204, cell(1, 1, 0) + unicodeString("陳大文")) + // B2 label
        biffRecord(0x0203, cell(1, 2, 1) + number(7)) +               // C2 00000
        biffRecord(0x027E, cell(1, 3, 0) + u32((1234 << 2) | 0x03)) + // D2 RK 12.34
        biffRecord(0x00BD, cell(1, 4, 1).left(4) + u16(1) + u32((42 << 2) | 0x02) + u16(2) +
                               u32((28125 << 2) | 0x02) + u16(5)) +     // E2:F2 MULRK
        biffRecord(0x0205, cell(1, 6, 0) + QByteArray("\x01\x00", 2)) + // G2 TRUE
        biffRecord(0x0205, cell(1, 7, 0) + QByteArray("\x07\x01", 2)) + // H2 #DIV/0!
        formula(1, 8, QByteArray::fromHex("000000000000ffff")) +        // I2 text result
        biffRecord(0x04BC, QByteArray(10, '\0')) +                      // a shared formula
        biffRecord(0x0207, unicodeString(QStringLiteral("王小明會員"))) +
        formula(1, 9, QByteArray::fromHex("0100010000000000").replace(6, 2, "\xff\xff")) +
        formula(1, 10, number(1.0 / 3)) +               // K2 =1/3, kept as a number
        biffRecord(0x0203, cell(0, 0, 0) + number(1)) + // A1, after row 2 in the file
        biffRecord(0x0201, cell(2, 0, 0));              // a blank cell gives no row
    const QList<test_files::RowTexts> rows =
        readAll(compoundFile(workbookStream(standardGlobals(sst), cells)));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].cells, QStringList{QStringLiteral("1")});
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].cells, (QStringList{QStringLiteral("ab會員"), QStringLiteral("陳大文"),
                                          QStringLiteral("00007"), QStringLiteral("12.34"),
                                          QStringLiteral("00042"), QStringLiteral("1976/12/31"),
                                          QStringLiteral("TRUE"), QStringLiteral("#DIV/0!"),
                                          QStringLiteral("王小明會員"), QStringLiteral("TRUE"),
                                          QStringLiteral("0.333333333333333")}));
}

TEST_F(XlsReaderTest, The1904SystemStartsAtSerialZero) {
    const QByteArray cells = biffRecord(0x0203, cell(0, 0, 2) + number(0)) +
                             biffRecord(0x0203, cell(0, 1, 2) + number(26663));
    const QList<test_files::RowTexts> rows =
        readAll(compoundFile(workbookStream(standardGlobals(biffRecord(0x0022, u16(1))), cells)));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].cells,
              (QStringList{QStringLiteral("1904/01/01"), QStringLiteral("1976/12/31")}));
}

// A workbook of more than a few sectors, in the larger sectors.
TEST_F(XlsReaderTest, LargeWorkbooksRead) {
    QByteArray cells;
    for (quint16 row = 0; row < 3000; ++row)
        cells += biffRecord(0x0203, cell(row, 0, 0) + number(row));
    const QList<test_files::RowTexts> rows =
        readAll(compoundFile(workbookStream(standardGlobals(), cells)));
    ASSERT_EQ(rows.size(), 3000);
    EXPECT_EQ(rows.last().number, 3000);
    EXPECT_EQ(rows.last().cells, QStringList{QStringLiteral("2999")});
}

// Every damaged file is refused as a file error, never read past its bytes.
TEST_F(XlsReaderTest, DamagedFilesAreRefused) {
    const QByteArray label = biffRecord(0x0204, cell(0, 0, 0) + unicodeString("a"));
    const QByteArray good = compoundFile(workbookStream(standardGlobals(), label));
    auto patched = [&](qsizetype at, const QByteArray& bytes) {
        QByteArray file = good;
        file.replace(at, bytes.size(), bytes);
        return file;
    };
    const qsizetype stream = 512 * 3; // after the header, the table and the directory
    const std::pair<const char*, QByteArray> cases[] = {
        {"cut header", good.left(100)},
        {"cut stream", good.left(stream + 100)},
        {"sector size", patched(30, u16(20))},
        {"table sector past the end", patched(76, u32(4000))},
        {"table count past the end", patched(44, u32(100000))},
        {"directory past the end", patched(48, u32(70000))},
        {"chain loops", patched(512 + 8, u32(2))},
        {"stream larger than the file", patched(1024 + 128 + 120, u32(900000))},
        {"record longer than the stream", patched(stream + 2, u16(60000))},
        {"not BIFF8", patched(stream + 4, u16(0x0500))},
        {"sheet offset past the stream",
         compoundFile(workbookStream(
             standardGlobals(biffRecord(0x0085, u32(99999) + u16(0) + QByteArray(2, '\0'))),
             label))},
        {"password",
         compoundFile(workbookStream(standardGlobals(biffRecord(0x002F, u16(1))), label))},
        {"shared string missing",
         compoundFile(
             workbookStream(standardGlobals(), biffRecord(0x00FD, cell(0, 0, 0) + u32(5))))},
        {"string longer than its record",
         compoundFile(
             workbookStream(standardGlobals(),
                            biffRecord(0x0204, cell(0, 0, 0) + u16(500) + QByteArray(3, 'a'))))},
        {"column past IV",
         compoundFile(workbookStream(standardGlobals(),
                                     biffRecord(0x0204, cell(0, 300, 0) + unicodeString("a"))))},
        {"text result missing",
         compoundFile(workbookStream(standardGlobals(),
                                     formula(0, 0, QByteArray::fromHex("000000000000ffff"))))},
        {"text formula without its result",
         compoundFile(workbookStream(standardGlobals(), formula(0, 0, number(0))))},
    };
    EXPECT_EQ(readAll(good).size(), 1);
    for (const auto& [name, bytes] : cases)
        EXPECT_THROW(readAll(bytes), FileError) << name;
}

} // namespace
