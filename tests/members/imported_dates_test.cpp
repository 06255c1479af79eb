// Members imported from a workbook whose dates are in Minguo formats: the
// member window saves them after an edit without their dates retyped, since
// the import kept the dates as the sheet showed them.
#include "formats/workbook_reader.h"
#include "members/import/workbook_import.h"
#include "tests/members/member_window_fixture.h"

namespace {

using ImportedDatesTest = MemberWindowTest;

TEST_F(ImportedDatesTest, MinguoDatesOfASheetPassTheWindowsChecksOnTheFirstSave) {
    // Written by LibreOffice and by ExcelJS (tests/members/import/data).
    const std::pair<const char*, const char*> files[] = {{"minguo.xlsx", "M1"},
                                                         {"minguo_exceljs.xlsx", "E1"}};
    for (const auto& [name, id] : files) {
        SCOPED_TRACE(name);
        const std::unique_ptr<members::WorkbookReader> reader =
            members::openWorkbook(QStringLiteral(MEMBER_IMPORT_DATA "/") + QLatin1String(name));
        members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, true);
        open();
        searchAll();
        ASSERT_EQ(window->currentCustId(), QLatin1String(id));
        press("SbEdit");
        type("DBEdit3", QStringLiteral("02-2345-6789"));
        prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
        press("SbSave");
        const QString member = QLatin1String(id);
        EXPECT_EQ(stored(member, QStringLiteral("Tel")).toString(), QStringLiteral("02-2345-6789"));
        EXPECT_EQ(stored(member, QStringLiteral("MGBirthday")).toString(),
                  QStringLiteral("65/12/31"));
        EXPECT_EQ(stored(member, QStringLiteral("EnterDate")).toString(),
                  QStringLiteral("96/05/01"));
        EXPECT_EQ(stored(member, QStringLiteral("birthday")).toString(),
                  QStringLiteral("1976-12-31 00:00:00"));
        closeWindow();
    }
}

} // namespace
