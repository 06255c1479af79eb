// The change history that every write of a member leaves: what each kind of
// write records, that records share the fate of their write, and what
// another desk's changes record.
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/backup.h"
#include "db/change_history.h"
#include "db/database_target.h"
#include "db/dataset.h"
#include "db/history_retention.h"
#include "db/sqlite_file.h"
#include "tests/support/peer_process.h"
#include "tests/support/refusing_trigger.h"

#include <QSettings>
#include <functional>

using namespace dbtest;

namespace {

// "action|field|old|new" of every record, oldest first.
QStringList records() {
    return column(QStringLiteral(
        "select Action || '|' || coalesce(Field, '') || '|' || coalesce(OldValue, '<null>') || "
        "'|' || coalesce(NewValue, '<null>') from CustHistory order by ID"));
}

class ChangeHistoryTest : public DbTest {
protected:
    void SetUp() override {
        db::history::setUser(QStringLiteral("amy"));
        addMember(QStringLiteral("7"), QStringLiteral("Chen"), QStringLiteral("A"));
        m_members.setBaseTable(QStringLiteral("Cust"));
        m_members.open(QStringLiteral("select id, name, Kind, Tel, photo from Cust order by id"));
    }
    void TearDown() override { db::history::setUser(QString()); }

public:
    QString databasePath() const { return m_database.path(); }
    void editTo(const QVariantMap& values) {
        m_members.edit();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            m_members.setValue(it.key(), it.value());
    }

protected:
    db::Dataset m_members;
};

struct WriteCase {
    const char* name;
    std::function<void(ChangeHistoryTest&, db::Dataset&)> write;
    QStringList expected; // records(), with rowText() of the row as "<row>"
};

class ChangeHistoryWrites : public ChangeHistoryTest,
                            public ::testing::WithParamInterface<WriteCase> {};

TEST_P(ChangeHistoryWrites, LeaveExactlyTheirRecords) {
    GetParam().write(*this, m_members);
    QStringList got = records();
    // A whole row is checked by the columns it names.
    for (QString& record : got) {
        if (!record.contains('{'))
            continue;
        const qsizetype open = record.indexOf('{');
        const qsizetype close = record.indexOf('}', open);
        const QVariantMap row = db::history::rowFromText(record.mid(open, close - open + 1));
        EXPECT_EQ(row.value("id").toString(), row.value("name").toString() == "Wang" ? "8" : "7")
            << record.toStdString();
        EXPECT_TRUE(row.contains("memo5")) << "every column is kept: " << record.toStdString();
        record = record.left(open) + "<row>" + record.mid(close + 1);
    }
    EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, ChangeHistoryWrites,
    ::testing::Values(WriteCase{"InsertRecordsTheNewRow",
                                [](ChangeHistoryTest&, db::Dataset& members) {
                                    members.append();
                                    members.setValue("id", "8");
                                    members.setValue("name", "Wang");
                                    ASSERT_TRUE(members.post());
                                },
                                {"insert||<null>|<row>"}},
                      WriteCase{"UpdateRecordsEachChangedColumnOnly",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    test.editTo({{"name", "Lin"}, {"Kind", "A"}, {"Tel", "0912"}});
                                    ASSERT_TRUE(members.post());
                                },
                                {"update|name|Chen|Lin", "update|Tel|<null>|0912"}},
                      WriteCase{"ClearingAColumnRecordsItsOldValue",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    test.editTo({{"Kind", QVariant()}});
                                    ASSERT_TRUE(members.post());
                                },
                                {"update|Kind|A|<null>"}},
                      WriteCase{"PhotoRecordsItsPathNotThePicture",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    test.editTo({{"photo", "/pictures/chen.jpg"}});
                                    ASSERT_TRUE(members.post());
                                },
                                {"update|photo|<null>|/pictures/chen.jpg"}},
                      WriteCase{"SaveWithoutChangesRecordsNothing",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    test.editTo({{"name", "Chen"}});
                                    ASSERT_TRUE(members.post());
                                },
                                {}},
                      WriteCase{"DeleteRecordsTheWholeRow",
                                [](ChangeHistoryTest&, db::Dataset& members) {
                                    ASSERT_TRUE(members.remove());
                                },
                                {"delete||<row>|<null>"}},
                      WriteCase{"RefusedSaveRecordsNothing",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    RefusingTrigger refusing("Cust", "update", "disk full");
                                    test.editTo({{"name", "Lin"}});
                                    EXPECT_THROW(members.post(), DatabaseError);
                                },
                                {}},
                      WriteCase{"SaveRefusedForTheHistoryStoresNothing",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    RefusingTrigger refusing("CustHistory", "insert",
                                                             "history full");
                                    test.editTo({{"name", "Lin"}});
                                    EXPECT_THROW(members.post(), DatabaseError);
                                    EXPECT_EQ(column("select name from Cust"), QStringList{"Chen"});
                                },
                                {}},
                      WriteCase{"ConflictWithAnotherDeskRecordsOnlyTheOtherDesksChange",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    test.editTo({{"name", "Lin"}});
                                    PeerProcess::run(test.databasePath(), {"rename", "7", "Wu"});
                                    EXPECT_THROW(members.post(), DatabaseError);
                                },
                                {"update|name|Chen|Wu"}},
                      WriteCase{"RevertScopeRecordsTheWriteAsARevert",
                                [](ChangeHistoryTest& test, db::Dataset& members) {
                                    db::history::RevertScope revert;
                                    test.editTo({{"name", "Lin"}});
                                    ASSERT_TRUE(members.post());
                                },
                                {"revert|name|Chen|Lin"}}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST_F(ChangeHistoryTest, RecordsNameTheUserTheDeskTheMemberAndTheTime) {
    const QString before = db::history::timeText(QDateTime::currentDateTime());
    editTo({{"name", "Lin"}});
    ASSERT_TRUE(m_members.post());
    const QString after = db::history::timeText(QDateTime::currentDateTime());
    EXPECT_EQ(column("select UserID || '|' || Host || '|' || CustID || '|' || CustRowid from "
                     "CustHistory"),
              QStringList{"amy|" + db::history::desk() + "|7|" +
                          scalar("select rowid from Cust").toString()});
    const QString when = scalar("select ChangeTime from CustHistory").toString();
    EXPECT_LE(before, when);
    EXPECT_GE(after, when);
}

TEST_F(ChangeHistoryTest, AnotherDesksChangeNamesItsUser) {
    PeerProcess::run(m_database.path(), {"rename", "7", "Wu"});
    EXPECT_EQ(column("select UserID || '|' || Action || '|' || NewValue from CustHistory"),
              QStringList{"peer|update|Wu"});
}

TEST_F(ChangeHistoryTest, AWriteInsideARolledBackTransactionLeavesNoRecord) {
    {
        db::Transaction outer;
        editTo({{"name", "Lin"}});
        ASSERT_TRUE(m_members.post());
        EXPECT_EQ(count("CustHistory"), 1);
    }
    EXPECT_EQ(count("CustHistory"), 0);
    EXPECT_EQ(column("select name from Cust"), QStringList{"Chen"});
}

TEST_F(ChangeHistoryTest, RegisterWithoutTheTableIsWrittenWithoutRecords) {
    exec("DROP TABLE CustHistory");
    EXPECT_FALSE(db::history::available());
    editTo({{"name", "Lin"}});
    ASSERT_TRUE(m_members.post());
    ASSERT_TRUE(m_members.remove());
    EXPECT_EQ(count("Cust"), 0);
    db::history::ImportRecord import;
    EXPECT_EQ(import.finish(), 0);
}

// A register an older Lunmark made, without the table: opening it adds the
// table, keeps the members and records from the first change on.
TEST_F(ChangeHistoryTest, OlderRegisterGainsTheTableOnOpeningAndRecordsFromThen) {
    m_members.close();
    exec("DROP TABLE CustHistory");
    db::closeConnection();
    EXPECT_TRUE(db::history::available());
    EXPECT_EQ(count("CustHistory"), 0);
    m_members.open(QStringLiteral("select id, name from Cust"));
    editTo({{"name", "Lin"}});
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(records(), QStringList{"update|name|Chen|Lin"});
}

TEST_F(ChangeHistoryTest, ImportRecordsOneBatchAndEachStoredMember) {
    {
        db::Transaction transaction;
        db::history::ImportRecord import;
        addMember("8", "Wang");
        addMember("9", "Lee");
        const qint64 batch = import.finish();
        transaction.commit();
        EXPECT_EQ(column("select coalesce(CustID, '-') || '|' || coalesce(NewValue, '') || '|' || "
                         "case when BatchID = " +
                         QString::number(batch) +
                         " then 1 else 0 end from CustHistory order by ID"),
                  (QStringList{"-|2|0", "8|Wang|1", "9|Lee|1"}));
    }
    EXPECT_EQ(column("select distinct Action from CustHistory"), QStringList{"import"});
}

TEST_F(ChangeHistoryTest, RolledBackImportLeavesNoRecord) {
    {
        db::Transaction transaction;
        db::history::ImportRecord import;
        addMember("8", "Wang");
        import.finish();
    }
    EXPECT_EQ(count("CustHistory"), 0);
}

// Records made days ago, the oldest first.
void addRecordsAged(const QList<int>& daysAgo) {
    for (const int days : daysAgo)
        exec("insert into CustHistory (ChangeTime, CustID, Action) values (:t, :d, 'update')",
             {{"t", db::history::timeText(QDateTime::currentDateTime().addDays(-days))},
              {"d", QString::number(days)}});
}

void writeKeepDays(const QString& value) {
    QSettings ini(db::settingsFilePath(), QSettings::IniFormat);
    ini.setValue("History/KeepDays", value);
}

TEST_F(ChangeHistoryTest, KeepDaysIsReadFromTheSettingsAndDefaultsToTenYears) {
    const struct {
        const char* written;
        int days;
    } cases[] = {{nullptr, 3650}, {"30", 30}, {"abc", 3650}, {"0", 3650}, {"-5", 3650}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written ? c.written : "absent");
        if (c.written)
            writeKeepDays(QString::fromUtf8(c.written));
        EXPECT_EQ(db::history::keepDays(), c.days);
    }
}

TEST_F(ChangeHistoryTest, PruningRemovesOnlyRecordsOlderThanKeepDays) {
    addRecordsAged({400, 31, 29, 0});
    EXPECT_EQ(db::history::pruneRecords(30), 2);
    EXPECT_EQ(column("select CustID from CustHistory order by ID"), (QStringList{"29", "0"}));
    EXPECT_EQ(db::history::pruneRecords(30), 0);
}

class ChangeHistoryBackupTest : public SqliteDbTest {};

// The day's copy still holds the expired records; the register no longer does.
TEST_F(ChangeHistoryBackupTest, DailyBackupKeepsTheRecordsAndThenPrunesThem) {
    addRecordsAged({4000, 10});
    const QString backup = db::takeDailyBackup();
    ASSERT_FALSE(backup.isEmpty());
    EXPECT_EQ(column("select CustID from CustHistory"), QStringList{"10"});
    db::SqliteFile copy(backup, db::SqliteFile::Mode::ReadOnly);
    EXPECT_EQ(copy.column("select CustID from CustHistory order by ID"),
              (QStringList{"4000", "10"}));
}

TEST(ChangeHistoryRowText, KeepsNullsApartFromEmptyTexts) {
    const QVariantMap row{{"id", "7"}, {"name", ""}, {"memo", QVariant()}, {"isenabled", 1}};
    const QVariantMap back = db::history::rowFromText(db::history::rowText(row));
    EXPECT_EQ(back.value("id").toString(), "7");
    EXPECT_FALSE(back.value("name").isNull());
    EXPECT_TRUE(back.value("name").toString().isEmpty());
    EXPECT_TRUE(back.value("memo").isNull());
    EXPECT_EQ(back.value("isenabled").toString(), "1");
}

} // namespace
