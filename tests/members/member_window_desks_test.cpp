// Two desks adding a member at the same moment: the member window here, and
// a second program (another desk) that has just stored a member and not yet
// committed. The window's duplicate test and its write happen together, so
// one number is never stored twice; a different number is stored by both.
#include "tests/members/member_window_fixture.h"

#include "db/connection.h"
#include "db/dataset.h"
#include "tests/support/peer_process.h"

#include <QLineEdit>
#include <QSqlQuery>

namespace {

int membersNumbered(const QString& id) {
    QSqlQuery query =
        db::run(QStringLiteral("select count(*) from Cust where id = :id"), {{"id", id}});
    query.next();
    return query.value(0).toInt();
}

TEST_F(MemberWindowTest, TwoDesksAddingOneNumberAtOnceStoreItOnce) {
    struct Case {
        const char* peerNumber;
        bool refused; // the window's save
    } cases[] = {{"X001", true}, {"x001", true}, {"X002", false}};
    openFromMenu();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.peerNumber);
        db::run(QStringLiteral("delete from Cust"));
        press("SbAdd");
        type("DBEdit1", QStringLiteral("X001"));
        type("DBEdit2", QStringLiteral("甲桌"));

        // The other desk's save has passed its test and holds its write.
        PeerProcess peer(database.path(),
                         {QStringLiteral("add-member"), QString::fromUtf8(c.peerNumber),
                          QStringLiteral("1500")});
        ASSERT_TRUE(peer.waitForLine(QStringLiteral("holding")));
        if (c.refused)
            prompt.expect(QStringLiteral("編號重複﹐請重新輸入!"));
        else
            prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
        press("SbSave");
        EXPECT_TRUE(peer.finish().endsWith(QStringLiteral("done")));
        EXPECT_EQ(prompt.pending(), 0);

        EXPECT_EQ(membersNumbered(QStringLiteral("X001")), 1);
        EXPECT_EQ(window->memberQuery()->isEditing(), c.refused);
        if (c.refused) {
            EXPECT_EQ(stored(QString::fromUtf8(c.peerNumber), QStringLiteral("name")).toString(),
                      QStringLiteral("乙桌"));
            EXPECT_TRUE(window->isAppending());
            EXPECT_EQ(focused(), child<QWidget>("DBEdit1"));
            EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("甲桌"));
            window->memberQuery()->cancel();
        } else {
            EXPECT_EQ(stored(QStringLiteral("X001"), QStringLiteral("name")).toString(),
                      QStringLiteral("甲桌"));
            EXPECT_EQ(membersNumbered(QStringLiteral("X002")), 1);
        }
    }
}

} // namespace
