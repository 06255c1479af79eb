#include "db/dataset.h"

#include "base/errors.h"
#include "db/dataset_sort.h"
#include "db/dataset_sql.h"

#include <algorithm>

namespace db {
namespace {

// Reorders rows by one field and returns where the row at current went.
template <typename Row>
int reorder(std::vector<Row>& rows, int field, Qt::SortOrder order, int current) {
    std::vector<QVariant> keys;
    keys.reserve(rows.size());
    for (const Row& row : rows)
        keys.push_back(row.values.at(field));
    const std::vector<int> positions = dataset_sort::sortedOrder(keys, order);
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    int moved = -1;
    for (int position : positions) {
        if (position == current)
            moved = int(sorted.size());
        sorted.push_back(std::move(rows[size_t(position)]));
    }
    rows = std::move(sorted);
    return moved;
}

} // namespace

Dataset::Dataset(QObject* parent) : QObject(parent) {}

Dataset::~Dataset() = default;

void Dataset::setBaseTable(const QString& table) {
    m_baseTable = table;
}

void Dataset::setStatement(const QString& sql) {
    m_statement = sql;
}

void Dataset::setStatement(const QStringList& lines) {
    m_statement = lines.join('\n');
}

void Dataset::setParams(const QVariantMap& params) {
    m_params.clear();
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        setParam(it.key(), it.value());
}

// Kept without the leading ':' so that "Name" and ":Name" are one parameter.
void Dataset::setParam(const QString& name, const QVariant& value) {
    m_params.insert(name.startsWith(':') ? name.mid(1) : name, value);
}

Dataset::Contents Dataset::runStatement() const {
    if (m_statement.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 資料集沒有 SQL 敘述"));
    const bool keyed = !m_baseTable.isEmpty();
    const QString sql = keyed ? dataset_sql::withRowid(m_statement, m_baseTable) : m_statement;
    dataset_sql::Select query(sql, m_params);
    const int first = keyed ? 1 : 0;
    const int count = query.columnCount();
    Contents contents;
    for (int i = first; i < count; ++i) {
        contents.fields.push_back(
            {query.columnName(i), keyed ? query.originColumn(i, m_baseTable) : QString()});
    }
    while (query.next()) {
        Row row;
        if (keyed)
            row.rowid = query.integer(0);
        for (int i = first; i < count; ++i)
            query.appendValue(i, row.values);
        contents.rows.push_back(std::move(row));
    }
    return contents;
}

void Dataset::replaceContents(Contents contents, int current) {
    emit aboutToReset();
    m_fields = std::move(contents.fields);
    m_rows = std::move(contents.rows);
    m_fieldIndex.clear();
    for (int i = 0; i < int(m_fields.size()); ++i) {
        const QString key = m_fields[size_t(i)].name.toLower();
        if (!m_fieldIndex.contains(key))
            m_fieldIndex.insert(key, i);
    }
    m_current = current;
    m_replacedHere = false;
    emit wasReset();
}

void Dataset::open() {
    close();
    Contents contents = runStatement();
    const int current = contents.rows.empty() ? -1 : 0;
    m_sortField.clear();
    replaceContents(std::move(contents), current);
    setState(State::Browse);
    emitMoved();
}

void Dataset::open(const QString& sql, const QVariantMap& params) {
    setStatement(sql);
    setParams(params);
    open();
}

void Dataset::open(const QStringList& lines, const QVariantMap& params) {
    open(lines.join('\n'), params);
}

void Dataset::close() {
    if (m_state == State::Inactive)
        return;
    m_assigned.clear();
    m_state = State::Inactive; // before the rows go, so nothing can post them
    replaceContents({}, -1);
    emit stateChanged(m_state);
}

bool Dataset::refresh() {
    if (m_state == State::Inactive) {
        open();
        return true;
    }
    if (!leaveEdit())
        return false;
    const qint64 rowid = m_current >= 0 ? m_rows[size_t(m_current)].rowid : 0;
    Contents contents = runStatement();
    std::vector<Row>& rows = contents.rows;
    int current = std::min(m_current, int(rows.size()) - 1);
    for (int i = 0; i < int(rows.size()) && rowid != 0; ++i) {
        if (rows[size_t(i)].rowid == rowid)
            current = i;
    }
    for (int i = 0; i < int(contents.fields.size()) && !m_sortField.isEmpty(); ++i) {
        if (contents.fields[size_t(i)].name.compare(m_sortField, Qt::CaseInsensitive) == 0) {
            current = reorder(rows, i, m_sortOrder, current);
            break;
        }
    }
    replaceContents(std::move(contents), current);
    emitMoved();
    return true;
}

void Dataset::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void Dataset::emitMoved() {
    emit movedTo(rowNumber(), rowCount());
}

bool Dataset::leaveEdit() {
    if (!isEditing())
        return true;
    if (!m_leaveRowQuestion)
        return post();
    return m_leaveRowQuestion() && !isEditing();
}

void Dataset::requireOpen() const {
    if (m_state == State::Inactive)
        throw DatabaseError(QStringLiteral("資料庫錯誤: 資料集沒有開啟"));
}

bool Dataset::first() {
    return moveTo(0);
}

bool Dataset::last() {
    return moveTo(rowCount() - 1);
}

bool Dataset::next() {
    return moveTo(m_current + 1);
}

bool Dataset::prior() {
    return moveTo(m_current - 1);
}

bool Dataset::moveTo(int row) {
    if (m_rows.empty())
        return true;
    row = std::clamp(row, 0, rowCount() - 1);
    if (row == m_current)
        return true;
    if (!leaveEdit())
        return false;
    // A new row given up on the way has gone from the end of the rows.
    if (m_rows.empty())
        return true;
    row = std::min(row, rowCount() - 1);
    m_current = row;
    emitMoved();
    return true;
}

QStringList Dataset::fieldNames() const {
    QStringList names;
    for (const Field& field : m_fields)
        names << field.name;
    return names;
}

int Dataset::fieldIndex(const QString& name) const {
    return m_fieldIndex.value(name.toLower(), -1);
}

int Dataset::requireField(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("資料庫錯誤: 找不到欄位 %1").arg(name));
    return index;
}

QString Dataset::baseColumn(int field) const {
    return field >= 0 && field < fieldCount() ? m_fields[size_t(field)].column : QString();
}

QVariant Dataset::value(const QString& field) const {
    const int index = requireField(field);
    return value(m_current, index);
}

QVariant Dataset::value(int row, int field) const {
    if (row < 0 || row >= rowCount() || field < 0 || field >= fieldCount())
        return {};
    return m_rows[size_t(row)].values.at(field);
}

bool Dataset::sortBy(const QString& field, Qt::SortOrder order) {
    requireOpen();
    const int index = requireField(field);
    if (!leaveEdit())
        return false;
    m_sortField = m_fields[size_t(index)].name;
    m_sortOrder = order;
    emit aboutToReset();
    m_current = reorder(m_rows, index, order, m_current);
    emit wasReset();
    emitMoved();
    return true;
}

} // namespace db
