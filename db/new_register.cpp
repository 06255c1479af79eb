#include "db/new_register.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/default_settings.h"
#include "db/postgres.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace db {
namespace {

const char* const kConnection = "lunmark-new-register";

enum class Settings { Default, None };

void exec(QSqlDatabase& database, const QString& statement) {
    QSqlQuery query(database);
    if (!query.exec(statement))
        raise(database, query.lastError());
}

// A server database that holds any table is someone's: nothing is made there.
void refuseTables(QSqlDatabase& database) {
    QSqlQuery tables(database);
    if (!tables.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                    "WHERE table_schema = current_schema()")))
        raise(database, tables.lastError());
    if (tables.next() && tables.value(0).toLongLong() > 0)
        throw DatabaseError(
            QStringLiteral("資料庫 %1 裡已經有資料表﹐不能在這裡建立新的會員資料庫。\n"
                           "請建立一個新的空白資料庫﹐或用 --copy-database 複製資料。")
                .arg(database.databaseName()));
}

void addSettings(QSqlDatabase& database) {
    const DefaultSettingsRow row = defaultSettingsRow();
    QSqlQuery insert(database);
    if (!insert.prepare(row.statement))
        raise(database, insert.lastError());
    for (const QVariant& value : row.values)
        insert.addBindValue(value);
    if (!insert.exec())
        raise(database, insert.lastError());
}

void makeIn(QSqlDatabase& database, Engine engine, Settings settings,
            const std::function<void(QSqlDatabase&)>& fill) {
    if (engine == Engine::Postgresql)
        refuseTables(database);
    exec(database, QStringLiteral("BEGIN"));
    try {
        const QStringList statements = engine == Engine::Postgresql ? postgresCreateStatements()
                                                                    : splitStatements(schemaSql());
        for (const QString& statement : statements)
            exec(database, statement);
        if (settings == Settings::Default)
            addSettings(database);
        if (fill)
            fill(database);
        exec(database, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void make(const DatabaseTarget& target, Settings settings,
          const std::function<void(QSqlDatabase&)>& fill) {
    const bool file = target.engine == Engine::Sqlite;
    if (file && QFileInfo::exists(target.path))
        throw DatabaseError(QStringLiteral("檔案 %1 已經存在﹐請指定一個新的檔案。")
                                .arg(QDir::toNativeSeparators(target.path)));
    try {
        {
            QSqlDatabase database = openConnection(QLatin1String(kConnection), target);
            try {
                makeIn(database, target.engine, settings, fill);
            } catch (...) {
                database.close();
                throw;
            }
            database.close();
        }
        QSqlDatabase::removeDatabase(QLatin1String(kConnection));
    } catch (...) {
        QSqlDatabase::removeDatabase(QLatin1String(kConnection));
        if (file) {
            QFile::remove(target.path);
            QFile::remove(target.path + QStringLiteral("-journal"));
        }
        throw;
    }
}

} // namespace

void createRegister(const DatabaseTarget& target, const std::function<void(QSqlDatabase&)>& fill) {
    make(target, Settings::Default, fill);
}

void createDatabase(const DatabaseTarget& target) {
    make(target, Settings::None, {});
}

void createDatabase(const QString& path) {
    DatabaseTarget target;
    target.path = path;
    createDatabase(target);
}

} // namespace db
