// Two running programs on one database file, each writing through the
// dataset as the windows do.
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/dataset.h"
#include "tests/support/interleaved_members.h"
#include "tests/support/peer_process.h"

#include <QSet>
#include <QThread>

using namespace dbtest;

namespace {

// Each program pauses a moment between members, as people at two desks do,
// so that neither holds the lock all the time.
constexpr int kPauseMs = 2;

class TwoProgramsTest : public DbTest {
protected:
    void TearDown() override { db::setBusyTimeout(5000); }

    static void open(db::Dataset& members) {
        members.setBaseTable(QStringLiteral("Cust"));
        members.open(QStringLiteral("select id, name from Cust where 1 = 0"));
    }
    static void append(db::Dataset& members, const QString& id) {
        members.append();
        members.setValue(QStringLiteral("id"), id);
        members.setValue(QStringLiteral("name"), QStringLiteral("A"));
    }
};

TEST_F(TwoProgramsTest, EachAddsAThousandMembersInterleavedAndAllAreThere) {
    addMembersBesideAnotherProgram(m_database.path(), 1000, kPauseMs);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(count("Cust"), 2000);
    const QStringList ids = column(QStringLiteral("select id from Cust order by rowid"));
    EXPECT_EQ(QSet<QString>(ids.cbegin(), ids.cend()).size(), 2000);
    // Where the row order passes from one program to the other: two or more
    // means one program wrote both before and after the other did.
    int switches = 0;
    for (qsizetype i = 1; i < ids.size(); ++i)
        switches += ids.at(i).at(0) != ids.at(i - 1).at(0);
    EXPECT_GE(switches, 2) << "the two programs did not write at the same time";
    EXPECT_EQ(PeerProcess::run(m_database.path(), {QStringLiteral("count")}),
              QStringLiteral("2000"));
}

TEST_F(TwoProgramsTest, BusyDatabaseSaysSoInChineseAndKeepsTheRowForTheNextSave) {
    db::setBusyTimeout(200);
    db::Dataset members;
    open(members);
    PeerProcess peer(m_database.path(), {QStringLiteral("hold"), QStringLiteral("1500")});
    ASSERT_TRUE(peer.waitForLine(QStringLiteral("holding")));

    append(members, QStringLiteral("A1"));
    try {
        members.post();
        FAIL() << "the post must wait for the other program's lock and then fail";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.text(), db::busyText());
        EXPECT_TRUE(error.text().contains(QStringLiteral("另一個程式")));
    }
    EXPECT_EQ(members.state(), db::Dataset::State::Insert);
    EXPECT_EQ(members.value(QStringLiteral("id")), QVariant(QStringLiteral("A1")));

    peer.finish();
    ASSERT_TRUE(members.post());
    EXPECT_EQ(column(QStringLiteral("select id from Cust order by id")),
              (QStringList{QStringLiteral("A1"), QStringLiteral("held")}));
}

} // namespace
