// Opening "select * from cust" over 100,000 members and sorting the rows in
// memory, as the member window does with a large register.
#include "db/connection.h"
#include "db/dataset.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kMembers = 100000;

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

// One register for every benchmark of the run.
struct Register {
    Register() {
        const QString path = folder.filePath(QStringLiteral("db.sqlite"));
        db::createDatabase(path);
        db::setDatabasePath(path);
        fillMembers();
    }
    QTemporaryDir folder;
};

void openRegister() {
    static Register shared;
}

void BM_OpenAllMembers(benchmark::State& state) {
    openRegister();
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    for (auto _ : state) {
        members.open(QStringLiteral("select * from cust"));
        benchmark::DoNotOptimize(members.rowCount());
    }
    state.counters["rows"] = members.rowCount();
    state.counters["fields"] = members.fieldCount();
}
BENCHMARK(BM_OpenAllMembers)->Unit(benchmark::kMillisecond);

void BM_SortMembers(benchmark::State& state, const char* field) {
    openRegister();
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select * from cust"));
    members.moveTo(kMembers / 2);
    bool ascending = true;
    for (auto _ : state) {
        members.sortBy(QString::fromLatin1(field),
                       ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
        benchmark::DoNotOptimize(members.currentRow());
    }
    state.counters["rows"] = members.rowCount();
}
BENCHMARK_CAPTURE(BM_SortMembers, ByName, "name")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortMembers, ById, "id")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortMembers, ByMemo, "Memo")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortMembers, ByEnabledFlag, "isEnabled")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    db::closeConnection();
    return 0;
}
