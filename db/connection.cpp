#include "db/connection.h"

#include "base/errors.h"
#include "db/database_target.h"
#include "db/postgres.h"
#include "db/register_upgrade.h"
#include "db/sql_functions.h"

#include <QDate>
#include <QDateTime>
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
const QString kStatementSavepoint = QStringLiteral("lunmark_statement");

int& busyTimeoutSetting() {
    static int milliseconds = 5000;
    return milliseconds;
}

// How many transactions are open on the shared connection, the outermost
// counting 1; inner ones are savepoints.
int& transactionDepth() {
    static int depth = 0;
    return depth;
}

// SQLITE_BUSY and SQLITE_LOCKED, also in their extended forms: another
// program holds the lock longer than the busy time-out.
bool isSqliteBusy(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 5 || code == 6);
}

bool isServer(const QSqlDatabase& database) {
    return database.driverName() == QLatin1String("QPSQL");
}

QString errorText(const QSqlDatabase& database, const QSqlError& error) {
    if (isServer(database))
        return postgresErrorText(error, connectionLost(database));
    if (isSqliteBusy(error))
        return busyText();
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return QStringLiteral("資料庫錯誤: %1").arg(text);
}

[[noreturn]] void raiseOn(const QSqlDatabase& database, const QSqlError& error) {
    throw DatabaseError(errorText(database, error));
}

void execOrThrow(QSqlDatabase& database, const QString& statement) {
    QSqlQuery query(database);
    if (!query.exec(statement))
        raiseOn(database, query.lastError());
}

QSqlDatabase openSqlite(const QString& connectionName, const QString& path) {
    QSqlDatabase database =
        QSqlDatabase::contains(connectionName)
            ? QSqlDatabase::database(connectionName, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    database.setDatabaseName(path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutSetting()));
    if (!database.open())
        raiseOn(database, database.lastError());
    registerSqlFunctions(database);
    return database;
}

QSqlDatabase openShared() {
    const DatabaseTarget target = databaseTarget();
    if (target.engine == Engine::Postgresql) {
        QSqlDatabase database = openPostgres(kConnectionName, target, busyTimeoutSetting());
        upgradeRegister(database, Engine::Postgresql);
        return database;
    }
    // SQLite would quietly make an empty file; a missing database is an error.
    if (!QFileInfo(target.path).isFile())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 找不到資料庫檔案 %1")
                                .arg(QFileInfo(target.path).absoluteFilePath()));
    QSqlDatabase database = openSqlite(kConnectionName, target.path);
    execOrThrow(database, QStringLiteral("PRAGMA journal_mode=WAL"));
    upgradeRegister(database, Engine::Sqlite);
    return database;
}

// As both engines take it; see run().
QVariant boundValueFor(const QVariant& value, bool server) {
    if (value.isNull())
        return value;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        // The server infers each parameter's type from the statement; a
        // number written as text fits a number and a text column alike.
        return server ? QVariant(value.toString()) : value;
    case QMetaType::Double:
        return server ? QVariant(QString::number(value.toDouble(), 'g', 17)) : value;
    default:
        return value;
    }
}

bool hasParameters(const QString& sql) {
    QStringList names;
    positionalParameters(sql, names);
    return !names.isEmpty();
}

// On a server a failed statement spoils the whole transaction around it;
// SQLite undoes only the statement. A savepoint around each statement inside
// a transaction gives the server SQLite's behaviour.
bool needsStatementSavepoint(const QSqlDatabase& database) {
    return isServer(database) && transactionDepth() > 0;
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
    DatabaseTarget target;
    target.path = path;
    setDatabaseTarget(target);
}

QString databasePath() {
    return databaseTarget().path;
}

QSqlDatabase connection() {
    if (QSqlDatabase::contains(kConnectionName)) {
        QSqlDatabase database = QSqlDatabase::database(kConnectionName, false);
        if (database.isOpen() && !connectionLost(database))
            return database;
        // A lost server connection takes its transactions with it.
        transactionDepth() = 0;
    }
    return openShared();
}

void closeConnection() {
    transactionDepth() = 0;
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

// The driver runs one statement per call.
QStringList splitStatements(const QString& script) {
    QString withoutComments;
    for (const QString& line : script.split('\n')) {
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            withoutComments += line + '\n';
    }
    QStringList statements;
    for (const QString& statement : withoutComments.split(';')) {
        if (!statement.trimmed().isEmpty())
            statements << statement;
    }
    return statements;
}

QSqlDatabase openConnection(const QString& name, const DatabaseTarget& target) {
    if (target.engine == Engine::Postgresql)
        return openPostgres(name, target, busyTimeoutSetting());
    return openSqlite(name, target.path);
}

QString databaseText(const QSqlError& error) {
    if (engine() != Engine::Postgresql)
        return error.databaseText();
    return postgresErrorText(error, false).remove(QStringLiteral("資料庫錯誤: "));
}

void raise(const QSqlError& error) {
    if (QSqlDatabase::contains(kConnectionName))
        raiseOn(QSqlDatabase::database(kConnectionName, false), error);
    raiseOn(QSqlDatabase(), error);
}

void raise(const QSqlDatabase& database, const QSqlError& error) {
    raiseOn(database, error);
}

QSqlQuery run(const QString& sql, const QVariantMap& params) {
    QSqlDatabase database = connection();
    const bool server = isServer(database);
    const bool savepoint = needsStatementSavepoint(database);
    if (savepoint)
        execOrThrow(database, "SAVEPOINT " + kStatementSavepoint);
    QSqlQuery query(database);
    bool ok = false;
    if (server && !hasParameters(sql)) {
        // The server prepares only queries and changes of rows; a statement
        // without parameters (CREATE INDEX among them) runs as it is.
        ok = query.exec(serverStatement(sql));
    } else if ((ok = query.prepare(server ? serverStatement(sql) : sql))) {
        for (auto it = params.cbegin(); it != params.cend(); ++it) {
            const QString key = it.key().startsWith(':') ? it.key() : ':' + it.key();
            query.bindValue(key, boundValueFor(it.value(), server));
        }
        ok = query.exec();
    }
    if (!ok) {
        const QSqlError error = query.lastError();
        if (savepoint && !connectionLost(database)) {
            QSqlQuery(database).exec("ROLLBACK TO SAVEPOINT " + kStatementSavepoint);
            QSqlQuery(database).exec("RELEASE SAVEPOINT " + kStatementSavepoint);
        }
        raiseOn(database, error);
    }
    if (savepoint)
        execOrThrow(database, "RELEASE SAVEPOINT " + kStatementSavepoint);
    return query;
}

QSqlQuery run(const QStringList& lines, const QVariantMap& params) {
    return run(lines.join('\n'), params);
}

QVariant boundValue(const QVariant& value) {
    return boundValueFor(value, engine() == Engine::Postgresql);
}

QVariant boundValue(const QVariant& value, Engine engine) {
    return boundValueFor(value, engine == Engine::Postgresql);
}

QString quotedName(const QString& identifier) {
    QString text = engine() == Engine::Postgresql ? identifier.toLower() : identifier;
    return '"' + text.replace('"', QStringLiteral("\"\"")) + '"';
}

bool inTransaction() {
    return transactionDepth() > 0;
}

QString lockRowsClause() {
    return engine() == Engine::Postgresql ? QStringLiteral(" FOR UPDATE") : QString();
}

Transaction::Transaction(Kind kind) {
    QSqlDatabase database = connection();
    m_depth = transactionDepth() + 1;
    if (m_depth > 1)
        execOrThrow(database, QStringLiteral("SAVEPOINT lunmark_%1").arg(m_depth));
    else if (kind == Kind::Write && !isServer(database))
        execOrThrow(database, QStringLiteral("BEGIN IMMEDIATE"));
    else
        execOrThrow(database, QStringLiteral("BEGIN"));
    transactionDepth() = m_depth;
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    try {
        QSqlDatabase database = connection();
        if (transactionDepth() < m_depth)
            return; // the connection was closed or lost: the server dropped it
        QSqlQuery query(database);
        if (m_depth > 1) {
            query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT lunmark_%1").arg(m_depth));
            query.exec(QStringLiteral("RELEASE SAVEPOINT lunmark_%1").arg(m_depth));
        } else {
            query.exec(QStringLiteral("ROLLBACK"));
        }
        transactionDepth() = m_depth - 1;
    } catch (const DatabaseError&) {
        // The connection is gone; the database has dropped the transaction with it.
    }
}

void Transaction::commit() {
    QSqlDatabase database = connection();
    if (transactionDepth() < m_depth)
        throw DatabaseError(lostConnectionText());
    if (m_depth > 1)
        execOrThrow(database, QStringLiteral("RELEASE SAVEPOINT lunmark_%1").arg(m_depth));
    else
        execOrThrow(database, QStringLiteral("COMMIT"));
    transactionDepth() = m_depth - 1;
    m_open = false;
}

} // namespace db
