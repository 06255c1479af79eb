// lunmark --export: the members out to .xlsx and .csv from a shell without
// any display, in the import's layout, so that the file imports back into an
// empty register with every imported column equal; --search runs a search
// another desk saved.
#include "db/connection.h"
#include "db/display_text.h"
#include "members/saved_search.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Every column the import stores, in its order.
const QStringList kImported = {"ID",       "Name",      "Name1",   "Tel",      "CDTel",
                               "HomeTel",  "Fax",       "Kind",    "Birthday", "MGBirthday",
                               "Identity", "EnterDate", "Address", "Memo",     "Memo1",
                               "Memo2",    "Memo3",     "Memo4",   "Date1",    "IsEnabled"};

ShellRun lunmark(const QStringList& arguments) {
    db::closeConnection(); // the program opens the register itself
    return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM), arguments);
}

void addMember(const QVariantMap& values) {
    QStringList columns = values.keys();
    QStringList params;
    for (const QString& column : columns)
        params << ':' + column;
    db::run(
        QStringLiteral("insert into Cust(%1) values(%2)").arg(columns.join(','), params.join(',')),
        values);
}

// The stored rows, one text a member, every imported column; the calendar
// birthday as its date whatever form the engine stored it in.
QStringList storedRows() {
    QSqlQuery query =
        db::run(QStringLiteral("select %1 from Cust order by ID").arg(kImported.join(',')));
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < kImported.size(); ++i) {
            QVariant value = query.value(i);
            if (kImported[i] == QLatin1String("Birthday")) {
                const std::optional<QDateTime> when = db::storedDateTime(value);
                value = when ? when->date().toString(Qt::ISODate) : QString();
            }
            // An empty text and no value import alike (an empty cell).
            cells << (value.isNull() ? QString() : value.toString());
        }
        rows << cells.join('|');
    }
    return rows;
}

class CommandLineExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        addMember({{"ID", "00123"},
                   {"Name", "陳大文"},
                   {"Name1", "先生"},
                   {"Tel", "02-2345-6789"},
                   {"CDTel", "0912345678"},
                   {"HomeTel", "(04)2222-3333"},
                   {"Fax", "0223456780"},
                   {"Kind", "金卡"},
                   {"Birthday", "1976-02-29 00:00:00"},
                   {"MGBirthday", "65/02/29"},
                   {"Identity", "A123456789"},
                   {"EnterDate", "096/05/01"},
                   {"Address", "台北市中正區,重慶南路 \"一段\""},
                   {"Memo", "第一行\n第二行"},
                   {"Memo1", "=1+1"},
                   {"Memo2", "0.50"},
                   {"Memo3", "TRUE"},
                   {"Memo4", "備註五"},
                   {"Date1", "2020/01/02"},
                   {"IsEnabled", 1}});
        addMember({{"ID", " M001 "}, {"Name", "林小美"}, {"IsEnabled", 0}});
        addMember({{"ID", "1E5"},
                   {"Name", "王"},
                   {"Tel", "000"},
                   {"Birthday", "1950-12-31 00:00:00"},
                   {"MGBirthday", "39/12/31"},
                   {"EnterDate", "115/01/01"},
                   {"IsEnabled", 1}});
    }

    // Exports from this register to file, imports the file into a new empty
    // one and returns that one's rows.
    QStringList roundTrip(const QString& file) {
        const ShellRun exported = lunmark({"--export", file, "--database", m_database.path()});
        EXPECT_EQ(exported.exitCode, 0) << exported.errors.toStdString();
        EXPECT_TRUE(exported.output.contains(QStringLiteral("3 筆")))
            << exported.output.toStdString();
        auto empty = std::make_unique<TempDatabase>();
        const ShellRun imported = lunmark({"--import", file, "--database", empty->path()});
        EXPECT_EQ(imported.exitCode, 0)
            << imported.errors.toStdString() << imported.output.toStdString();
        db::setDatabaseTarget(empty->target());
        const QStringList rows = storedRows();
        empty.reset();
        db::setDatabaseTarget(m_database.target());
        return rows;
    }

    TempDatabase m_database;
};

TEST_F(CommandLineExportTest, WorkbookAndTextImportBackWithEveryColumnEqual) {
    const QStringList original = storedRows();
    ASSERT_EQ(original.size(), 3);
    for (const char* name : {"members.xlsx", "members.csv"}) {
        const QString file = QDir(m_database.folder()).filePath(QLatin1String(name));
        EXPECT_EQ(roundTrip(file), original) << name;
    }
}

TEST_F(CommandLineExportTest, TextFileHasByteOrderMarkAndTheImportHeadings) {
    const QString file = QDir(m_database.folder()).filePath("members.csv");
    ASSERT_EQ(lunmark({"--export", file, "--database", m_database.path()}).exitCode, 0);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString heading = QString::fromUtf8(bytes.mid(3, bytes.indexOf("\r\n") - 3));
    const QStringList captions = heading.split(',');
    ASSERT_EQ(captions.size(), 22);
    EXPECT_EQ(captions.first(), QStringLiteral("會員編號"));
    EXPECT_EQ(captions[8], QStringLiteral("生日"));
    EXPECT_EQ(captions[18], QStringLiteral("其他日期"));
    EXPECT_EQ(captions.last(), QStringLiteral("有效"));
}

TEST_F(CommandLineExportTest, SearchSavedByAnotherDeskChoosesTheMembers) {
    // This process is the other desk: it stores the searches in the register.
    // The telephone search lists in telephone order.
    members::saved::SavedSearch search;
    search.name = QStringLiteral("電話零開頭");
    search.input.criterion = members::search::Tel;
    search.input.value = QStringLiteral("0");
    members::saved::saveSearch(search, false);
    members::saved::SavedSearch all;
    all.name = QStringLiteral("停用會員");
    all.input.criterion = members::search::Name;
    all.input.value = QStringLiteral("林");
    all.activeMembers = false;
    members::saved::saveSearch(all, false);

    struct Case {
        const char* search;
        QStringList ids;
    } cases[] = {{"電話零開頭", {"1E5", "00123"}}, {"停用會員", {" M001 "}}};
    for (const Case& c : cases) {
        const QString file = QDir(m_database.folder()).filePath("found.csv");
        const ShellRun run = lunmark({"--export", file, "--search", QString::fromUtf8(c.search),
                                      "--database", m_database.path()});
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        QStringList ids;
        const QStringList lines =
            QString::fromUtf8(written.readAll()).split("\r\n", Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < lines.size(); ++i)
            ids << lines[i].section(',', 0, 0).remove('"');
        EXPECT_EQ(ids, c.ids) << c.search;
    }
}

TEST_F(CommandLineExportTest, UnknownSearchOrUnwritableFileFailsAndLeavesNoFile) {
    const QString file = QDir(m_database.folder()).filePath("none.xlsx");
    const ShellRun unknown =
        lunmark({"--export", file, "--search", "沒有這個", "--database", m_database.path()});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.errors.contains(QStringLiteral("找不到常用查詢「沒有這個」")))
        << unknown.errors.toStdString();
    EXPECT_FALSE(QFile::exists(file));

    const QString missingFolder = QDir(m_database.folder()).filePath("nowhere/members.xlsx");
    const ShellRun unwritable =
        lunmark({"--export", missingFolder, "--database", m_database.path()});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errors.contains(QStringLiteral("匯出失敗")))
        << unwritable.errors.toStdString();

    const ShellRun noFile = lunmark({"--export"});
    EXPECT_EQ(noFile.exitCode, 2);
}

} // namespace
