#include "bench/db/member_register.h"

#include "bench/support/generated_members.h"
#include "db/connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace bench {

MemberRegister::MemberRegister() : path(folder.filePath(QStringLiteral("db.sqlite"))) {
    db::createDatabase(path);
    db::setDatabasePath(path);
    insertMembers(kMembers, {});
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
