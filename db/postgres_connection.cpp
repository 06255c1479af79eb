#include "db/postgres.h"

#include "base/errors.h"
#include "db/connection.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <cstring>
#include <libpq-fe.h>

namespace db {
namespace {

// The connection attempt fails before any SQL state exists: the reason is
// read from libpq's message.
QString connectFailureText(const DatabaseTarget& target, const QString& message) {
    const QString where = describeTarget(target);
    if (message.contains(QLatin1String("password authentication failed")) ||
        message.contains(QLatin1String("no password supplied")) ||
        message.contains(QLatin1String("authentication failed")) ||
        (message.contains(QLatin1String("role \"")) &&
         message.contains(QLatin1String("does not exist"))))
        return QStringLiteral("資料庫伺服器 %1 拒絕登入﹕請檢查使用者名稱與密碼。\n（%2）")
            .arg(where, message.trimmed());
    if (message.contains(QLatin1String("database \"")) &&
        message.contains(QLatin1String("does not exist")))
        return QStringLiteral("資料庫伺服器上沒有資料庫 %1。\n（%2）")
            .arg(target.name, message.trimmed());
    return QStringLiteral("無法連線到資料庫伺服器 %1﹕請確認伺服器已啟動、網路已連通﹐"
                          "並檢查 lunmark.ini 的 [Database] 設定。\n（%2）")
        .arg(where, message.trimmed());
}

void setLockTimeout(QSqlDatabase& database, int busyTimeout) {
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SET lock_timeout = %1").arg(qMax(0, busyTimeout))))
        raise(query.lastError());
}

} // namespace

QString lostConnectionText() {
    return QStringLiteral("與資料庫伺服器的連線中斷﹐這次的動作沒有完成。\n"
                          "請稍候再試一次﹐程式會重新連線。");
}

QSqlDatabase openPostgres(const QString& connectionName, const DatabaseTarget& target,
                          int busyTimeout) {
    QSqlDatabase database =
        QSqlDatabase::contains(connectionName)
            ? QSqlDatabase::database(connectionName, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    if (!database.isValid())
        throw DatabaseError(QStringLiteral("找不到 PostgreSQL 的資料庫驅動程式 (QPSQL)﹐"
                                           "請安裝 libqt6sql6-psql。"));
    database.close();
    database.setHostName(target.host);
    database.setPort(target.port);
    database.setDatabaseName(target.name);
    database.setUserName(target.user);
    database.setPassword(target.password);
    database.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!database.open())
        throw DatabaseError(connectFailureText(target, database.lastError().databaseText()));
    setLockTimeout(database, busyTimeout);
    return database;
}

namespace {

// The driver hands out its PGconn* under the name the compiler gives it.
bool isServerHandle(const QVariant& handle) {
    return handle.isValid() && (std::strcmp(handle.typeName(), "PGconn*") == 0 ||
                                std::strcmp(handle.typeName(), "pg_conn*") == 0);
}

QVariant driverHandle(const QSqlDatabase& database) {
    return database.driver() ? database.driver()->handle() : QVariant();
}

} // namespace

PGconn* postgresHandle(const QSqlDatabase& database) {
    const QVariant handle = driverHandle(database);
    if (!isServerHandle(handle) || *static_cast<PGconn* const*>(handle.constData()) == nullptr)
        throw DatabaseError(QStringLiteral("資料庫錯誤: 無法取得 PostgreSQL 連線"));
    return *static_cast<PGconn* const*>(handle.constData());
}

bool connectionLost(const QSqlDatabase& database) {
    const QVariant handle = driverHandle(database);
    if (!isServerHandle(handle))
        return false;
    PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    return connection == nullptr || PQstatus(connection) == CONNECTION_BAD;
}

QString postgresErrorText(const char* sqlState, const QString& message, bool lost) {
    const QByteArray state(sqlState ? sqlState : "");
    // lock_not_available (lock_timeout ran out), deadlock_detected.
    if (state == "55P03" || state == "40P01")
        return busyText();
    // connection_exception, admin or crash shutdown.
    if (lost || state.startsWith("08") || state == "57P01" || state == "57P02" || state == "57P03")
        return lostConnectionText();
    QString text = message.trimmed();
    // check_violation: named as SQLite names a failed check.
    static const QRegularExpression check(
        QStringLiteral(R"re(violates check constraint "([^"]+)")re"));
    const QRegularExpressionMatch failedCheck = check.match(text);
    // unique_violation: named as SQLite names it, "UNIQUE constraint failed:
    // <index>.<column>".
    static const QRegularExpression unique(
        QStringLiteral(R"re(unique constraint "([^"]+)"[\s\S]*Key \(([^)]+)\)=)re"));
    const QRegularExpressionMatch failedUnique = unique.match(text);
    if (state == "23505" && failedUnique.hasMatch())
        return QStringLiteral("資料庫錯誤: UNIQUE constraint failed: %1.%2")
            .arg(failedUnique.captured(1), failedUnique.captured(2));
    if (state == "23514" && failedCheck.hasMatch()) {
        const QString condition = schemaCheck(failedCheck.captured(1));
        return QStringLiteral("資料庫錯誤: CHECK constraint failed: %1")
            .arg(condition.isEmpty() ? failedCheck.captured(1) : condition);
    }
    const qsizetype marker = text.lastIndexOf(QStringLiteral("(%1)").arg(QLatin1String(state)));
    if (!state.isEmpty() && marker > 0)
        text = text.left(marker).trimmed();
    if (text.startsWith(QLatin1String("ERROR:")))
        text = text.mid(6).trimmed();
    return QStringLiteral("資料庫錯誤: %1").arg(text);
}

QString postgresErrorText(const QSqlError& error, bool lost) {
    QString text = error.databaseText();
    if (text.trimmed().isEmpty())
        text = error.text();
    return postgresErrorText(error.nativeErrorCode().toLatin1().constData(), text, lost);
}

} // namespace db
