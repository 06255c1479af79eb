// What must hold alike on SQLite and on a PostgreSQL server: the rules of
// the schema, the statements of the windows, the dataset and its conflict
// check between desks.
#include "tests/db/both_engines.h"
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "tests/support/peer_process.h"

#include <QDateTime>
#include <QSqlQuery>

using namespace dbtest;

namespace {

struct ScalarCase {
    const char* name;
    const char* sql;
    QVariant expected; // null for a null result
};

class SqlRulesTest : public BothEnginesTest {
protected:
    void SetUp() override {
        BothEnginesTest::SetUp();
        if (IsSkipped())
            return;
        exec("insert into Users(UserID, UserName) values('Admin', 'Boss')");
        exec("insert into Cust(id, name, birthday) values('1', 'chen', '1976-12-31 00:00:00')");
    }
};

// Each statement on both engines, with the result SQLite gives.
TEST_P(SqlRulesTest, StatementsGiveTheSameResultOnBothEngines) {
    const ScalarCase cases[] = {
        {"EqualsIgnoresCase", "select count(*) from Users where UserID = 'admin'", 1},
        {"LikeIgnoresCase", "select count(*) from Cust where name like '%CHEN%'", 1},
        {"LikeStartsWith", "select count(*) from Cust where name like 'Ch%'", 1},
        {"ConcatenationWithNullIsNull", "select UserID || '.' || DftStockID from Users",
         QVariant()},
        {"Concatenation", "select UserID || '.' || UserName from Users", "Admin.Boss"},
        {"Limit", "select count(*) from (select * from Cust limit 0) as t", 0},
        {"YearOfAStoredDate", "select year(birthday) from Cust", 1976},
        {"MonthLikeAText", "select count(*) from Cust where month(birthday) like '12'", 1},
        {"DayNotLike", "select count(*) from Cust where day(birthday) not like '3%'", 0},
        {"MonthOfShortDate", "select month('1976-1-5')", 1},
        {"DayOfShortDate", "select day('1976-1-5')", 5},
        {"DayMissing", "select day('1976-12')", QVariant()},
        {"YearOfJunk", "select year('abc')", QVariant()},
        {"YearOfEmpty", "select year('')", QVariant()},
        {"YearOfNull", "select year(null)", QVariant()},
        {"YearTakesNineDigits", "select year('12345678901-01-01')", 123456789},
        {"EnabledByDefault", "select isEnabled from Cust", 1},
        {"NotSelectedByDefault", "select IsSelected from Cust", 0},
    };
    for (const ScalarCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QVariant value = scalar(QString::fromUtf8(c.sql));
        if (c.expected.isNull())
            EXPECT_TRUE(value.isNull()) << value.toString().toStdString();
        else
            EXPECT_EQ(value.toString(), c.expected.toString());
    }
}

TEST_P(SqlRulesTest, LengthLimitsCountCharactersAndRefuseInSqliteWords) {
    exec("insert into Cust(id, name) values('2', :name)",
         {{"name", QStringLiteral("一二三四五六七八九十")}});
    try {
        exec("insert into Cust(id, name) values('3', :name)",
             {{"name", QStringLiteral("一二三四五六七八九十一")}});
        ADD_FAILURE() << "eleven characters were stored in name";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(
            error.text().contains(QStringLiteral("CHECK constraint failed: length(name) <= 10")))
            << error.text().toStdString();
    }
    EXPECT_EQ(count("Cust"), 2);
}

TEST_P(SqlRulesTest, ValuesAreBoundAlike) {
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 30, 5));
    exec(
        "insert into MessageHistory(CustName, Tel, SendDate, Memo) values(:name, :tel, :at, :memo)",
        {{"name", true}, {"tel", 912345678}, {"at", when}, {"memo", 2.5}});
    EXPECT_EQ(scalar("select CustName from MessageHistory").toString(), QStringLiteral("1"));
    EXPECT_EQ(scalar("select Tel from MessageHistory").toString(), QStringLiteral("912345678"));
    EXPECT_EQ(scalar("select SendDate from MessageHistory").toString(),
              QStringLiteral("2026-12-10T09:30:05.000"));
    EXPECT_EQ(scalar("select Memo from MessageHistory").toString(), QStringLiteral("2.5"));
    EXPECT_EQ(count("Cust where isEnabled = :yes"), 0); // unbound: null
    EXPECT_EQ(scalar("select count(*) from Cust where isEnabled = :yes", {{"yes", true}}).toInt(),
              1);
}

// A refused statement inside a transaction leaves the transaction usable
// (a server would otherwise refuse everything up to its end).
TEST_P(SqlRulesTest, RefusedStatementLeavesTheTransactionUsable) {
    {
        db::Transaction transaction;
        exec("insert into Kinds(KindName) values('A')");
        EXPECT_THROW(exec("insert into NoSuchTable values(1)"), DatabaseError);
        exec("insert into Kinds(KindName) values('B')");
        {
            db::Transaction inner;
            exec("insert into Kinds(KindName) values('C')");
        } // rolled back to its savepoint
        transaction.commit();
    }
    EXPECT_EQ(column("select KindName from Kinds order by KindName"), (QStringList{"A", "B"}));
    {
        db::Transaction abandoned;
        exec("insert into Kinds(KindName) values('D')");
    }
    EXPECT_EQ(count("Kinds"), 2);
}

INSTANTIATE_FOR_BOTH_ENGINES(SqlRulesTest);

class EngineDatasetTest : public BothEnginesTest {
protected:
    void SetUp() override {
        BothEnginesTest::SetUp();
        if (IsSkipped())
            return;
        addMember("1", "Chen", "A");
        addMember("2", "Lin", "B");
        m_members.setBaseTable("Cust");
    }
    db::Dataset m_members;
};

// The hidden row identity of a server is no field, and names read as the
// schema spells them, each of its own table.
TEST_P(EngineDatasetTest, FieldsAreTheSchemasColumnsInItsSpelling) {
    m_members.open(QStringLiteral("select * from Cust order by id"));
    const QStringList fields = m_members.fieldNames();
    EXPECT_EQ(fields.size(), 23);
    EXPECT_FALSE(fields.contains(QStringLiteral("rowid"), Qt::CaseInsensitive));
    EXPECT_EQ(fields.first(), QStringLiteral("id"));
    EXPECT_TRUE(fields.contains(QStringLiteral("isEnabled"))) << fields.join(',').toStdString();
    EXPECT_TRUE(fields.contains(QStringLiteral("MGBirthday")));
    EXPECT_EQ(m_members.value("isEnabled"), QVariant(qlonglong(1)));

    db::Dataset settings;
    settings.setBaseTable("SystemSet");
    settings.open(QStringLiteral("select ID, Name from SystemSet"));
    EXPECT_EQ(settings.fieldNames(), (QStringList{"ID", "Name"}));
}

TEST_P(EngineDatasetTest, AliasesKeepTheirSpellingAndWriteBackTheirColumn) {
    m_members.open(
        QStringLiteral("select id, MGBirthday AS b, name || '!' AS Shout from Cust order by id"));
    EXPECT_EQ(m_members.fieldNames(), (QStringList{"id", "b", "Shout"}));
    EXPECT_EQ(m_members.baseColumn(1), QStringLiteral("MGBirthday"));
    EXPECT_TRUE(m_members.baseColumn(2).isEmpty());
    m_members.edit();
    m_members.setValue("b", "65/12/31");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(scalar("select MGBirthday from Cust where id = '1'").toString(),
              QStringLiteral("65/12/31"));
}

TEST_P(EngineDatasetTest, InsertReadsTheCounterAndDefaultsBack) {
    db::Dataset signs;
    signs.setBaseTable("Sign");
    signs.open(QStringLiteral("select ID, Name from Sign"));
    for (const char* name : {"first", "second"}) {
        signs.append();
        signs.setValue("Name", name);
        ASSERT_TRUE(signs.post());
    }
    EXPECT_EQ(signs.value("ID").toLongLong(), 2);
    m_members.open(QStringLiteral("select * from Cust"));
    m_members.append();
    m_members.setValue("id", "3");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(m_members.value("isEnabled").toInt(), 1);
    m_members.edit();
    m_members.setValue("name", "Wang");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(count("Cust where name = 'Wang'"), 1);
}

INSTANTIATE_FOR_BOTH_ENGINES(EngineDatasetTest);

// Another desk, a second program, changes the register between reading and
// saving.
class TwoDesksConflictTest : public EngineDatasetTest {
protected:
    void otherDesk(const QString& sql) {
        PeerProcess::run(database().path(), {QStringLiteral("exec"), sql});
    }
    void expectConflict(const std::function<void()>& save, const char* secondLine) {
        try {
            save();
            ADD_FAILURE() << "the save went through";
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.text().startsWith(QStringLiteral("另一台電腦已修改此筆資料")))
                << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(secondLine)))
                << error.text().toStdString();
        }
        EXPECT_EQ(m_members.state(), db::Dataset::State::Browse);
    }
};

TEST_P(TwoDesksConflictTest, SavingARowChangedMeanwhileWritesNothingAndReloadsIt) {
    m_members.open(QStringLiteral("select id, name, Kind from Cust order by id"));
    otherDesk(QStringLiteral("update Cust set Kind = 'Z' where id = '1'"));
    m_members.edit();
    m_members.setValue("name", "Wu");
    expectConflict([this] { m_members.post(); }, "重新載入");
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chen"));
    EXPECT_EQ(m_members.value("Kind").toString(), QStringLiteral("Z"));
    EXPECT_EQ(count("Cust where name = 'Wu'"), 0);
    // Saving again from the reloaded row goes through.
    m_members.edit();
    m_members.setValue("name", "Wu");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(column("select name || '/' || Kind from Cust where id = '1'"), QStringList{"Wu/Z"});
}

TEST_P(TwoDesksConflictTest, SavingARowDeletedMeanwhileRemovesItFromTheList) {
    m_members.open(QStringLiteral("select id, name from Cust order by id"));
    otherDesk(QStringLiteral("delete from Cust where id = '1'"));
    m_members.edit();
    m_members.setValue("name", "Wu");
    expectConflict([this] { m_members.post(); }, "已從清單移除");
    EXPECT_EQ(m_members.rowCount(), 1);
    EXPECT_EQ(m_members.value("id").toString(), QStringLiteral("2"));
    EXPECT_EQ(count("Cust"), 1);
}

TEST_P(TwoDesksConflictTest, DeletingARowChangedMeanwhileKeepsIt) {
    m_members.open(QStringLiteral("select id, name from Cust order by id"));
    otherDesk(QStringLiteral("update Cust set name = 'Chan' where id = '1'"));
    expectConflict([this] { m_members.remove(); }, "重新載入");
    EXPECT_EQ(m_members.rowCount(), 2);
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chan"));
    EXPECT_EQ(count("Cust"), 2);
}

TEST_P(TwoDesksConflictTest, ChangesToColumnsTheWindowDoesNotShowAreNoConflict) {
    m_members.open(QStringLiteral("select id, name from Cust order by id"));
    otherDesk(QStringLiteral("update Cust set Memo = 'noted' where id = '1'"));
    m_members.edit();
    m_members.setValue("name", "Wu");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(column("select name || '/' || Memo from Cust where id = '1'"),
              QStringList{"Wu/noted"});
}

INSTANTIATE_FOR_BOTH_ENGINES(TwoDesksConflictTest);

} // namespace
