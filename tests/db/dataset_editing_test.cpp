#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/dataset.h"

#include <QDate>
#include <QSignalSpy>
#include <functional>

using db::Dataset;

using namespace dbtest;

namespace {

class DatasetEditingTest : public DbTest {
protected:
    void SetUp() override {
        addMember("1", "Chen", "A");
        addMember("2", "Lin", "B");
        m_members.setBaseTable("Cust");
        m_members.open(QStringLiteral("select * from Cust order by id"));
    }

    QStringList stored(const char* sql) const { return column(QString::fromUtf8(sql)); }

    Dataset m_members;
};

TEST_F(DatasetEditingTest, EditPostWritesTheChangedRowByRowid) {
    m_members.moveTo(1);
    m_members.edit();
    m_members.setValue("name", "Lim");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(stored("select name from Cust order by id"), (QStringList{"Chen", "Lim"}));
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Lim"));
}

TEST_F(DatasetEditingTest, InsertWritesOnlyAssignedColumnsAndReadsDefaultsBack) {
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    m_members.append();
    EXPECT_EQ(m_members.rowCount(), 3);
    EXPECT_EQ(m_members.rowNumber(), 3);
    EXPECT_EQ(moved.last(), (QVariantList{3, 3}));
    EXPECT_TRUE(m_members.value("isEnabled").isNull());
    m_members.setValue("id", "3");
    m_members.setValue("name", "Wang");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(stored("select isEnabled || ',' || IsSelected from Cust where id = '3'"),
              QStringList{"1,0"});
    EXPECT_EQ(m_members.value("isEnabled").toInt(), 1);
    EXPECT_EQ(m_members.value("IsSelected").toInt(), 0);
}

TEST_F(DatasetEditingTest, NewRowDefaultsAndActionsFillTheNewRow) {
    m_members.setNewRowDefaults({{"isEnabled", false}, {"NoSuchField", 1}});
    m_members.onNewRow([this] { m_members.setValue("Kind", "C"); });
    m_members.append();
    EXPECT_EQ(m_members.value("isEnabled"), QVariant(0));
    m_members.setValue("id", "3");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(stored("select isEnabled || Kind from Cust where id = '3'"), QStringList{"0C"});
}

TEST_F(DatasetEditingTest, InsertReadsBackTheCounter) {
    Dataset signs;
    signs.setBaseTable("Sign");
    signs.open(QStringLiteral("select * from Sign"));
    for (const QString& name : {QStringLiteral("first"), QStringLiteral("second")}) {
        signs.append();
        signs.setValue("Name", name);
        ASSERT_TRUE(signs.post());
    }
    EXPECT_EQ(signs.value(0, signs.fieldIndex("ID")).toInt(), 1);
    EXPECT_EQ(signs.value("ID").toInt(), 2);
    EXPECT_EQ(stored("select ID || Name from Sign order by ID"),
              (QStringList{"1first", "2second"}));
}

TEST_F(DatasetEditingTest, RowsWithoutACounterAreEditedAndDeletedByRowid) {
    exec("insert into Kinds (KindName) values ('same')");
    exec("insert into Kinds (KindName) values ('same')");
    Dataset kinds;
    kinds.setBaseTable("Kinds");
    kinds.open(QStringLiteral("select * from Kinds"));
    kinds.last();
    kinds.edit();
    kinds.setValue("KindName", "other");
    ASSERT_TRUE(kinds.post());
    EXPECT_EQ(stored("select KindName from Kinds order by rowid"), (QStringList{"same", "other"}));
    kinds.first();
    ASSERT_TRUE(kinds.remove());
    EXPECT_EQ(stored("select KindName from Kinds"), QStringList{"other"});
}

TEST_F(DatasetEditingTest, AliasedColumnIsWrittenToItsColumnAndItsOtherFields) {
    m_members.open(QStringLiteral("select *, MGBirthday AS b from Cust order by id"));
    EXPECT_EQ(m_members.baseColumn(m_members.fieldIndex("b")), QStringLiteral("MGBirthday"));
    m_members.edit();
    m_members.setValue("b", "65/12/31");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(stored("select MGBirthday from Cust where id = '1'"), QStringList{"65/12/31"});
    EXPECT_EQ(m_members.value("MGBirthday").toString(), QStringLiteral("65/12/31"));
}

TEST_F(DatasetEditingTest, ExpressionsAreNotWrittenBack) {
    m_members.open(QStringLiteral("select id, name || '!' AS shout from Cust order by id"));
    EXPECT_TRUE(m_members.baseColumn(m_members.fieldIndex("shout")).isEmpty());
    m_members.edit();
    m_members.setValue("shout", "loud");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(stored("select name from Cust order by id"), (QStringList{"Chen", "Lin"}));
    EXPECT_EQ(m_members.value("shout").toString(), QStringLiteral("loud"));
}

TEST_F(DatasetEditingTest, DatesAndBooleansAreStoredAsTheDatabaseKeepsThem) {
    m_members.edit();
    m_members.setValue("birthday", QDate(1976, 12, 31));
    m_members.setValue("isEnabled", false);
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(stored("select birthday || ' ' || isEnabled from Cust where id = '1'"),
              QStringList{"1976-12-31 00:00:00 0"});
}

// A before-post check: what it answers, and what the post then does.
struct PostCheckCase {
    const char* name;
    bool insert;
    bool allow;
};

void PrintTo(const PostCheckCase& c, std::ostream* out) {
    *out << c.name;
}

class PostCheckTest : public DatasetEditingTest,
                      public ::testing::WithParamInterface<PostCheckCase> {};

TEST_P(PostCheckTest, CheckDecidesWhetherTheRowIsWritten) {
    const PostCheckCase& c = GetParam();
    int checks = 0;
    m_members.addBeforePost([&] {
        ++checks;
        EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Wu"));
        return c.allow;
    });
    c.insert ? m_members.append() : m_members.edit();
    m_members.setValue("id", "9");
    m_members.setValue("name", "Wu");
    EXPECT_EQ(m_members.post(), c.allow);
    EXPECT_EQ(checks, 1);
    const Dataset::State editing = c.insert ? Dataset::State::Insert : Dataset::State::Edit;
    EXPECT_EQ(m_members.state(), c.allow ? Dataset::State::Browse : editing);
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Wu"));
    EXPECT_EQ(count("Cust where name = 'Wu'"), c.allow ? 1 : 0);
    EXPECT_EQ(count("Cust"), c.allow && c.insert ? 3 : 2);
}

INSTANTIATE_TEST_SUITE_P(Checks, PostCheckTest,
                         ::testing::Values(PostCheckCase{"EditAllowed", false, true},
                                           PostCheckCase{"EditRefused", false, false},
                                           PostCheckCase{"InsertAllowed", true, true},
                                           PostCheckCase{"InsertRefused", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DatasetEditingTest, ThrowingCheckAbandonsThePostAndKeepsEditing) {
    m_members.addBeforePost([]() -> bool { throw DatabaseError("refused"); });
    m_members.edit();
    m_members.setValue("name", "Wu");
    EXPECT_THROW(m_members.post(), DatabaseError);
    EXPECT_EQ(m_members.state(), Dataset::State::Edit);
    EXPECT_EQ(count("Cust where name = 'Wu'"), 0);
}

TEST_F(DatasetEditingTest, CancelOfEditRestoresTheRow) {
    m_members.edit();
    m_members.setValue("name", "Wu");
    QSignalSpy changed(&m_members, &Dataset::dataChanged);
    m_members.cancel();
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chen"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(stored("select name from Cust order by id"), (QStringList{"Chen", "Lin"}));
}

TEST_F(DatasetEditingTest, CancelOfInsertDropsTheRowAndReturns) {
    m_members.moveTo(1);
    m_members.append();
    m_members.setValue("id", "9");
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    QSignalSpy removed(&m_members, &Dataset::rowRemoved);
    m_members.cancel();
    EXPECT_EQ(m_members.rowCount(), 2);
    EXPECT_EQ(m_members.value("id").toString(), QStringLiteral("2"));
    EXPECT_EQ(removed.count(), 1);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0], (QVariantList{2, 2}));
    EXPECT_EQ(count("Cust"), 2);
}

TEST_F(DatasetEditingTest, EditOfAnEmptyResultStartsANewRow) {
    Dataset settings;
    settings.setBaseTable("SystemSet");
    settings.open(QStringLiteral("select * from Systemset"));
    settings.edit();
    EXPECT_EQ(settings.state(), Dataset::State::Insert);
    settings.setValue("Name", "Lunmark");
    ASSERT_TRUE(settings.post());
    EXPECT_EQ(column("select ID || Name from SystemSet"), QStringList{"1Lunmark"});
}

// A before-delete check and its effect.
struct DeleteCase {
    const char* name;
    int row;
    bool allow;
    QStringList remaining;
    int currentNumber; // row number after the delete
};

void PrintTo(const DeleteCase& c, std::ostream* out) {
    *out << c.name;
}

class DeleteTest : public DatasetEditingTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteTest, CheckDecidesWhetherTheRowIsDeleted) {
    const DeleteCase& c = GetParam();
    addMember("3", "Wang");
    m_members.refresh();
    m_members.moveTo(c.row);
    m_members.addBeforeDelete([&] { return c.allow; });
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    EXPECT_EQ(m_members.remove(), c.allow);
    EXPECT_EQ(stored("select id from Cust order by id"), c.remaining);
    EXPECT_EQ(m_members.rowCount(), c.remaining.size());
    EXPECT_EQ(m_members.rowNumber(), c.currentNumber);
    EXPECT_EQ(moved.count(), c.allow ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Deletes, DeleteTest,
                         ::testing::Values(DeleteCase{"Refused", 1, false, {"1", "2", "3"}, 2},
                                           DeleteCase{"MiddleGoesToNext", 1, true, {"1", "3"}, 2},
                                           DeleteCase{"LastGoesToNewLast", 2, true, {"1", "2"}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DatasetEditingTest, DeleteWhileInsertingCancelsTheNewRow) {
    m_members.append();
    EXPECT_TRUE(m_members.remove());
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
    EXPECT_EQ(m_members.rowCount(), 2);
    EXPECT_EQ(count("Cust"), 2);
}

TEST_F(DatasetEditingTest, BatchModeNeverWrites) {
    const QStringList before = stored("select id || name || IsSelected from Cust order by id");
    m_members.setBatchMode(true);
    m_members.edit();
    m_members.setValue("IsSelected", 1);
    ASSERT_TRUE(m_members.post());
    m_members.append();
    m_members.setValue("id", "3");
    ASSERT_TRUE(m_members.post());
    m_members.first();
    m_members.next();
    ASSERT_TRUE(m_members.remove());
    EXPECT_EQ(stored("select id || name || IsSelected from Cust order by id"), before);
    EXPECT_EQ(m_members.rowCount(), 2);
    EXPECT_EQ(m_members.value(0, m_members.fieldIndex("IsSelected")).toInt(), 1);
    EXPECT_EQ(m_members.value(1, m_members.fieldIndex("id")).toString(), QStringLiteral("3"));
}

TEST_F(DatasetEditingTest, WithoutABaseTableOnlyBatchModeTakesChanges) {
    Dataset names;
    names.open(QStringLiteral("select name from Cust order by id"));
    names.edit();
    names.setValue("name", "Wu");
    EXPECT_THROW(names.post(), DatabaseError);
    EXPECT_EQ(names.state(), Dataset::State::Edit);
    names.cancel();
    names.setBatchMode(true);
    names.edit();
    names.setValue("name", "Wu");
    ASSERT_TRUE(names.post());
    EXPECT_EQ(names.value("name").toString(), QStringLiteral("Wu"));
    EXPECT_EQ(count("Cust where name = 'Wu'"), 0);
}

// A refused post: the database's text surfaces and the typed values stay.
class RefusedPostTest : public DatasetEditingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RefusedPostTest, KeepsEditingWithTheTypedValues) {
    const bool insert = GetParam();
    insert ? m_members.append() : m_members.edit();
    const QString tooLong = QStringLiteral("ABCDEFGHIJK"); // 11 characters, the limit is 10
    m_members.setValue("name", tooLong);
    try {
        m_members.post();
        ADD_FAILURE() << "an over-long name was stored";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("CHECK constraint failed")))
            << error.text().toStdString();
    }
    EXPECT_EQ(m_members.state(), insert ? Dataset::State::Insert : Dataset::State::Edit);
    EXPECT_EQ(m_members.value("name").toString(), tooLong);
    m_members.setValue("name", "ABCDEFGHIJ");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(count("Cust where name = 'ABCDEFGHIJ'"), 1);
}

INSTANTIATE_TEST_SUITE_P(EditAndInsert, RefusedPostTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Insert" : "Edit"; });

// Another program deleted the row: nothing is written back, the user is
// told why, and the typed values stay on the row until the edit is
// cancelled, which gives the row up.
TEST_F(DatasetEditingTest, UpdateOfARowGoneMeanwhileIsRefused) {
    const int rows = m_members.rowCount();
    exec("delete from Cust where id = '1'");
    m_members.edit();
    m_members.setValue("name", "Wu");
    try {
        m_members.post();
        ADD_FAILURE() << "the save of a deleted row went through";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().startsWith(QStringLiteral("另一台電腦已刪除此筆資料")))
            << error.text().toStdString();
    }
    EXPECT_EQ(m_members.state(), Dataset::State::Edit);
    EXPECT_EQ(m_members.rowCount(), rows);
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Wu"));
    EXPECT_EQ(count("Cust where name = 'Wu'"), 0);
    m_members.cancel();
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
    EXPECT_EQ(m_members.rowCount(), rows - 1);
    EXPECT_EQ(count("Cust where name = 'Wu'"), 0);
}

TEST_F(DatasetEditingTest, MovingAwayPostsTheEditedRowUnlessRefused) {
    bool allow = false;
    m_members.addBeforePost([&] { return allow; });
    m_members.edit();
    m_members.setValue("name", "Wu");
    EXPECT_FALSE(m_members.next());
    EXPECT_EQ(m_members.currentRow(), 0);
    EXPECT_EQ(m_members.state(), Dataset::State::Edit);
    allow = true;
    EXPECT_TRUE(m_members.next());
    EXPECT_EQ(m_members.currentRow(), 1);
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
    EXPECT_EQ(count("Cust where name = 'Wu'"), 1);
}

// A write check runs inside the write's transaction; when it refuses,
// nothing is written, its refusal is told once and the typed row stays.
TEST_F(DatasetEditingTest, WriteChecksRunWithTheWriteAndARefusalWritesNothing) {
    for (bool adding : {true, false}) {
        for (bool passes : {true, false}) {
            SCOPED_TRACE(std::string(adding ? "insert" : "update") +
                         (passes ? " passes" : " refused"));
            db::run(QStringLiteral("delete from Cust"));
            addMember("1", "Chen", "A");
            addMember("2", "Lin", "B");
            Dataset members;
            members.setBaseTable("Cust");
            members.open(QStringLiteral("select * from Cust order by id"));
            bool insideATransaction = false;
            int refusals = 0;
            members.addWriteCheck(
                [&] {
                    insideATransaction = db::inTransaction();
                    return passes;
                },
                [&] {
                    EXPECT_FALSE(db::inTransaction()) << "told after the transaction ends";
                    ++refusals;
                });
            if (adding) {
                members.append();
                members.setValue("id", "3");
            } else {
                members.moveTo(1);
                members.edit();
            }
            members.setValue("name", "Wang");
            EXPECT_EQ(members.post(), passes);
            EXPECT_TRUE(insideATransaction);
            EXPECT_FALSE(db::inTransaction());
            EXPECT_EQ(refusals, passes ? 0 : 1);
            EXPECT_EQ(members.isEditing(), !passes);
            EXPECT_EQ(members.value("name").toString(), QStringLiteral("Wang"));
            EXPECT_EQ(count("Cust where name = 'Wang'"), passes ? 1 : 0);
            EXPECT_EQ(count("Cust"), adding && passes ? 3 : 2);
        }
    }
}

// Moving, sorting, refreshing and appending ask the leave-row question
// while a row is edited: staying keeps the row and does nothing; giving the
// row up or storing it lets the action go on; an answer that leaves the row
// being edited counts as staying.
TEST_F(DatasetEditingTest, LeavingAnEditedRowAsksTheQuestion) {
    struct Action {
        const char* name;
        std::function<bool(Dataset&)> run;
    } actions[] = {
        {"next", [](Dataset& d) { return d.next(); }},
        {"sort", [](Dataset& d) { return d.sortBy("name", Qt::DescendingOrder); }},
        {"refresh", [](Dataset& d) { return d.refresh(); }},
        {"append",
         [](Dataset& d) {
             d.append();
             return d.state() == Dataset::State::Insert && d.rowCount() == 3;
         }},
    };
    enum class Answer { Stay, GiveUp, Store, LeaveEditing };
    for (const Action& action : actions) {
        for (Answer answer : {Answer::Stay, Answer::GiveUp, Answer::Store, Answer::LeaveEditing}) {
            SCOPED_TRACE(std::string(action.name) + " " + std::to_string(int(answer)));
            db::run(QStringLiteral("update Cust set name = 'Chen' where id = '1'"));
            Dataset members;
            members.setBaseTable("Cust");
            members.open(QStringLiteral("select * from Cust order by id"));
            int asked = 0;
            members.setLeaveRowQuestion([&] {
                ++asked;
                switch (answer) {
                case Answer::Stay:
                    return false;
                case Answer::GiveUp:
                    members.cancel();
                    return true;
                case Answer::Store:
                    return members.post();
                case Answer::LeaveEditing:
                    return true;
                }
                return false;
            });
            members.edit();
            members.setValue("name", "Wu");
            const bool wentOn = action.run(members);
            const bool shouldGoOn = answer == Answer::GiveUp || answer == Answer::Store;
            EXPECT_EQ(asked, 1);
            EXPECT_EQ(wentOn, shouldGoOn);
            EXPECT_EQ(count("Cust where name = 'Wu'"), answer == Answer::Store ? 1 : 0);
            if (!shouldGoOn) {
                EXPECT_EQ(members.state(), Dataset::State::Edit);
                EXPECT_EQ(members.currentRow(), 0);
                EXPECT_EQ(members.value("name").toString(), QStringLiteral("Wu"));
            }
        }
    }
}

// A new row given up on the way to another row is gone, and the move lands
// on the row chosen.
TEST_F(DatasetEditingTest, NewRowGivenUpOnTheWayToAnotherRowIsDropped) {
    m_members.setLeaveRowQuestion([this] {
        m_members.cancel();
        return true;
    });
    m_members.moveTo(1);
    m_members.append();
    m_members.setValue("id", "3");
    EXPECT_TRUE(m_members.moveTo(0));
    EXPECT_EQ(m_members.rowCount(), 2);
    EXPECT_EQ(m_members.currentRow(), 0);
    EXPECT_EQ(m_members.value("id").toString(), QStringLiteral("1"));
    m_members.append();
    EXPECT_TRUE(m_members.last());
    EXPECT_EQ(m_members.state(), Dataset::State::Insert) << "the new row is the last one";
    EXPECT_EQ(count("Cust"), 2);
}

} // namespace
