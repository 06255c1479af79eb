// Taking a backup of a 100,000-member register while the program has it
// open, beside VACUUM INTO, SQLite's other way to copy a live database.
#include "bench/db/member_register.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/sqlite_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace {

bench::MemberRegister& memberRegister() {
    static bench::MemberRegister shared;
    return shared;
}

void setCounters(benchmark::State& state, const QString& copy) {
    state.counters["db_MB"] = double(QFileInfo(memberRegister().path).size()) / (1 << 20);
    state.counters["copy_MB"] = double(QFileInfo(copy).size()) / (1 << 20);
    state.counters["members"] = bench::kMembers;
}

void BM_TakeBackup(benchmark::State& state) {
    memberRegister();
    db::run(QStringLiteral("select count(*) from Cust")); // the program has it open
    QString copy;
    for (auto _ : state) {
        copy = db::takeBackup();
        state.PauseTiming();
        db::pruneBackups(1);
        state.ResumeTiming();
    }
    setCounters(state, copy);
}
BENCHMARK(BM_TakeBackup)->Unit(benchmark::kMillisecond);

void BM_VacuumInto(benchmark::State& state) {
    memberRegister();
    const QString copy =
        QDir(memberRegister().folder.path()).filePath(QStringLiteral("vacuum.sqlite"));
    db::SqliteFile source(memberRegister().path, db::SqliteFile::Mode::ReadWrite);
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(copy);
        state.ResumeTiming();
        source.exec(QStringLiteral("VACUUM INTO '%1'").arg(copy));
    }
    setCounters(state, copy);
}
BENCHMARK(BM_VacuumInto)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv);
}
