#include "tests/db/engine_database.h"

#include "db/connection.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

namespace {

// Runs one statement on the test server's own database, beside the shared
// connection.
void onServer(const QString& sql) {
    const std::optional<db::DatabaseTarget> server = EngineDatabase::server();
    ASSERT_TRUE(server.has_value());
    const QString name = QStringLiteral("engine-test-admin");
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        database.setHostName(server->host);
        database.setPort(server->port);
        database.setDatabaseName(server->name);
        database.setUserName(server->user);
        database.setPassword(server->password);
        ASSERT_TRUE(database.open()) << database.lastError().text().toStdString();
        QSqlQuery query(database);
        EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
        query.finish();
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

std::optional<db::DatabaseTarget> EngineDatabase::server() {
    const QString address = qEnvironmentVariable("LUNMARK_TEST_POSTGRES");
    if (address.isEmpty())
        return std::nullopt;
    return db::parseDatabaseArgument(address);
}

db::DatabaseTarget EngineDatabase::createEmptyServerDatabase() {
    db::DatabaseTarget target = *server();
    target.name = QStringLiteral("lunmark_test_") + QUuid::createUuid().toString(QUuid::Id128);
    onServer(QStringLiteral("CREATE DATABASE %1").arg(target.name));
    return target;
}

void EngineDatabase::dropServerDatabase(const db::DatabaseTarget& target) {
    onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(target.name));
}

EngineDatabase::EngineDatabase(db::Engine engine) : m_previousFolder(QDir::currentPath()) {
    if (engine == db::Engine::Sqlite) {
        m_target.path = m_dir.filePath(QStringLiteral("db.sqlite"));
    } else {
        m_target = createEmptyServerDatabase();
        QDir::setCurrent(m_dir.path());
    }
    db::createDatabase(m_target);
    db::setDatabaseTarget(m_target);
}

EngineDatabase::~EngineDatabase() {
    db::closeConnection();
    db::setDatabasePath(QStringLiteral("db.sqlite"));
    if (m_target.engine == db::Engine::Postgresql) {
        QDir::setCurrent(m_previousFolder);
        dropServerDatabase(m_target);
    }
}

QString EngineDatabase::argument() const {
    if (m_target.engine == db::Engine::Sqlite)
        return m_target.path;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(m_target.user);
    url.setPassword(m_target.password);
    url.setPath('/' + m_target.name);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), m_target.host);
    query.addQueryItem(QStringLiteral("port"), QString::number(m_target.port));
    url.setQuery(query);
    return url.toString();
}

void BothEnginesTest::SetUp() {
    if (onServer() && !EngineDatabase::server())
        GTEST_SKIP() << "no test server: LUNMARK_TEST_POSTGRES is not set";
    m_database = std::make_unique<EngineDatabase>(GetParam());
}

std::string engineName(const ::testing::TestParamInfo<db::Engine>& info) {
    return info.param == db::Engine::Sqlite ? "Sqlite" : "Postgresql";
}
