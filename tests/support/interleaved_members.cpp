#include "tests/support/interleaved_members.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "tests/support/peer_process.h"

#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>

namespace {

int membersOfTheOtherProgram() {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust where id like 'B%'"));
    query.next();
    return query.value(0).toInt();
}

} // namespace

void addMembersBesideAnotherProgram(const QString& database, int each, int pauseMs) {
    PeerProcess peer(database, {QStringLiteral("add"), QStringLiteral("B"), QString::number(each),
                                QStringLiteral("1"), QString::number(pauseMs)});
    ASSERT_TRUE(peer.waitForLine(QStringLiteral("started")));
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select id, name from Cust where 1 = 0"));
    for (int n = 1; n <= each; ++n) {
        if (n == each / 2 + 1) {
            const int before = membersOfTheOtherProgram();
            for (int tries = 0;
                 tries < 1000 && before < each && membersOfTheOtherProgram() == before; ++tries)
                QThread::msleep(10);
        }
        members.append();
        members.setValue(QStringLiteral("id"), QStringLiteral("A%1").arg(n, 4, 10, QChar('0')));
        members.setValue(QStringLiteral("name"), QStringLiteral("A"));
        for (;;) {
            try {
                ASSERT_TRUE(members.post());
                break;
            } catch (const DatabaseError& error) {
                ASSERT_EQ(error.text(), db::busyText());
            }
        }
        QThread::msleep(pauseMs);
    }
    EXPECT_TRUE(peer.finish().contains(QStringLiteral("added %1").arg(each)));
}
