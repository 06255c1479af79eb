#include "tests/support/temp_database.h"

#include "base/errors.h"
#include "db/connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <stdexcept>

namespace {

const char* const kAdminConnection = "lunmark-test-admin";

QString serverFolder() {
    return qEnvironmentVariable("LUNMARK_TEST_POSTGRESQL");
}

// The server's maintenance database, as the start script wrote its address.
QString serverUrl() {
    QFile file(QDir(serverFolder()).filePath(QStringLiteral("server.url")));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no test server: " + file.fileName().toStdString() +
                                 " is missing (scripts/test_postgres.sh start)");
    return QString::fromUtf8(file.readAll()).trimmed();
}

// One connection of the tests' own to the maintenance database, kept for the
// run: it makes and drops the per-test databases.
QSqlDatabase admin() {
    if (QSqlDatabase::contains(kAdminConnection))
        return QSqlDatabase::database(kAdminConnection);
    const db::DatabaseTarget server = db::parseDatabaseArgument(serverUrl());
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kAdminConnection);
    database.setHostName(server.host);
    database.setPort(server.port);
    database.setDatabaseName(server.name);
    database.setUserName(server.user);
    database.setPassword(server.password);
    if (!database.open())
        throw std::runtime_error("test server: " + database.lastError().text().toStdString());
    return database;
}

void adminExec(const QString& statement) {
    QSqlQuery query(admin());
    if (!query.exec(statement))
        throw std::runtime_error(statement.toStdString() + ": " +
                                 query.lastError().text().toStdString());
}

QString newDatabaseName() {
    static int count = 0;
    return QStringLiteral("lunmark_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

} // namespace

db::DatabaseTarget TempDatabase::createEmptyServerDatabase() {
    db::DatabaseTarget target = db::parseDatabaseArgument(serverUrl());
    target.name = newDatabaseName();
    adminExec(QStringLiteral("CREATE DATABASE %1").arg(target.name));
    return target;
}

void TempDatabase::dropServerDatabase(const db::DatabaseTarget& target) {
    // FORCE ends the sessions a test's second program may have left.
    adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(target.name));
}

QString TempDatabase::addressOf(const db::DatabaseTarget& target) {
    const auto encoded = [](const QString& part) {
        return QString::fromLatin1(QUrl::toPercentEncoding(part, "/"));
    };
    return QStringLiteral("postgresql://%1@/%2?host=%3&port=%4")
        .arg(encoded(target.user), encoded(target.name), encoded(target.host))
        .arg(target.port);
}

db::Engine TempDatabase::runEngine() {
    return serverFolder().isEmpty() ? db::Engine::Sqlite : db::Engine::Postgresql;
}

bool TempDatabase::hasPostgres() {
    return runEngine() == db::Engine::Postgresql;
}

TempDatabase::TempDatabase() : TempDatabase(runEngine()) {}

TempDatabase::TempDatabase(db::Engine engine) {
    if (engine == db::Engine::Sqlite) {
        m_target.path = m_dir.filePath(QStringLiteral("db.sqlite"));
        m_argument = m_target.path;
    } else {
        m_target = createEmptyServerDatabase();
        m_argument = addressOf(m_target);
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    db::createDatabase(m_target);
    db::setDatabaseTarget(m_target);
}

TempDatabase::~TempDatabase() {
    db::closeConnection();
    if (m_target.engine != db::Engine::Postgresql)
        return;
    QDir::setCurrent(m_previousFolder);
    try {
        dropServerDatabase(m_target);
    } catch (const std::exception&) {
        // A database left behind goes with the throwaway server.
    }
}
