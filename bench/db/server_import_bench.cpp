// The spreadsheet import of 100,000 members into an SQLite register and into
// a register on a PostgreSQL server, the same rows through the import
// window's path, one transaction each. Prints both times, their ratio (the
// server's rows go in batches without a round trip each: at most 2 times
// SQLite's) and the program's peak memory (under 100 MB).
//
//   build/bench/db/db_server_import_bench [postgresql://user@host/db]
// With an address, the server there (an existing database from which new
// ones can be made); without, a throwaway server that the benchmark starts
// and stops with scripts/test_postgres.sh, as the tests do.
#include "db/connection.h"
#include "db/database_target.h"
#include "formats/workbook_reader.h"
#include "members/import/workbook_import.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

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

// The largest the program has been so far, in MB.
double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// A throwaway server in folder, started by the tests' script; stopped again
// when the object ends.
class ThrowawayServer {
public:
    explicit ThrowawayServer(const QString& folder) : m_folder(folder) {
        if (script(QStringLiteral("start"))) {
            QFile url(folder + QStringLiteral("/server.url"));
            if (url.open(QIODevice::ReadOnly))
                m_address = QString::fromUtf8(url.readAll()).trimmed();
        }
    }
    ~ThrowawayServer() { script(QStringLiteral("stop")); }
    const QString& address() const { return m_address; }

private:
    bool script(const QString& command) const {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(LUNMARK_TEST_POSTGRES_SCRIPT), {command, m_folder});
        return process.waitForFinished(120000) && process.exitCode() == 0;
    }
    QString m_folder;
    QString m_address;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    std::unique_ptr<ThrowawayServer> throwaway;
    if (argc <= 1)
        throwaway = std::make_unique<ThrowawayServer>(folder.filePath(QStringLiteral("server")));
    const QString address = throwaway ? throwaway->address() : QString::fromLocal8Bit(argv[1]);
    db::DatabaseTarget file;
    file.path = folder.filePath(QStringLiteral("db.sqlite"));
    db::createDatabase(file);
    db::setDatabaseTarget(file);
    const double sqlite = importSeconds();
    std::printf("import of %d members, SQLite:     %7.2f s, peak memory %.0f MB\n", kMembers,
                sqlite, peakMegabytes());
    if (address.isEmpty()) {
        std::printf("no server: the throwaway server did not start\n");
        return 1;
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
    std::printf("import of %d members, PostgreSQL: %7.2f s, peak memory %.0f MB\n", kMembers,
                postgres, peakMegabytes());
    std::printf("PostgreSQL / SQLite: %.2f (at most 2)\n", postgres / sqlite);
    return 0;
}
