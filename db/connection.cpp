#include "db/connection.h"

#include "base/errors.h"
#include "db/sql_functions.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

// The schema lives in a resource of this static library; it must be
// registered by hand since nothing else refers to it.
static void initDbResources() {
    Q_INIT_RESOURCE(db);
}

namespace db {
namespace {

const char* const kConnectionName = "lunmark";

QString& pathSetting() {
    static QString path = QStringLiteral("db.sqlite");
    return path;
}

int& busyTimeoutSetting() {
    static int milliseconds = 5000;
    return milliseconds;
}

// SQLITE_BUSY and SQLITE_LOCKED, also in their extended forms: another
// program holds the lock longer than the busy time-out.
bool isBusy(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 5 || code == 6);
}

QString errorText(const QSqlError& error) {
    if (isBusy(error))
        return busyText();
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return QStringLiteral("資料庫錯誤: %1").arg(text);
}

void execOrThrow(QSqlDatabase& database, const QString& statement) {
    QSqlQuery query(database);
    if (!query.exec(statement))
        raise(query.lastError());
}

// Runs every statement of a script, one at a time (the driver runs one per call).
void execScript(QSqlDatabase& database, const QString& script) {
    QString withoutComments;
    for (const QString& line : script.split('\n')) {
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            withoutComments += line + '\n';
    }
    for (const QString& statement : withoutComments.split(';')) {
        if (!statement.trimmed().isEmpty())
            execOrThrow(database, statement);
    }
}

QSqlDatabase openAt(const QString& connectionName, const QString& path) {
    QSqlDatabase database =
        QSqlDatabase::contains(connectionName)
            ? QSqlDatabase::database(connectionName, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    database.setDatabaseName(path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutSetting()));
    if (!database.open())
        throw DatabaseError(errorText(database.lastError()));
    registerSqlFunctions(database);
    return database;
}

} // namespace

QString busyText() {
    return QStringLiteral("資料庫正由另一個程式使用中﹐這次的動作沒有完成。\n"
                          "沒有資料遺失﹐請稍候再試一次。");
}

void setBusyTimeout(int milliseconds) {
    closeConnection();
    busyTimeoutSetting() = milliseconds;
}

void setDatabasePath(const QString& path) {
    closeConnection();
    pathSetting() = path;
}

QString databasePath() {
    return pathSetting();
}

QSqlDatabase connection() {
    if (QSqlDatabase::contains(kConnectionName)) {
        QSqlDatabase database = QSqlDatabase::database(kConnectionName, false);
        if (database.isOpen())
            return database;
    }
    const QString path = databasePath();
    // SQLite would quietly make an empty file; a missing database is an error.
    if (!QFileInfo(path).isFile())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 找不到資料庫檔案 %1")
                                .arg(QFileInfo(path).absoluteFilePath()));
    QSqlDatabase database = openAt(kConnectionName, path);
    execOrThrow(database, QStringLiteral("PRAGMA journal_mode=WAL"));
    return database;
}

void closeConnection() {
    if (!QSqlDatabase::contains(kConnectionName))
        return;
    {
        QSqlDatabase database = QSqlDatabase::database(kConnectionName, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(kConnectionName);
}

QString schemaSql() {
    initDbResources();
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("資料庫錯誤: 找不到資料表定義"));
    return QString::fromUtf8(file.readAll());
}

void createDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw DatabaseError(QStringLiteral("資料庫錯誤: 檔案 %1 已經存在").arg(path));
    const QString name = QStringLiteral("lunmark-create");
    {
        QSqlDatabase database = openAt(name, path);
        try {
            execOrThrow(database, QStringLiteral("BEGIN"));
            execScript(database, schemaSql());
            execOrThrow(database, QStringLiteral("COMMIT"));
        } catch (...) {
            database.close();
            QSqlDatabase::removeDatabase(name);
            QFile::remove(path);
            throw;
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void raise(const QSqlError& error) {
    throw DatabaseError(errorText(error));
}

QSqlQuery run(const QString& sql, const QVariantMap& params) {
    QSqlQuery query(connection());
    if (!query.prepare(sql))
        raise(query.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        const QString key = it.key().startsWith(':') ? it.key() : ':' + it.key();
        query.bindValue(key, it.value());
    }
    if (!query.exec())
        raise(query.lastError());
    return query;
}

QSqlQuery run(const QStringList& lines, const QVariantMap& params) {
    return run(lines.join('\n'), params);
}

Transaction::Transaction() {
    QSqlDatabase database = connection();
    if (!database.transaction())
        raise(database.lastError());
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    try {
        connection().rollback();
    } catch (const DatabaseError&) {
        // The connection is gone; SQLite has dropped the transaction with it.
    }
}

void Transaction::commit() {
    QSqlDatabase database = connection();
    if (!database.commit())
        raise(database.lastError());
    m_open = false;
}

} // namespace db
