// The imports read the 不接收簡訊 mark from an optional column of that
// heading, wherever it stands in the heading row.
#include "db/connection.h"
#include "tests/members/import/import_fixture.h"
#include "tests/support/shell_run.h"

#include <QSqlQuery>

namespace {

class OptOutImportTest : public ImportFixture {
protected:
    ShellRun import(const QByteArray& csv) {
        const QString path = file(QStringLiteral("members.csv"));
        writeFile(path, csv);
        db::closeConnection();
        return runWithoutDisplay(
            QStringLiteral(LUNMARK_PROGRAM),
            {QStringLiteral("--import"), path, QStringLiteral("--database"), database.path()});
    }
    // The heading row: the 22 columns the import reads, then more.
    static QByteArray headings(const QByteArray& after) {
        return "編號,姓名" + QByteArray(20, ',') + after + "\n";
    }
    static QByteArray row(const char* id, const QByteArray& after) {
        return QByteArray(id) + ",會員" + QByteArray(20, ',') + after + "\n";
    }
};

TEST_F(OptOutImportTest, TheMarkIsReadFromItsHeadingOrLeftAtItsDefault) {
    const struct {
        const char* title;
        QByteArray csv;
        QStringList marks;
    } cases[] = {
        {"the column right after",
         headings(",不接收簡訊") + row("A1", ",是") + row("A2", ",") + row("A3", ",否") +
             row("A4", ",TRUE"),
         {"A1=1", "A2=0", "A3=0", "A4=1"}},
        {"further on, the heading with blanks",
         headings(",備用, 不接收簡訊 ") + row("B1", ",x,1"),
         {"B1=1"}},
        {"no such heading", headings(",備用") + row("C1", ",是"), {"C1=0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        db::run("delete from Cust");
        const ShellRun run = import(c.csv);
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        QStringList marks;
        QSqlQuery query = db::run("select id, NoSms from Cust order by id");
        while (query.next())
            marks << query.value(0).toString() + '=' + query.value(1).toString();
        EXPECT_EQ(marks, c.marks);
    }
}

TEST_F(OptOutImportTest, AMarkThatIsNoYesOrNoIsRefusedNamingItsCell) {
    addMember(QStringLiteral("OLD"));
    const ShellRun run = import(headings(",不接收簡訊") + row("A1", ",是") + row("A2", ",也許"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("第 3 列 W 欄「也許」不是有效的是否值")))
        << run.errors.toStdString();
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

} // namespace
