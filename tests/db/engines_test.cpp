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
#include <QHash>
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
    EXPECT_EQ(fields.size(), 24);
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

// A save finds the row deleted meanwhile, by another desk or by this
// program (another dataset over the table, or an import that replaced the
// rows): nothing is written, the typed values stay on the same row, the
// user learns who deleted it, and the values become a new row only when
// the question says so. Cancelling then gives the row up.
TEST_P(TwoDesksConflictTest, SavingARowDeletedMeanwhileKeepsTheTypedValues) {
    using By = db::Dataset::DeletedBy;
    enum class Deleter { OtherDesk, OtherDataset, Import };
    enum class Answer { NotAsked, No, Yes };
    const struct {
        Deleter deleter;
        By said;
    } deleters[] = {{Deleter::OtherDesk, By::AnotherDesk},
                    {Deleter::OtherDataset, By::ThisProgram},
                    {Deleter::Import, By::ThisProgram}};
    int round = 0;
    for (const auto& d : deleters) {
        for (const Answer answer : {Answer::NotAsked, Answer::No, Answer::Yes}) {
            // Members of their own each round; deleting never the last
            // one, whose rowid SQLite would give again.
            const QString prefix = QStringLiteral("r%1-").arg(++round);
            const QString first = prefix + QStringLiteral("1");
            SCOPED_TRACE(first.toStdString());
            addMember(first, "Chen", "A");
            addMember(prefix + QStringLiteral("2"), "Lin", "B");
            const QString select =
                QStringLiteral("select id, name, Kind from Cust where id like :p order by id");
            const QVariantMap params{{QStringLiteral("p"), prefix + QStringLiteral("%")}};
            db::Dataset members;
            members.setBaseTable("Cust");
            members.open(select, params);
            QList<By> asked;
            if (answer != Answer::NotAsked) {
                members.setGoneRowQuestion([&](By by) {
                    asked << by;
                    return answer == Answer::Yes;
                });
            }
            members.edit();
            members.setValue("name", "Wu");

            switch (d.deleter) {
            case Deleter::OtherDesk:
                otherDesk(QStringLiteral("delete from Cust where id = '%1'").arg(first));
                break;
            case Deleter::OtherDataset: {
                db::Dataset other;
                other.setBaseTable("Cust");
                other.open(select, params);
                ASSERT_TRUE(other.remove());
                break;
            }
            case Deleter::Import:
                exec(QStringLiteral("delete from Cust where id = '%1'").arg(first));
                members.noteRowsReplacedHere();
                break;
            }

            bool saved = false;
            if (answer == Answer::NotAsked) {
                try {
                    members.post();
                    ADD_FAILURE() << "the save of a deleted row went through";
                } catch (const DatabaseError& error) {
                    EXPECT_TRUE(error.text().startsWith(db::Dataset::deletedText(d.said)))
                        << error.text().toStdString();
                }
            } else {
                saved = members.post();
                EXPECT_EQ(asked, QList<By>{d.said});
            }
            EXPECT_EQ(saved, answer == Answer::Yes);
            // Still the same row, as typed.
            EXPECT_EQ(members.rowCount(), 2);
            EXPECT_EQ(members.value("id").toString(), first);
            EXPECT_EQ(members.value("name").toString(), QStringLiteral("Wu"));
            const QString stored =
                QStringLiteral("select name || '/' || Kind from Cust where id = '%1'").arg(first);
            if (answer == Answer::Yes) {
                EXPECT_EQ(members.state(), db::Dataset::State::Browse);
                EXPECT_EQ(column(stored), QStringList{"Wu/A"});
                // The new row is edited under its own identity.
                members.edit();
                members.setValue("Kind", "C");
                ASSERT_TRUE(members.post());
                EXPECT_EQ(column(stored), QStringList{"Wu/C"});
                continue;
            }
            EXPECT_EQ(members.state(), db::Dataset::State::Edit);
            EXPECT_EQ(count(QStringLiteral("Cust where id = '%1'").arg(first)), 0);
            if (answer == Answer::No) {
                // Saving again asks again.
                EXPECT_FALSE(members.post());
                EXPECT_EQ(asked.size(), 2);
            }
            members.cancel();
            EXPECT_EQ(members.state(), db::Dataset::State::Browse);
            EXPECT_EQ(members.rowCount(), 1);
            EXPECT_EQ(members.value("id").toString(), prefix + QStringLiteral("2"));
            EXPECT_EQ(count(QStringLiteral("Cust where id = '%1'").arg(first)), 0);
        }
    }
}

// A member typed into a deleted row is stored as new only under the checks
// every new row meets: a number another member took meanwhile is refused by
// the write check, and the typed values stay in a new row.
TEST_P(TwoDesksConflictTest, ADeletedRowStoredAsNewMeetsTheWriteChecks) {
    m_members.open(QStringLiteral("select id, name from Cust order by id"));
    int refusals = 0;
    m_members.addWriteCheck(
        [this] {
            return count(QStringLiteral("Cust where id = '%1'")
                             .arg(m_members.value("id").toString())) == 0;
        },
        [&refusals] { ++refusals; });
    m_members.setGoneRowQuestion([](db::Dataset::DeletedBy) { return true; });
    m_members.edit();
    m_members.setValue("name", "Wu");
    otherDesk(QStringLiteral("delete from Cust where id = '1'"));
    otherDesk(QStringLiteral("insert into Cust(id, name) values('1', 'Other')"));
    EXPECT_FALSE(m_members.post());
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(m_members.state(), db::Dataset::State::Insert);
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Wu"));
    EXPECT_EQ(column("select name from Cust where id = '1'"), QStringList{"Other"});
    m_members.setValue("id", "3");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(column("select name from Cust where id = '3'"), QStringList{"Wu"});
}

// Deleting a row another desk or this program already deleted drops it
// from the list and says who did.
TEST_P(TwoDesksConflictTest, DeletingARowDeletedMeanwhileSaysWhoDeletedIt) {
    for (const bool here : {false, true}) {
        SCOPED_TRACE(here);
        m_members.open(QStringLiteral("select id, name from Cust order by id"));
        if (here) {
            db::Dataset other;
            other.setBaseTable("Cust");
            other.open(QStringLiteral("select id, name from Cust order by id"));
            ASSERT_TRUE(other.remove());
        } else {
            otherDesk(QStringLiteral("delete from Cust where id = '1'"));
        }
        try {
            m_members.remove();
            ADD_FAILURE() << "the deleted row was deleted again";
        } catch (const DatabaseError& error) {
            const auto by =
                here ? db::Dataset::DeletedBy::ThisProgram : db::Dataset::DeletedBy::AnotherDesk;
            EXPECT_TRUE(error.text().startsWith(db::Dataset::deletedText(by)))
                << error.text().toStdString();
        }
        EXPECT_EQ(m_members.rowCount(), 1);
        EXPECT_EQ(m_members.value("id").toString(), QStringLiteral("2"));
        addMember("1", "Chen", "A");
    }
}

// The message of a save another desk's change kept from being written lists
// what was typed and differs from what was read, field by field, under the
// titles the window gives (then only titled fields), else the field names.
TEST_P(TwoDesksConflictTest, TheTypedValuesOfASaveChangedMeanwhileAreListed) {
    const QHash<QString, QString> titled{{QStringLiteral("name"), QStringLiteral("姓名")},
                                         {QStringLiteral("Tel"), QStringLiteral("電話")}};
    const struct {
        QHash<QString, QString> titles;
        const char* tel; // typed
        QStringList lines;
    } cases[] = {
        {{}, "0912", {"name﹕Wu", "Tel﹕0912"}},
        {titled, "0912", {"姓名﹕Wu", "電話﹕0912"}},
        {titled, "", {"姓名﹕Wu", "電話﹕(空白)"}},
        {titled, "02-1234", {"姓名﹕Wu"}}, // Tel typed as it was read
    };
    exec("update Cust set Tel = '02-1234' where id = '1'");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tel);
        m_members.open(QStringLiteral("select id, name, Tel, Kind from Cust order by id"));
        m_members.setFieldTitles(c.titles);
        m_members.edit();
        m_members.setValue("name", "Wu");
        m_members.setValue("Kind", "A"); // as read: not listed
        m_members.setValue("Tel", *c.tel ? QVariant(QString::fromUtf8(c.tel)) : QVariant());
        otherDesk(QStringLiteral("update Cust set Kind = 'Q' where id = '1'"));
        try {
            m_members.post();
            ADD_FAILURE() << "the save went through";
        } catch (const DatabaseError& error) {
            const QString text = error.text();
            const QString typed = text.mid(text.indexOf(QStringLiteral("輸入內容﹕\n")) + 6);
            EXPECT_EQ(typed.split('\n'), c.lines) << text.toStdString();
        }
        EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chen"));
        exec("update Cust set Kind = 'A' where id = '1'");
    }
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
