// lunmark --import with --preview, --add, --update and --skip-existing, and
// --undo-import, run as a separate program on the test's register (both
// engines): the same monthly list imported twice in each mode, then taken
// back.
#include "db/connection.h"
#include "tests/members/import/import_fixture.h"
#include "tests/support/shell_run.h"

#include <QSqlQuery>

namespace {

QString dataFile(const char* name) {
    return QStringLiteral(MEMBER_IMPORT_DATA "/") + QString::fromUtf8(name);
}

const QString kFirst = dataFile("first_import.xlsx");   // A01, A02, " A03"
const QString kSecond = dataFile("second_import.xlsx"); // A01, A04, A02, A04, A03

class ImportMatchingTest : public ImportFixture {
protected:
    ShellRun lunmark(QStringList arguments, const QByteArray& input = {}) {
        db::closeConnection(); // the other program has the register to itself meanwhile
        arguments << QStringLiteral("--database") << database.path();
        return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM), arguments, input);
    }

    // Number, name, telephone, memo and active flag of every member in
    // stored order: what an import changes.
    std::string members() const { return memberRows().join('\n').toStdString(); }
    QStringList memberRows() const {
        QSqlQuery query = db::run(QStringLiteral(
            "select id, name, Tel, Memo, IsEnabled, birthday from cust order by rowid"));
        QStringList rows;
        while (query.next()) {
            QStringList values;
            for (int column = 0; column < 6; ++column)
                values << (query.value(column).isNull() ? QStringLiteral("∅")
                                                        : query.value(column).toString());
            rows << values.join('|');
        }
        return rows;
    }

    void importFirst() {
        const ShellRun first = lunmark({QStringLiteral("--import"), kFirst});
        ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
    }

    int imports() const {
        QSqlQuery query = db::run(QStringLiteral("select count(*) from ImportLog"));
        query.next();
        return query.value(0).toInt();
    }
};

std::string lines(const QStringList& rows) {
    return rows.join('\n').toStdString();
}

const QStringList kAfterFirst = {
    QStringLiteral("A01|王小明|0911111111|舊備註|1|1976-12-31 00:00:00"),
    QStringLiteral("A02|陳大文|0922222222||1|∅"),
    QStringLiteral(" A03|李四|||1|∅"),
};

// The second list in each mode: its preview, its outcome, what is stored,
// and that taking it back leaves the first import's members as they were.
TEST_F(ImportMatchingTest, SecondListInEachModeAndItsUndo) {
    struct Case {
        const char* mode;
        QStringList preview;
        const char* output;
        QStringList stored;
    };
    const QStringList existing = {
        QStringLiteral("已存在 第 2 列「A01」"), QStringLiteral("已存在 第 4 列「A02」"),
        QStringLiteral("檔內重複 第 5 列「A04」（同第 3 列）"),
        QStringLiteral("新增 2 筆，已存在 2 筆，檔內重複 1 筆，錯誤 0 筆")};
    const Case cases[] = {
        {"--add", existing, "導入成功: 5 筆會員資料\n",
         kAfterFirst +
             QStringList{QStringLiteral("A01||0933333333|新備註|0|∅"),
                         QStringLiteral("A04|新會員|||1|∅"), QStringLiteral("A02|陳大文改|||1|∅"),
                         QStringLiteral("A04|重複|||1|∅"), QStringLiteral("A03|王五|||1|∅")}},
        {"--update",
         existing,
         "導入成功: 4 筆會員資料（新增 2 筆，更新 2 筆，略過已存在 0 筆，略過檔內重複 1 筆）\n",
         // empty cells keep the stored name, salutation and birthday
         {QStringLiteral("A01|王小明|0933333333|新備註|0|1976-12-31 00:00:00"),
          QStringLiteral("A02|陳大文改|0922222222||1|∅"), QStringLiteral(" A03|李四|||1|∅"),
          QStringLiteral("A04|新會員|||1|∅"), QStringLiteral("A03|王五|||1|∅")}},
        {"--skip-existing", existing,
         "導入成功: 2 筆會員資料（新增 2 筆，更新 0 筆，略過已存在 2 筆，略過檔內重複 1 筆）\n",
         kAfterFirst +
             QStringList{QStringLiteral("A04|新會員|||1|∅"), QStringLiteral("A03|王五|||1|∅")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        db::run(QStringLiteral("delete from cust"));
        db::run(QStringLiteral("delete from ImportLogRow"));
        db::run(QStringLiteral("delete from ImportLog"));
        importFirst();
        ASSERT_EQ(members(), lines(kAfterFirst));
        const QString mode = QString::fromUtf8(c.mode);

        const ShellRun preview =
            lunmark({QStringLiteral("--import"), kSecond, mode, QStringLiteral("--preview")});
        EXPECT_EQ(preview.exitCode, 0) << preview.errors.toStdString();
        EXPECT_EQ(preview.output, c.preview.join('\n') + '\n');
        EXPECT_EQ(members(), lines(kAfterFirst)) << "the preview changed nothing";
        EXPECT_EQ(imports(), 1);

        const ShellRun second = lunmark({QStringLiteral("--import"), kSecond, mode});
        EXPECT_EQ(second.exitCode, 0) << second.errors.toStdString();
        EXPECT_EQ(second.output, QString::fromUtf8(c.output));
        EXPECT_EQ(members(), lines(c.stored));

        const ShellRun no = lunmark({QStringLiteral("--undo-import")}, "\n");
        EXPECT_EQ(no.exitCode, 1) << "the question defaults to no";
        EXPECT_EQ(members(), lines(c.stored));

        const ShellRun undo = lunmark({QStringLiteral("--undo-import")}, "y\n");
        EXPECT_EQ(undo.exitCode, 0) << undo.errors.toStdString();
        EXPECT_EQ(members(), lines(kAfterFirst)) << undo.output.toStdString();
        EXPECT_EQ(imports(), 1);
    }
}

TEST_F(ImportMatchingTest, PreviewOfAFileInErrorSaysSoAndExitsOne) {
    addMember(QStringLiteral("OLD"));
    const ShellRun preview = lunmark(
        {QStringLiteral("--import"), dataFile("edge1900.xlsx"), QStringLiteral("--preview")});
    EXPECT_EQ(preview.exitCode, 1);
    EXPECT_TRUE(preview.output.contains(QStringLiteral("錯誤 第 3 列 I 欄「60」不是有效的日期")))
        << preview.output.toStdString();
    EXPECT_TRUE(preview.output.endsWith(QStringLiteral("錯誤 1 筆\n")));
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

TEST_F(ImportMatchingTest, UndoAfterReplaceBringsTheOldMembersBack) {
    importFirst();
    db::run(QStringLiteral("update cust set Memo = '手改' where id = 'A02'"));
    const std::string before = members();
    const ShellRun replace =
        lunmark({QStringLiteral("--import"), kSecond, QStringLiteral("--replace")});
    ASSERT_EQ(replace.exitCode, 0) << replace.errors.toStdString();
    EXPECT_EQ(memberIds().size(), 5);
    const ShellRun undo = lunmark({QStringLiteral("--undo-import")}, "y\n");
    EXPECT_EQ(undo.exitCode, 0) << undo.errors.toStdString();
    EXPECT_EQ(members(), before);
    // The first import is now the last one; the old members kept their row
    // identities, so its record finds them: A02, changed by hand since, stays.
    const ShellRun again = lunmark({QStringLiteral("--undo-import")}, "y\n");
    EXPECT_EQ(again.exitCode, 0) << again.errors.toStdString();
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("A02")});
    const ShellRun none = lunmark({QStringLiteral("--undo-import")}, "y\n");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.errors.contains(QStringLiteral("沒有可以復原的導入")));
}

// A member changed (or deleted) after the import is named, and stays as it
// is unless the second question is answered yes.
TEST_F(ImportMatchingTest, UndoLeavesMembersChangedSinceUnlessConfirmed) {
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        db::run(QStringLiteral("delete from cust"));
        importFirst();
        const ShellRun update =
            lunmark({QStringLiteral("--import"), kSecond, QStringLiteral("--update")});
        ASSERT_EQ(update.exitCode, 0) << update.errors.toStdString();
        db::run(QStringLiteral("update cust set Tel = '0944444444' where id = 'A02'"));
        db::run(QStringLiteral("update cust set name = '改過' where id = 'A04'"));
        const ShellRun undo =
            lunmark({QStringLiteral("--undo-import")}, confirm ? "y\ny\n" : "y\nn\n");
        EXPECT_EQ(undo.exitCode, 0) << undo.errors.toStdString();
        EXPECT_TRUE(undo.output.contains(QStringLiteral("「A02」陳大文改\n「A04」新會員")))
            << undo.output.toStdString();
        if (confirm) {
            EXPECT_EQ(members(),
                      lines((QStringList{kAfterFirst[0], kAfterFirst[1], kAfterFirst[2]})));
        } else {
            EXPECT_EQ(
                members(),
                lines((QStringList{kAfterFirst[0], QStringLiteral("A02|陳大文改|0944444444||1|∅"),
                                   kAfterFirst[2], QStringLiteral("A04|改過|||1|∅")})));
        }
        // The next undo takes back the first import.
        db::run(QStringLiteral("delete from ImportLogRow"));
        db::run(QStringLiteral("delete from ImportLog"));
    }
}

TEST_F(ImportMatchingTest, OnlyTheLastTenImportsAreKept) {
    for (int run = 0; run < 11; ++run) {
        const ShellRun result =
            lunmark({QStringLiteral("--import"), kFirst, QStringLiteral("--skip-existing")});
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    }
    EXPECT_EQ(imports(), 10);
    QSqlQuery rows = db::run(QStringLiteral(
        "select count(*) from ImportLogRow where ImportID not in (select ID from ImportLog)"));
    rows.next();
    EXPECT_EQ(rows.value(0).toInt(), 0);
    EXPECT_EQ(memberIds().size(), 3);
}

// A register from before the import record gains its tables when the
// command line opens it, keeps its members, and the import can be taken back.
TEST_F(ImportMatchingTest, RegisterFromBeforeTheRecordGainsItsTables) {
    addMember(QStringLiteral("OLD"));
    db::run(QStringLiteral("drop table ImportLogRow"));
    db::run(QStringLiteral("drop table ImportLog"));
    const ShellRun import = lunmark({QStringLiteral("--import"), kFirst});
    ASSERT_EQ(import.exitCode, 0) << import.errors.toStdString();
    EXPECT_EQ(imports(), 1);
    const ShellRun undo = lunmark({QStringLiteral("--undo-import")}, "y\n");
    EXPECT_EQ(undo.exitCode, 0) << undo.errors.toStdString();
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

// --copy-database takes the record along: the copy can take the import back.
TEST_F(ImportMatchingTest, CopiedRegisterKeepsTheRecord) {
    importFirst();
    const QString copy = file(QStringLiteral("copy.sqlite"));
    db::closeConnection();
    const ShellRun copied =
        runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM),
                          {QStringLiteral("--copy-database"), database.path(), copy});
    ASSERT_EQ(copied.exitCode, 0) << copied.errors.toStdString();
    const ShellRun undo = runWithoutDisplay(
        QStringLiteral(LUNMARK_PROGRAM),
        {QStringLiteral("--undo-import"), QStringLiteral("--database"), copy}, "y\n");
    EXPECT_EQ(undo.exitCode, 0) << undo.errors.toStdString();
    EXPECT_TRUE(undo.output.contains(QStringLiteral("刪除新增的會員 3 筆")))
        << undo.output.toStdString();
    EXPECT_EQ(memberIds().size(), 3) << "the original keeps its members";
}

} // namespace
