// lunmark --import and --import-list, run as a separate program on the
// test's database file without any display, the way a script runs them.
#include "db/connection.h"
#include "tests/members/import/import_fixture.h"
#include "tests/members/import/member_list_text.h"
#include "tests/support/shell_run.h"

#include <QDir>

namespace {

using namespace test_files;

QString dataFile(const char* name) {
    return QStringLiteral(MEMBER_IMPORT_DATA "/") + QString::fromUtf8(name);
}

class CommandLineImportTest : public ImportFixture {
protected:
    // Runs lunmark with arguments and the test's database; no display, no
    // platform plugin chosen.
    ShellRun lunmark(QStringList arguments) {
        db::closeConnection(); // the other program has the file to itself meanwhile
        arguments << QStringLiteral("--database") << database.path();
        return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM), arguments);
    }

    int backups() const {
        return int(QDir(database.folder() + QStringLiteral("/backups"))
                       .entryList({QStringLiteral("*.sqlite")}, QDir::Files)
                       .size());
    }
};

TEST_F(CommandLineImportTest, ImportsAWorkbookAndSaysHowMany) {
    addMember(QStringLiteral("OLD"));
    const ShellRun result = lunmark({QStringLiteral("--import"), dataFile("shown.xls")});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(result.output, QStringLiteral("導入成功: 3 筆會員資料\n"));
    EXPECT_EQ(memberIds(), (QStringList{QStringLiteral("OLD"), QStringLiteral("00007"),
                                        QStringLiteral("A3"), QStringLiteral("A4")}));
    EXPECT_EQ(backups(), 0);
}

TEST_F(CommandLineImportTest, ReplaceDeletesTheOldMembersAfterABackup) {
    addMember(QStringLiteral("OLD"));
    const ShellRun result = lunmark(
        {QStringLiteral("--import"), dataFile("date1904.xlsx"), QStringLiteral("--replace")});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(memberIds(), (QStringList{QStringLiteral("B1"), QStringLiteral("B2")}));
    EXPECT_EQ(backups(), 1);
}

// A refused file leaves every member where it was, the old ones of
// --replace included, and says why on the error output.
TEST_F(CommandLineImportTest, FailureSaysWhyAndChangesNothing) {
    struct Case {
        QStringList arguments;
        const char* reason;
    };
    const Case cases[] = {
        {{QStringLiteral("--import"), dataFile("hkscs.csv"), QStringLiteral("--replace")},
         "第 3 列 B 欄「陳\uFFFD」含有無法轉換成文字的位元組"},
        {{QStringLiteral("--import"), dataFile("edge1900.xlsx")},
         "第 3 列 I 欄「60」不是有效的日期"},
        {{QStringLiteral("--import"), dataFile("members.xls") + QStringLiteral(".missing")},
         "無法開啟檔案"},
    };
    addMember(QStringLiteral("OLD"));
    for (const Case& c : cases) {
        const ShellRun result = lunmark(c.arguments);
        EXPECT_EQ(result.exitCode, 1) << c.reason;
        EXPECT_TRUE(result.errors.startsWith(QStringLiteral("導入失敗\n")))
            << result.errors.toStdString();
        EXPECT_TRUE(result.errors.contains(QString::fromUtf8(c.reason)))
            << result.errors.toStdString();
        EXPECT_EQ(result.output, QString());
        EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")}) << c.reason;
    }
}

TEST_F(CommandLineImportTest, ImportsAPrintedMemberList) {
    const QList<ListMember> members = listMembers(1, 2);
    const QString path = file(QStringLiteral("list.txt"));
    writeFile(path, listPage(members, 1));
    const ShellRun result = lunmark({QStringLiteral("--import-list"), path});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(result.output, QStringLiteral("導入成功: 2 筆會員資料\n"));
    EXPECT_EQ(memberIds(), (QStringList{members[0].id, members[1].id}));
}

TEST_F(CommandLineImportTest, CommandLinesItDoesNotUnderstandChangeNothing) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--import"), dataFile("shown.xls"), QStringLiteral("--what")},
          QStringList{QStringLiteral("--import-list"), dataFile("shown.xls"),
                      QStringLiteral("--replace")},
          QStringList{QStringLiteral("--import"), dataFile("shown.xls"),
                      QStringLiteral("--import-list"), dataFile("shown.xls")}}) {
        const ShellRun result = lunmark(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.errors.contains(QStringLiteral("lunmark --import 檔案")));
    }
    EXPECT_TRUE(memberIds().isEmpty());
}

} // namespace
