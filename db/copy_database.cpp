#include "db/copy_database.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/new_register.h"
#include "db/register_upgrade.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace db {
namespace {

const char* const kSourceConnection = "lunmark-copy-source";

// One side of the copy: the source on a connection of its own, the target
// on the connection that makes the new register.
class Side {
public:
    Side(const char* name, const DatabaseTarget& target)
        : m_name(name), m_target(target), m_owned(true) {
        m_database = openConnection(m_name, target);
    }
    Side(QSqlDatabase& database, const DatabaseTarget& target)
        : m_target(target), m_database(database), m_owned(false) {}
    ~Side() {
        if (!m_owned)
            return;
        m_database.close();
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;

    bool server() const { return m_target.engine == Engine::Postgresql; }
    QSqlDatabase& database() { return m_database; }

    QSqlQuery exec(const QString& sql) {
        QSqlQuery query(m_database);
        query.setForwardOnly(true);
        if (!query.exec(sql))
            fail(query.lastError());
        return query;
    }

    qint64 count(const QString& table) {
        QSqlQuery query = exec(QStringLiteral("SELECT count(*) FROM %1").arg(name(table)));
        return query.next() ? query.value(0).toLongLong() : -1;
    }

    QString name(const QString& identifier) const {
        return '"' + (server() ? identifier.toLower() : identifier) + '"';
    }

    [[noreturn]] void fail(const QSqlError& error) const { raise(m_database, error); }

private:
    QString m_name;
    DatabaseTarget m_target;
    QSqlDatabase m_database;
    bool m_owned;
};

void copyTable(Side& from, Side& to, const SchemaTable& table, const RegisterShape& source) {
    // A register made by an earlier Lunmark lacks the newer columns: the
    // copy gives them their defaults.
    QStringList columns;
    for (const QString& column : table.columns) {
        if (source.hasColumn(table.name, column))
            columns << column;
    }
    // The rowid goes along, except where on SQLite it is the counter itself.
    const bool withRowid = !(table.rowidIsCounter && !to.server());
    QStringList sourceColumns;
    QStringList targetColumns;
    QStringList marks;
    if (withRowid) {
        sourceColumns << QStringLiteral("rowid");
        targetColumns << QStringLiteral("rowid");
        marks << QStringLiteral("?");
    }
    for (const QString& column : columns) {
        sourceColumns << from.name(column);
        targetColumns << to.name(column);
        marks << QStringLiteral("?");
    }
    QSqlQuery rows =
        from.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                      .arg(sourceColumns.join(QStringLiteral(", ")), from.name(table.name)));
    QSqlQuery insert(to.database());
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(to.name(table.name), targetColumns.join(QStringLiteral(", ")),
                                 marks.join(QStringLiteral(", ")))))
        to.fail(insert.lastError());
    const Engine engine = to.server() ? Engine::Postgresql : Engine::Sqlite;
    while (rows.next()) {
        for (int i = 0; i < int(sourceColumns.size()); ++i)
            insert.bindValue(i, boundValue(rows.value(i), engine));
        if (!insert.exec())
            to.fail(insert.lastError());
    }
    if (rows.lastError().isValid())
        from.fail(rows.lastError());
}

// The server's identity counters continue after the copied values.
void continueCounters(Side& to, const SchemaTable& table) {
    QStringList counters{QStringLiteral("rowid")};
    if (table.rowidIsCounter)
        counters << table.columns.first();
    for (const QString& column : counters) {
        to.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                               "coalesce((SELECT max(%3) FROM %1), 0) + 1, false)")
                    .arg(table.name.toLower(), column.toLower(), to.name(column)));
    }
}

// Copies every table inside the transaction that made the target. A table
// the new register starts with rows in (its settings) takes the source's
// rows instead, when the source has any.
QList<TableCount> copyInto(Side& from, Side& to) {
    // One moment of the source, however long the copy takes.
    from.exec(from.server() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                            : QStringLiteral("BEGIN"));
    QList<TableCount> counts;
    try {
        const RegisterShape shape =
            readRegisterShape(from.database(), from.server() ? Engine::Postgresql : Engine::Sqlite);
        for (const SchemaTable& table : schemaTables()) {
            if (!shape.hasTable(table.name)) {
                counts.append({table.name, 0, 0});
                continue;
            }
            const qint64 source = from.count(table.name);
            qint64 started = to.count(table.name);
            if (started > 0 && source > 0) {
                to.exec(QStringLiteral("DELETE FROM %1").arg(to.name(table.name)));
                started = 0;
            }
            copyTable(from, to, table, shape);
            if (to.server())
                continueCounters(to, table);
            counts.append({table.name, source, to.count(table.name) - started});
        }
        for (const TableCount& count : counts) {
            if (count.source != count.copied)
                throw DatabaseError(
                    QStringLiteral("複製的筆數不符﹕資料表 %1 來源有 %2 筆﹐複製後有 %3 筆。"
                                   "沒有複製任何資料。")
                        .arg(count.table)
                        .arg(count.source)
                        .arg(count.copied));
        }
    } catch (...) {
        QSqlQuery(from.database()).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    from.exec(QStringLiteral("COMMIT"));
    return counts;
}

} // namespace

QList<SchemaTable> schemaTables() {
    static const QList<SchemaTable> tables = [] {
        static const QRegularExpression table(QStringLiteral(R"(^\s*CREATE\s+TABLE\s+(\w+))"),
                                              QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression column(QStringLiteral(R"(^\s+(\w+)\s+(TEXT|INTEGER)\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
        QList<SchemaTable> found;
        for (const QString& line : schemaSql().split('\n')) {
            if (const QRegularExpressionMatch match = table.match(line); match.hasMatch()) {
                found.append({match.captured(1), {}, false});
            } else if (const QRegularExpressionMatch match = column.match(line);
                       match.hasMatch() && !found.isEmpty()) {
                found.last().columns << match.captured(1);
                if (line.contains(QLatin1String("PRIMARY KEY"), Qt::CaseInsensitive))
                    found.last().rowidIsCounter = true;
            }
        }
        return found;
    }();
    return tables;
}

QList<TableCount> copyDatabase(const DatabaseTarget& source, const DatabaseTarget& target) {
    if (source.engine == Engine::Sqlite && !QFileInfo(source.path).isFile())
        throw DatabaseError(
            QStringLiteral("找不到要複製的資料庫檔案 %1").arg(describeTarget(source)));
    Side from(kSourceConnection, source);
    QSqlQuery tables = from.exec(registerTablesStatement(source.engine));
    if (!tables.next() || tables.value(0).toLongLong() == 0)
        throw DatabaseError(QStringLiteral("%1 裡沒有會員資料庫的資料表﹐沒有可以複製的資料。")
                                .arg(describeTarget(source)));
    tables.finish();
    // The schema, the settings and the rows in one transaction: a failure
    // leaves the target as it was (a new file is removed).
    QList<TableCount> counts;
    createRegister(target, [&](QSqlDatabase& database) {
        Side to(database, target);
        counts = copyInto(from, to);
    });
    return counts;
}

} // namespace db
