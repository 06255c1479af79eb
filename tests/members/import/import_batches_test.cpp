#include "base/errors.h"
#include "db/connection.h"
#include "db/postgres.h"
#include "members/import/workbook_import.h"
#include "tests/formats/workbook_files.h"
#include "tests/members/import/import_fixture.h"
#include "tests/support/peer_process.h"

#include <QSqlQuery>
#include <functional>
#include <optional>

// Imports of files larger than a batch of rows: on a server the rows go a
// thousand at a time without waiting for each answer, and a refusal must
// still name the row and column SQLite names, with nothing stored.
namespace {

using test_files::csvText;
using test_files::memberRow;

// Members N1 to N2600 from row 2 on: rows 2 to 2001 fill two batches, the
// rest go one at a time at the end.
constexpr int kMembers = 2600;
constexpr int kNameColumn = 2;
constexpr int kBirthdayColumn = 9;
constexpr int kEnabledColumn = 22;

class ImportBatchesTest : public ImportFixture {
protected:
    // The rows of the import window's sheet: a heading, then the members.
    static QList<QStringList> sheet(int members = kMembers) {
        QList<QStringList> rows{{QStringLiteral("會員編號")}};
        for (int i = 1; i <= members; ++i)
            rows.append(memberRow(QStringLiteral("N%1").arg(i), QStringLiteral("會員")));
        return rows;
    }

    static void setCell(QList<QStringList>& rows, int row, int column, const QString& text) {
        rows[row - 1][column - 1] = text;
    }

    // Imports rows through the import window's path, deleting the members
    // there were; the error it refuses with, if any.
    std::optional<QString> import(const QList<QStringList>& rows,
                                  const std::function<void(int)>& progress = {}) {
        const QString path = file(QStringLiteral("members.csv"));
        writeFile(path, csvText(rows).toUtf8());
        const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
        try {
            members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, true,
                                        progress);
        } catch (const LunmarkError& error) {
            return error.text();
        }
        return std::nullopt;
    }

    static int enabled(const QString& id) {
        QSqlQuery query = db::run(QStringLiteral("select isEnabled from Cust where id = :id"),
                                  {{QStringLiteral("id"), id}});
        return query.next() ? query.value(0).toInt() : -1;
    }

    static QStringList numbers(int from, int to) {
        QStringList list;
        for (int i = from; i <= to; ++i)
            list.append(QStringLiteral("N%1").arg(i));
        return list;
    }
};

const QString kLongName = QStringLiteral("一二三四五六七八九十一");

TEST_F(ImportBatchesTest, RefusedRowIsNamedAsAloneAndNothingIsStored) {
    struct Case {
        const char* name;
        std::function<void(QList<QStringList>&)> change;
        bool uniqueNumbers;
        QString error;
    };
    const Case cases[] = {
        {"InTheFirstBatch",
         [](QList<QStringList>& rows) { setCell(rows, 500, kNameColumn, kLongName); }, false,
         QStringLiteral("第 500 列 B 欄「%1」太長（最多 10 字）").arg(kLongName)},
        {"LastRowOfABatch",
         [](QList<QStringList>& rows) { setCell(rows, 2001, kNameColumn, kLongName); }, false,
         QStringLiteral("第 2001 列 B 欄「%1」太長（最多 10 字）").arg(kLongName)},
        {"FirstRowOfABatch",
         [](QList<QStringList>& rows) { setCell(rows, 1002, kNameColumn, kLongName); }, false,
         QStringLiteral("第 1002 列 B 欄「%1」太長（最多 10 字）").arg(kLongName)},
        {"InTheRowsSentOneAtATime",
         [](QList<QStringList>& rows) { setCell(rows, 2500, kNameColumn, kLongName); }, false,
         QStringLiteral("第 2500 列 B 欄「%1」太長（最多 10 字）").arg(kLongName)},
        {"TwoRefusalsTheFirstIsNamed",
         [](QList<QStringList>& rows) {
             setCell(rows, 1700, kNameColumn, kLongName);
             setCell(rows, 1300, kNameColumn, kLongName + kLongName);
         },
         false,
         QStringLiteral("第 1300 列 B 欄「%1」太長（最多 10 字）").arg(kLongName + kLongName)},
        {"NumberTwiceInOneBatch",
         [](QList<QStringList>& rows) { setCell(rows, 1200, 1, QStringLiteral("N1005")); }, true,
         QStringLiteral("第 1200 列 A 欄「N1005」已經有了，不能重複")},
        {"RefusalBeforeADateThatDoesNotConvert",
         [](QList<QStringList>& rows) {
             setCell(rows, 1500, kNameColumn, kLongName);
             setCell(rows, 1800, kBirthdayColumn, QStringLiteral("1976/13/40"));
         },
         false, QStringLiteral("第 1500 列 B 欄「%1」太長（最多 10 字）").arg(kLongName)},
        {"DateThatDoesNotConvertAfterWholeBatches",
         [](QList<QStringList>& rows) {
             setCell(rows, 2300, kBirthdayColumn, QStringLiteral("1976/13/40"));
         },
         false, QStringLiteral("第 2300 列 I 欄「1976/13/40」不是有效的日期")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::run(QStringLiteral("delete from Cust"));
        if (c.uniqueNumbers)
            keepNumbersUnique();
        addMember(QStringLiteral("OLD"));
        QList<QStringList> rows = sheet();
        c.change(rows);
        EXPECT_EQ(import(rows), std::optional<QString>(c.error));
        EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
        if (c.uniqueNumbers)
            db::run(QStringLiteral("drop index CustIdUnique"));
    }
}

// Rows whose active-member cell is empty keep the column's default through
// a statement of their own; mixed with the others they are stored in the
// file's order all the same.
TEST_F(ImportBatchesTest, MixedActiveCellsAreStoredInTheFilesOrder) {
    QList<QStringList> rows = sheet();
    const QString cells[] = {QString(), QStringLiteral("TRUE"), QStringLiteral("FALSE")};
    int falseCells = 0;
    for (int i = 1; i <= kMembers; ++i) {
        // Long runs of one kind with single rows of another, then all mixed.
        const int kind = i < 1500 ? (i % 400 == 0 ? 0 : 2) : i % 3;
        setCell(rows, i + 1, kEnabledColumn, cells[kind]);
        falseCells += kind == 2 ? 1 : 0;
    }
    ASSERT_EQ(import(rows), std::nullopt);
    EXPECT_EQ(memberIds(), numbers(1, kMembers));
    QSqlQuery disabled = db::run(QStringLiteral("select count(*) from Cust where isEnabled = 0"));
    ASSERT_TRUE(disabled.next());
    EXPECT_EQ(disabled.value(0).toInt(), falseCells);
    EXPECT_EQ(enabled(QStringLiteral("N400")), 1); // the column's default
    EXPECT_EQ(enabled(QStringLiteral("N401")), 0);
}

// The menu's import adds each member's salutation to the list between the
// rows: every salutation once, every member stored.
TEST_F(ImportBatchesTest, MenuImportAddsEverySalutationOnce) {
    QList<QStringList> rows{{QStringLiteral("會員資料")}, {QStringLiteral("會員編號")}};
    const QString titles[] = {QStringLiteral("理事"), QStringLiteral("會長"),
                              QStringLiteral("顧問")};
    for (int i = 1; i <= kMembers; ++i) {
        QStringList row = memberRow(QStringLiteral("N%1").arg(i), QStringLiteral("會員"));
        row[2] = i < 2000 ? titles[i % 2] : titles[2];
        rows.append(row);
    }
    const QString path = file(QStringLiteral("menu.csv"));
    writeFile(path, csvText(rows).toUtf8());
    const QStringList before = salutations();
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
    EXPECT_EQ(members::importWorkbookRows(*reader, members::WorkbookImportPath::Menu, false),
              kMembers);
    EXPECT_EQ(memberIds(), numbers(1, kMembers));
    QStringList added = salutations().mid(before.size());
    EXPECT_EQ(added, (QStringList{titles[1], titles[0], titles[2]}));
}

// The server ends the session while rows are on their way: the import says
// the connection was lost, nothing of it stays, and the next import runs.
TEST_F(ImportBatchesTest, LostConnectionMidImportLeavesNothing) {
    if (database.engine() != db::Engine::Postgresql)
        GTEST_SKIP() << "a server's session only";
    addMember(QStringLiteral("OLD"));
    QSqlQuery session = db::run(QStringLiteral("select pg_backend_pid()"));
    ASSERT_TRUE(session.next());
    const QString pid = session.value(0).toString();
    const std::optional<QString> error = import(sheet(), [&](int nextRow) {
        if (nextRow == 1500)
            PeerProcess::run(database.path(),
                             {QStringLiteral("exec"),
                              QStringLiteral("select pg_terminate_backend(%1)").arg(pid)});
    });
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(db::lostConnectionText())) << error->toStdString();
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
    EXPECT_EQ(import(sheet(10)), std::nullopt);
    EXPECT_EQ(memberIds(), numbers(1, 10));
}

} // namespace
