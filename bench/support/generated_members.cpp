#include "bench/support/generated_members.h"

#include "db/connection.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace bench {

QString generatedName(int i) {
    static const QString family = QStringLiteral("陳林黃張李王吳劉蔡楊");
    static const QString given = QStringLiteral("志明美玲家豪淑芬建宏雅婷俊傑");
    return QString(family[i % family.size()]) + given[(i / 10) % given.size()] +
           given[(i / 7) % given.size()];
}

void insertMembers(int count, MemberMix mix) {
    const bool full = mix.fullRecords;
    QStringList columns = {"id", "name", "Name1", "Tel", "CDTel"};
    if (full)
        columns << "HomeTel"
                << "Fax";
    columns << "Kind"
            << "birthday"
            << "MGBirthday";
    if (full)
        columns << "Identity"
                << "EnterDate";
    columns << "Address"
            << "Memo";
    if (full)
        columns << "Memo1"
                << "Memo2"
                << "date1";
    columns << "isEnabled";
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");

    db::Transaction transaction;
    QSqlQuery insert(db::connection());
    insert.prepare(QStringLiteral("insert into Cust (%1) values (%2)")
                       .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    const QDate start(1950, 1, 1);
    for (int i = 0; i < count; ++i) {
        const QDate birthday = start.addDays(i % 20000);
        const QString minguo = QStringLiteral("%1/%2")
                                   .arg(birthday.year() - 1911)
                                   .arg(birthday.toString(QStringLiteral("MM/dd")));
        insert.addBindValue(QStringLiteral("%1").arg(count - i, 6, 10, QChar('0')));
        insert.addBindValue(generatedName(i));
        insert.addBindValue(i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐"));
        insert.addBindValue(QStringLiteral("02-2345-%1").arg(i % 10000, 4, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("0912%1").arg(i, 6, 10, QChar('0')));
        if (full) {
            insert.addBindValue(QStringLiteral("04-2222-%1").arg(i % 10000, 4, 10, QChar('0')));
            insert.addBindValue(QStringLiteral("02-8888-%1").arg(i % 10000, 4, 10, QChar('0')));
        }
        insert.addBindValue(QStringLiteral("類別%1").arg(i % 12));
        insert.addBindValue(birthday.toString(QStringLiteral("yyyy-MM-dd 00:00:00")));
        insert.addBindValue(minguo);
        if (full) {
            insert.addBindValue(QStringLiteral("A1%1").arg(i, 8, 10, QChar('0')));
            insert.addBindValue(minguo);
        }
        insert.addBindValue(QStringLiteral("台北市中正區重慶南路一段%1號").arg(i % 300));
        insert.addBindValue(full || i % 3 == 0 ? QVariant(QStringLiteral("常客")) : QVariant());
        if (full) {
            insert.addBindValue(QStringLiteral("介紹人%1").arg(i % 50));
            insert.addBindValue(QStringLiteral("備註"));
            insert.addBindValue(minguo);
        }
        insert.addBindValue(mix.allActive || i % 10 != 0 ? 1 : 0);
        if (!insert.exec())
            db::raise(insert.lastError());
    }
    transaction.commit();
}

} // namespace bench
