#include "db/register_upgrade.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/postgres.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace db {
namespace {

QSqlQuery exec(QSqlDatabase& database, const QString& statement) {
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        raise(database, query.lastError());
    return query;
}

QString withoutComments(const QString& statement) {
    QStringList lines;
    for (const QString& line : statement.split('\n')) {
        const qsizetype comment = line.indexOf(QLatin1String("--"));
        const QString code = comment < 0 ? line : line.left(comment);
        if (!code.trimmed().isEmpty())
            lines << code;
    }
    return lines.join('\n');
}

QString inEngine(const QString& statement, Engine engine) {
    return engine == Engine::Postgresql ? postgresSchema(statement).trimmed() : statement;
}

// A table's statement in schema.sql and its column lines by name.
struct TableStatement {
    QString name;
    QString statement;
    QList<std::pair<QString, QString>> columns; // name, definition
};

struct SchemaStatements {
    QList<TableStatement> tables;
    QList<std::pair<QString, QString>> indexes; // name, statement
};

const SchemaStatements& schemaStatements() {
    static const SchemaStatements statements = [] {
        static const QRegularExpression table(QStringLiteral(R"(^\s*CREATE\s+TABLE\s+(\w+))"),
                                              QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression index(
            QStringLiteral(R"(^\s*CREATE\s+(?:UNIQUE\s+)?INDEX\s+(\w+)\s+ON\b)"),
            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression column(QStringLiteral(R"(^\s+(\w+)\s+(TEXT|INTEGER)\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
        SchemaStatements found;
        for (const QString& raw : splitStatements(schemaSql())) {
            const QString statement = withoutComments(raw).trimmed();
            if (const auto match = table.match(statement); match.hasMatch()) {
                TableStatement entry{match.captured(1), statement, {}};
                for (const QString& line : statement.split('\n')) {
                    if (const auto c = column.match(line); c.hasMatch()) {
                        QString definition = line.trimmed();
                        if (definition.endsWith(','))
                            definition.chop(1);
                        entry.columns.append({c.captured(1), definition});
                    }
                }
                found.tables.append(entry);
            } else if (const auto m = index.match(statement); m.hasMatch()) {
                found.indexes.append({m.captured(1), statement});
            }
        }
        return found;
    }();
    return statements;
}

bool hasRegister(const RegisterShape& shape) {
    return shape.hasTable(QStringLiteral("Cust"));
}

} // namespace

RegisterShape readRegisterShape(QSqlDatabase& database, Engine engine) {
    RegisterShape shape;
    if (engine == Engine::Postgresql) {
        QSqlQuery columns =
            exec(database, QStringLiteral("SELECT table_name, column_name FROM "
                                          "information_schema.columns WHERE table_schema = "
                                          "current_schema()"));
        while (columns.next()) {
            const QString table = columns.value(0).toString().toLower();
            shape.tables.insert(table);
            shape.columns.insert(table + '.' + columns.value(1).toString().toLower());
        }
        QSqlQuery indexes = exec(database, QStringLiteral("SELECT indexname FROM pg_indexes "
                                                          "WHERE schemaname = current_schema()"));
        while (indexes.next())
            shape.indexes.insert(indexes.value(0).toString().toLower());
        return shape;
    }
    QSqlQuery columns = exec(
        database, QStringLiteral("SELECT m.name, p.name FROM sqlite_master AS m "
                                 "JOIN pragma_table_info(m.name) AS p WHERE m.type = 'table'"));
    while (columns.next()) {
        const QString table = columns.value(0).toString().toLower();
        shape.tables.insert(table);
        shape.columns.insert(table + '.' + columns.value(1).toString().toLower());
    }
    QSqlQuery indexes =
        exec(database, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
    while (indexes.next())
        shape.indexes.insert(indexes.value(0).toString().toLower());
    return shape;
}

QStringList upgradeStatements(const RegisterShape& shape, Engine engine) {
    const SchemaStatements& schema = schemaStatements();
    QStringList statements;
    for (const TableStatement& table : schema.tables) {
        if (!shape.hasTable(table.name)) {
            statements << inEngine(table.statement, engine);
            continue;
        }
        for (const auto& [column, definition] : table.columns) {
            if (!shape.hasColumn(table.name, column))
                statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                                  .arg(table.name, inEngine(definition, engine));
        }
    }
    for (const auto& [name, statement] : schema.indexes) {
        if (!shape.indexes.contains(name.toLower()))
            statements << inEngine(statement, engine);
    }
    return statements;
}

void upgradeRegister(QSqlDatabase& database, Engine engine) {
    {
        const RegisterShape shape = readRegisterShape(database, engine);
        if (!hasRegister(shape) || upgradeStatements(shape, engine).isEmpty())
            return;
    }
    // Under the write lock the shape is read again: another program may
    // have added everything in the meantime.
    exec(database, engine == Engine::Postgresql ? QStringLiteral("BEGIN")
                                                : QStringLiteral("BEGIN IMMEDIATE"));
    try {
        if (engine == Engine::Postgresql)
            exec(database,
                 QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('lunmark upgrade'))"));
        for (const QString& statement :
             upgradeStatements(readRegisterShape(database, engine), engine))
            exec(database, statement);
        exec(database, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

} // namespace db
