#include "db/change_history.h"

#include "db/connection.h"
#include "db/postgres.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSqlQuery>
#include <QSysInfo>

namespace db::history {
namespace {

QString& userName() {
    static QString name;
    return name;
}

int& revertDepth() {
    static int depth = 0;
    return depth;
}

// A stored value as the history keeps it: its text, null staying null.
QVariant storedText(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    return boundValue(value).toString();
}

bool sameText(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

struct Change {
    QString field;
    QVariant oldValue;
    QVariant newValue;
};

// The records of one write, in one statement.
void insertRecords(qint64 rowid, const QString& memberNumber, const QString& action,
                   const std::vector<Change>& changes) {
    if (changes.empty())
        return;
    QVariantMap params{{QStringLiteral("t"), timeText(QDateTime::currentDateTime())},
                       {QStringLiteral("u"), user()},
                       {QStringLiteral("h"), desk()},
                       {QStringLiteral("r"), rowid},
                       {QStringLiteral("c"), memberNumber},
                       {QStringLiteral("a"), action}};
    QStringList rows;
    for (size_t i = 0; i < changes.size(); ++i) {
        const QString n = QString::number(i);
        rows << QStringLiteral("(:t, :u, :h, :r, :c, :a, :f%1, :o%1, :n%1)").arg(n);
        params.insert(QStringLiteral("f") + n, changes[i].field.isEmpty()
                                                   ? QVariant(QMetaType(QMetaType::QString))
                                                   : QVariant(changes[i].field));
        params.insert(QStringLiteral("o") + n, changes[i].oldValue);
        params.insert(QStringLiteral("n") + n, changes[i].newValue);
    }
    run(QStringLiteral("INSERT INTO CustHistory (ChangeTime, UserID, Host, CustRowid, CustID, "
                       "Action, Field, OldValue, NewValue) VALUES ") +
            rows.join(QStringLiteral(", ")),
        params);
}

// The columns of a stored row as the schema spells them, in the table's
// order: readRow() keys them in lower case.
std::vector<Change> changedColumns(const QVariantMap& before, const QVariantMap& after) {
    std::vector<Change> changes;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (it.key() == QLatin1String("rowid"))
            continue;
        const QVariant old = before.value(it.key());
        if (sameText(storedText(old), storedText(*it)))
            continue;
        changes.push_back(
            {schemaSpelling(it.key(), QLatin1String(kTable)), storedText(old), storedText(*it)});
    }
    return changes;
}

void record(qint64 rowid, const QVariantMap& before) {
    if (!available())
        return;
    const QString action = revertDepth() > 0 ? QLatin1String(kRevert) : QString();
    const QVariantMap after = dataset_sql::readRow(QLatin1String(kTable), rowid);
    const QVariant nullText(QMetaType(QMetaType::QString));
    if (before.isEmpty()) {
        insertRecords(rowid, after.value(QStringLiteral("id")).toString(),
                      action.isEmpty() ? QLatin1String(kInsert) : action,
                      {{QString(), nullText, rowText(after)}});
    } else if (after.isEmpty()) {
        insertRecords(rowid, before.value(QStringLiteral("id")).toString(),
                      action.isEmpty() ? QLatin1String(kDelete) : action,
                      {{QString(), rowText(before), nullText}});
    } else {
        insertRecords(rowid, after.value(QStringLiteral("id")).toString(),
                      action.isEmpty() ? QLatin1String(kUpdate) : action,
                      changedColumns(before, after));
    }
}

} // namespace

void setUser(const QString& user) {
    userName() = user;
}

QString user() {
    return userName();
}

QString desk() {
    static const QString host = QSysInfo::machineHostName();
    return host;
}

bool available() {
    QSqlQuery query =
        engine() == Engine::Postgresql
            ? run(QStringLiteral("SELECT to_regclass('custhistory') IS NOT NULL"))
            : run(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                 "name = 'CustHistory' COLLATE NOCASE"));
    return query.next() && query.value(0).toBool();
}

dataset_sql::AfterWrite recorder(const QString& table) {
    if (table.compare(QLatin1String(kTable), Qt::CaseInsensitive) != 0)
        return {};
    return record;
}

RevertScope::RevertScope() {
    ++revertDepth();
}

RevertScope::~RevertScope() {
    --revertDepth();
}

QString rowText(const QVariantMap& row) {
    QJsonObject object;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        if (it.key() == QLatin1String("rowid"))
            continue;
        const QVariant text = storedText(*it);
        object.insert(it.key().toLower(),
                      text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text.toString()));
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QVariantMap rowFromText(const QString& text) {
    QVariantMap row;
    const QJsonObject object = QJsonDocument::fromJson(text.toUtf8()).object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        row.insert(it.key(), it->isNull() ? QVariant(QMetaType(QMetaType::QString))
                                          : QVariant(it->toString()));
    return row;
}

ImportRecord::ImportRecord() : m_available(available()) {
    if (!m_available)
        return;
    if (engine() == Engine::Postgresql)
        dataset_sql::holdWriteLock(QLatin1String(kTable));
    QSqlQuery last = run(QStringLiteral("SELECT max(rowid) FROM Cust"));
    m_lastRowidBefore = last.next() ? last.value(0).toLongLong() : 0;
}

qint64 ImportRecord::finish() {
    if (!m_available)
        return 0;
    const QVariantMap who{{QStringLiteral("t"), timeText(QDateTime::currentDateTime())},
                          {QStringLiteral("u"), user()},
                          {QStringLiteral("h"), desk()}};
    QSqlQuery batch = run(QStringLiteral("INSERT INTO CustHistory (ChangeTime, UserID, Host, "
                                         "Action) VALUES (:t, :u, :h, 'import') RETURNING ID"),
                          who);
    const qint64 batchId = batch.next() ? batch.value(0).toLongLong() : 0;
    QVariantMap params = who;
    params.insert(QStringLiteral("b"), batchId);
    params.insert(QStringLiteral("m"), m_lastRowidBefore);
    const QSqlQuery rows =
        run(QStringLiteral("INSERT INTO CustHistory (ChangeTime, UserID, Host, CustRowid, CustID, "
                           "Action, NewValue, BatchID) SELECT :t, :u, :h, rowid, id, 'import', "
                           "name, :b FROM Cust WHERE rowid > :m"),
            params);
    run(QStringLiteral("UPDATE CustHistory SET NewValue = :n WHERE ID = :b"),
        {{QStringLiteral("n"), QString::number(rows.numRowsAffected())},
         {QStringLiteral("b"), batchId}});
    return batchId;
}

QString timeText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace db::history
