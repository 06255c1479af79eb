// The spreadsheet import of 100,000 members into an SQLite register and into
// a register on a PostgreSQL server, the same rows through the import
// window's path, one transaction each. Prints both times and their ratio.
//
//   build/bench/db/db_server_import_bench postgresql://user@host/db
// (the address of an existing database there from which new ones can be
// made); scripts/bench_engines.sh runs it on a throwaway server.
#include "db/connection.h"
#include "db/database_target.h"
#include "formats/workbook_reader.h"
#include "members/import/workbook_import.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kMembers = 100000;

// The sheet of the import window: a heading row, then one member a row.
class GeneratedSheet : public members::WorkbookReader {
public:
    bool nextRow(members::SheetRow& row) override {
        if (m_next > kMembers + 1)
            return false;
        row.clear();
        row.number = m_next;
        const QStringList cells =
            m_next == 1 ? QStringList(22, QStringLiteral("欄")) : member(m_next - 1);
        for (int column = 1; column <= cells.size(); ++column)
            row.setText(column, cells.at(column - 1));
        ++m_next;
        return true;
    }
    int lastRowHint() const override { return kMembers + 1; }

private:
    static QStringList member(int i) {
        static const QString family = QStringLiteral("陳林黃張李王吳劉蔡楊");
        QStringList cells(22);
        cells[0] = QStringLiteral("M%1").arg(i, 6, 10, QChar('0'));
        cells[1] = QString(family[i % family.size()]) + QStringLiteral("志明");
        cells[2] = i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐");
        cells[3] = QStringLiteral("02-2345-%1").arg(i % 10000, 4, 10, QChar('0'));
        cells[4] = QStringLiteral("09%1").arg(i, 8, 10, QChar('0'));
        cells[8] = QStringLiteral("1976/12/31");
        cells[12] = QStringLiteral("台北市中正區重慶南路一段 %1 號").arg(i % 300);
        cells[21] = QStringLiteral("TRUE");
        return cells;
    }
    int m_next = 1;
};

double importSeconds() {
    GeneratedSheet sheet;
    QElapsedTimer timer;
    timer.start();
    const int imported =
        members::importWorkbookRows(sheet, members::WorkbookImportPath::Window, false);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (imported != kMembers)
        std::fprintf(stderr, "imported %d of %d\n", imported, kMembers);
    return seconds;
}

void onServer(const db::DatabaseTarget& server, const QString& sql) {
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "bench-admin");
        admin.setHostName(server.host);
        admin.setPort(server.port);
        admin.setDatabaseName(server.name);
        admin.setUserName(server.user);
        admin.setPassword(server.password);
        if (admin.open())
            QSqlQuery(admin).exec(sql);
    }
    QSqlDatabase::removeDatabase("bench-admin");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString address = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir folder;
    db::DatabaseTarget file;
    file.path = folder.filePath(QStringLiteral("db.sqlite"));
    db::createDatabase(file);
    db::setDatabaseTarget(file);
    const double sqlite = importSeconds();
    std::printf("import of %d members, SQLite:     %7.2f s\n", kMembers, sqlite);
    if (address.isEmpty()) {
        std::printf("no server given: postgresql:// address as argument\n");
        return 0;
    }
    db::DatabaseTarget server = db::parseDatabaseArgument(address);
    const db::DatabaseTarget maintenance = server;
    server.name = QStringLiteral("lunmark_import_bench");
    onServer(maintenance, QStringLiteral("DROP DATABASE IF EXISTS lunmark_import_bench"));
    onServer(maintenance, QStringLiteral("CREATE DATABASE lunmark_import_bench"));
    db::createDatabase(server);
    db::setDatabaseTarget(server);
    const double postgres = importSeconds();
    db::closeConnection();
    onServer(maintenance, QStringLiteral("DROP DATABASE IF EXISTS lunmark_import_bench"));
    std::printf("import of %d members, PostgreSQL: %7.2f s (%.1f x SQLite)\n", kMembers, postgres,
                postgres / sqlite);
    return 0;
}
