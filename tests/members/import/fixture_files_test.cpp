// Workbooks written by a real spreadsheet program and text files written by
// iconv (their sources and the script that writes them are in data/): each
// imports as the sheet shows it, .xls and .xlsx alike, or is refused naming
// the cell, leaving the database as it was.
#include "base/errors.h"
#include "db/connection.h"
#include "members/import/workbook_import.h"
#include "tests/members/import/import_fixture.h"

#include <QFileInfo>

namespace {

// The stored columns (by lower-case name) of one member.
struct Stored {
    const char* id;
    std::vector<std::pair<const char*, QVariant>> columns;
};

struct Case {
    const char* file; // in data/; a name without suffix stands for .xls and .xlsx
    std::vector<Stored> members;
    const char* error = nullptr; // the reason refused, when it is
};

QString dataFile(const QString& name) {
    return QStringLiteral(MEMBER_IMPORT_DATA "/") + name;
}

QStringList filesOf(const char* name) {
    const QString file = QString::fromUtf8(name);
    if (!QFileInfo(file).suffix().isEmpty())
        return {file};
    return {file + QStringLiteral(".xls"), file + QStringLiteral(".xlsx")};
}

QVariant date(const char* text) {
    return QString::fromUtf8(text) + QStringLiteral(" 00:00:00");
}

QVariant text(const char* value) {
    return QString::fromUtf8(value);
}

using FixtureFilesTest = ImportFixture;

TEST_F(FixtureFilesTest, FilesImportAsTheSheetShowsThemOrAreRefusedNamingTheCell) {
    const std::vector<Stored> minguoMembers = {{"M1",
                                                {{"birthday", date("1976-12-31")},
                                                 {"mgbirthday", text("65/12/31")},
                                                 {"enterdate", text("96/05/01")}}},
                                               {"M2",
                                                {{"birthday", date("2011-01-05")},
                                                 {"mgbirthday", text("100/01/05")},
                                                 {"enterdate", text("100年1月5日")}}}};
    const Case cases[] = {
        {"shown",
         {{"00007",
           {{"name", text("王小明")},
            {"cdtel", text("0912345678")},
            {"birthday", date("1976-12-31")},
            {"memo1", text("0.333333333333333")}, // =1/3
            {"isenabled", 1}}},
          {"A3", {{"birthday", date("1899-05-06")}, {"isenabled", 0}}},
          // Typed as the member window's users write dates: a Minguo year.
          {"A4", {{"birthday", date("1976-12-31")}, {"isenabled", 1}}}}},
        // =B2&"會員": the spreadsheet program writes the text result into
        // its .xlsx but not into its .xls (there it writes 0 in its place).
        {"joined.xlsx", {{"J1", {{"memo", text("王小明會員")}}}}},
        {"joined.xls",
         {},
         "無法讀取檔案 " MEMBER_IMPORT_DATA
         "/joined.xls: 第 2 列 N 欄的公式結果是文字，檔案卻沒有存下它"
         "（請用 Excel 開啟後另存，或把公式改成值）"},
        // Dates in Minguo formats are stored as the sheet shows them; the
        // birthday column reads them as the member window reads typed dates.
        {"minguo", minguoMembers},
        {"minguo_gnumeric.xls", minguoMembers}, // Gnumeric's .xls of LibreOffice's sheet
        {"minguo_openpyxl.xlsx",
         {{"P1",
           {{"birthday", date("1976-12-31")},
            {"mgbirthday", text("65/12/31")},
            {"enterdate", text("96/05/01")}}},
          {"P2",
           {{"birthday", QVariant()},
            {"mgbirthday", text("100/1/5")},
            {"enterdate", text("100/01/05")}}}}},
        {"minguo_exceljs.xlsx",
         {{"E1",
           {{"birthday", date("1976-12-31")},
            {"mgbirthday", text("65/12/31")},
            {"enterdate", text("96/05/01")}}},
          {"E2", {{"mgbirthday", text("100/01/05")}, {"enterdate", text("100年1月5日")}}}}},
        {"minguo_sheetjs",
         {{"S1",
           {{"birthday", date("1976-12-31")},
            {"mgbirthday", text("65/12/31")},
            {"enterdate", text("96/05/01")}}},
          {"S2", {{"mgbirthday", text("100/01/05")}, {"enterdate", text("100/01/05")}}}}},
        // Written by scripts and never opened in a spreadsheet program: the
        // formula =B2&"會員" has no result in the file.
        {"formula_openpyxl.xlsx",
         {},
         "無法讀取檔案 " MEMBER_IMPORT_DATA
         "/formula_openpyxl.xlsx: 第 2 列 N 欄的公式沒有存下計算結果"
         "（請用 Excel 開啟後另存，或把公式改成值）"},
        {"formula_exceljs.xlsx",
         {},
         "無法讀取檔案 " MEMBER_IMPORT_DATA
         "/formula_exceljs.xlsx: 第 2 列 N 欄的公式沒有存下計算結果"
         "（請用 Excel 開啟後另存，或把公式改成值）"},
        {"formula_sheetjs.xlsx",
         {},
         "無法讀取檔案 " MEMBER_IMPORT_DATA
         "/formula_sheetjs.xlsx: 第 2 列 N 欄的公式沒有存下計算結果"
         "（請用 Excel 開啟後另存，或把公式改成值）"},
        {"date1904",
         {{"B1", {{"birthday", date("1904-01-01")}}}, {"B2", {{"birthday", date("1976-12-31")}}}}},
        {"edge1900",
         {},
         "第 3 列 I 欄「60」不是有效的日期（1900/03/01 以前的日期在各試算表程式中不一致，"
         "請改以文字輸入，如 1900/01/15）"},
        {"unicode.csv",
         {{"D1", {{"name", text("張三豐")}, {"name1", text("先生")}}},
          {"D2", {{"name", text("名字剛好十個字的會員")}}}}},
        {"big5.csv", {{"F1", {{"name", text("陳大文")}}}}},
        {"hkscs.csv",
         {},
         "第 3 列 B 欄「陳\uFFFD」含有無法轉換成文字的位元組（例如沒有 Unicode 對應的 Big5 字）"},
    };
    for (const Case& c : cases) {
        for (const QString& name : filesOf(c.file)) {
            db::run(QStringLiteral("delete from Cust"));
            addMember(QStringLiteral("OLD"));
            QString error;
            try {
                const std::unique_ptr<members::WorkbookReader> reader =
                    members::openWorkbook(dataFile(name));
                members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, true);
            } catch (const LunmarkError& e) {
                error = e.text();
            }
            if (c.error != nullptr) {
                EXPECT_EQ(error, QString::fromUtf8(c.error)) << name.toStdString();
                EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")}) << name.toStdString();
                continue;
            }
            EXPECT_EQ(error, QString()) << name.toStdString();
            QStringList ids;
            for (const Stored& stored : c.members) {
                ids.append(QString::fromUtf8(stored.id));
                const QVariantMap values = member(ids.last());
                for (const auto& [column, value] : stored.columns)
                    EXPECT_EQ(values.value(QLatin1String(column)).toString(), value.toString())
                        << name.toStdString() << " " << stored.id << " " << column;
            }
            EXPECT_EQ(memberIds(), ids) << name.toStdString();
        }
    }
}

// A UTF-16 file without its mark reads as UTF-8 full of NUL bytes: refused
// naming the first such cell (the leading NUL is trimmed as a blank), never stored (SQLite's
// length() would stop at the NUL and let the text past the length checks).
TEST_F(FixtureFilesTest, ControlCharactersAreNeverStored) {
    const QString path = file(QStringLiteral("nul.csv"));
    writeFile(path, QByteArray("id,name\r\nA1,\0B\0C\r\n", 18));
    addMember(QStringLiteral("OLD"));
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
    try {
        members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, false);
        ADD_FAILURE() << "stored";
    } catch (const ConversionError& error) {
        EXPECT_EQ(
            error.text(),
            QStringLiteral("第 2 列 B 欄「B\\x00C」含有控制字元 (U+0000)，檔案的編碼可能不對"));
    }
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
    // Half a UTF-16 pair, in a file of UTF-16 "Unicode text".
    writeFile(path, QByteArray("\xFF\xFE"
                               "i\0d\0\r\0\n\0"
                               "A\0"
                               "1\0"
                               ",\0"
                               "\x00\xDC"
                               "x\0",
                               20));
    const std::unique_ptr<members::WorkbookReader> halves = members::openWorkbook(path);
    try {
        members::importWorkbookRows(*halves, members::WorkbookImportPath::Window, false);
        ADD_FAILURE() << "stored";
    } catch (const ConversionError& error) {
        // The half has no UTF-8 of its own: it is read as a character that
        // could not be converted, in the cell that holds it.
        EXPECT_EQ(error.text(), QStringLiteral("第 2 列 B 欄「\uFFFDx」含有無法轉換成文字的位元組"
                                               "（例如沒有 Unicode 對應的 Big5 字）"));
    }
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

} // namespace
