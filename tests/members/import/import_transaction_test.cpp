#include "db/connection.h"
#include "members/import/workbook_import.h"
#include "tests/formats/workbook_files.h"
#include "tests/members/import/import_fixture.h"

#include <csignal>

namespace {

using ImportTransactionTest = ImportFixture;

// The import holds one transaction to its end: a process killed halfway,
// after deleting the old members and storing some new ones, leaves the
// database as it was.
TEST_F(ImportTransactionTest, KilledImportLeavesTheDatabaseAsItWas) {
    addMember(QStringLiteral("OLD"));
    QList<QStringList> rows{{QStringLiteral("會員編號")}};
    for (int i = 1; i <= 50; ++i)
        rows.append(test_files::memberRow(QStringLiteral("N%1").arg(i), QStringLiteral("新會員")));
    const QString path = file(QStringLiteral("members.csv"));
    writeFile(path, test_files::csvText(rows).toUtf8());
    // SQLite connections do not cross a fork: the child opens its own.
    db::closeConnection();
    EXPECT_EXIT(
        {
            const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
            members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, true,
                                        [](int nextRow) {
                                            if (nextRow == 30)
                                                std::raise(SIGKILL);
                                        });
            std::exit(0);
        },
        testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

} // namespace
