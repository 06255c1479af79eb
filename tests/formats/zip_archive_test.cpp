// Entries of a zip file inflated as they are read or ahead of the reading
// give the same bytes, and a damaged entry is reported when the reading
// comes to the damage, however it is inflated.
#include "base/errors.h"
#include "formats/zip_archive.h"
#include "tests/formats/workbook_files.h"
#include "tests/formats/zip_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using members::ZipEntry;

// Text that compresses to many chunks: rows of cells with varied numbers.
QByteArray sheetText(int rows) {
    QRandomGenerator random(7);
    QByteArray text = "<worksheet><sheetData>";
    for (int row = 1; row <= rows; ++row)
        text += "<row r=\"" + QByteArray::number(row) + "\"><c r=\"A" + QByteArray::number(row) +
                "\"><v>" + QByteArray::number(random.generate()) + "</v></c></row>";
    return text + "</sheetData></worksheet>";
}

// Everything an entry gives in reads of a few kilobytes.
QByteArray readWhole(ZipEntry& entry) {
    QByteArray bytes;
    char chunk[5000];
    for (qint64 count; (count = entry.read(chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, count);
    return bytes;
}

class ZipArchiveTest : public ::testing::Test {
protected:
    QString write(const QByteArray& sheet) {
        const QString path = m_folder.filePath(QStringLiteral("book.xlsx"));
        test_files::writeZip(
            path, {{QStringLiteral("xl/workbook.xml"),
                    "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"s1\"/></sheets></workbook>"},
                   {QStringLiteral("xl/_rels/workbook.xml.rels"),
                    "<Relationships><Relationship Id=\"s1\" Type=\"x/worksheet\" Target=\"s.xml\"/>"
                    "</Relationships>"},
                   {QStringLiteral("xl/s.xml"), sheet}});
        return path;
    }

    // Changes bytes in the middle of the file, inside the sheet's
    // compressed data (the last and largest entry).
    static void damage(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i)
            bytes[i] = char(~bytes[i]);
        file.seek(0);
        file.write(bytes);
    }

    QTemporaryDir m_folder;
};

TEST_F(ZipArchiveTest, AnEntryReadsTheSameInflatedAheadOrAsRead) {
    const QByteArray sheet = sheetText(20000); // a megabyte: many chunks ahead
    const members::ZipArchive archive(write(sheet));
    for (const ZipEntry::Inflating inflating :
         {ZipEntry::Inflating::AsRead, ZipEntry::Inflating::Ahead}) {
        const std::unique_ptr<ZipEntry> entry = archive.open(QStringLiteral("xl/s.xml"), inflating);
        EXPECT_EQ(readWhole(*entry), sheet);
        EXPECT_FALSE(entry->failed());
    }
}

TEST_F(ZipArchiveTest, DamageIsReportedWhereTheReadingComesToIt) {
    const QByteArray sheet = sheetText(20000);
    const QString path = write(sheet);
    damage(path);
    const members::ZipArchive archive(path);
    for (const ZipEntry::Inflating inflating :
         {ZipEntry::Inflating::AsRead, ZipEntry::Inflating::Ahead}) {
        const std::unique_ptr<ZipEntry> entry = archive.open(QStringLiteral("xl/s.xml"), inflating);
        char first[100];
        ASSERT_EQ(entry->read(first, sizeof first), qint64(sizeof first));
        EXPECT_FALSE(entry->failed()); // the damage is further on
        EXPECT_NE(QByteArray(first, sizeof first) + readWhole(*entry), sheet);
        EXPECT_TRUE(entry->failed());
        EXPECT_TRUE(entry->errorString().startsWith(QStringLiteral("壓縮的內容已損壞")))
            << entry->errorString().toStdString();
    }
    EXPECT_THROW(test_files::readAllRows(path), FileError);
}

// An entry given up before its end stops inflating: nothing waits for a
// reader that has gone.
TEST_F(ZipArchiveTest, AnEntryLeftHalfReadCloses) {
    const members::ZipArchive archive(write(sheetText(20000)));
    for (int i = 0; i < 20; ++i) {
        const std::unique_ptr<ZipEntry> entry =
            archive.open(QStringLiteral("xl/s.xml"), ZipEntry::Inflating::Ahead);
        char some[10];
        EXPECT_EQ(entry->read(some, sizeof some), qint64(sizeof some));
    }
    const std::unique_ptr<ZipEntry> unread =
        archive.open(QStringLiteral("xl/s.xml"), ZipEntry::Inflating::Ahead);
}

} // namespace
