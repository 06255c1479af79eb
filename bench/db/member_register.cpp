#include "bench/db/member_register.h"

#include "db/connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace bench {
namespace {

QString memberName(int i) {
    static const QString family = QStringLiteral("陳林黃張李王吳劉蔡楊");
    static const QString given = QStringLiteral("志明美玲家豪淑芬建宏雅婷俊傑");
    return QString(family[i % family.size()]) + given[(i / 10) % given.size()] +
           given[(i / 7) % given.size()];
}

void fillMembers() {
    db::Transaction transaction;
    QSqlQuery insert(db::connection());
    insert.prepare(QStringLiteral(
        "insert into Cust (id, name, Name1, Tel, CDTel, Kind, birthday, MGBirthday, Address, "
        "Memo, isEnabled) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDate start(1950, 1, 1);
    for (int i = 0; i < kMembers; ++i) {
        const QDate birthday = start.addDays(i % 20000);
        insert.addBindValue(QStringLiteral("%1").arg(kMembers - i, 6, 10, QChar('0')));
        insert.addBindValue(memberName(i));
        insert.addBindValue(i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐"));
        insert.addBindValue(QStringLiteral("02-2345-%1").arg(i % 10000, 4, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("0912%1").arg(i, 6, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("類別%1").arg(i % 12));
        insert.addBindValue(birthday.toString(QStringLiteral("yyyy-MM-dd 00:00:00")));
        insert.addBindValue(QStringLiteral("%1/%2")
                                .arg(birthday.year() - 1911)
                                .arg(birthday.toString(QStringLiteral("MM/dd"))));
        insert.addBindValue(QStringLiteral("台北市中正區重慶南路一段%1號").arg(i % 300));
        insert.addBindValue(i % 3 ? QVariant() : QVariant(QStringLiteral("常客")));
        insert.addBindValue(i % 10 ? 1 : 0);
        if (!insert.exec())
            db::raise(insert.lastError());
    }
    transaction.commit();
}

} // namespace

MemberRegister::MemberRegister() : path(folder.filePath(QStringLiteral("db.sqlite"))) {
    db::createDatabase(path);
    db::setDatabasePath(path);
    fillMembers();
}

int runBenchmarks(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    db::closeConnection();
    return 0;
}

} // namespace bench
