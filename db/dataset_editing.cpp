// Dataset: changing rows (append, edit, set values, post, cancel, delete) and
// writing them back to the base table.
#include "db/dataset.h"

#include "base/errors.h"
#include "db/dataset_sql.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <map>

namespace db {
namespace {

// Dates become the ISO text the database stores; booleans become 0/1.
QVariant normalized(const QVariant& value) {
    if (value.isNull())
        return value;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

DatabaseError noBaseTable() {
    return DatabaseError(QStringLiteral("資料庫錯誤: 資料集沒有指定寫入的資料表"));
}

} // namespace

void Dataset::setValue(const QString& field, const QVariant& value) {
    setValue(requireField(field), value);
}

void Dataset::setValue(int field, const QVariant& value) {
    if (field < 0 || field >= fieldCount())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 找不到第 %1 個欄位").arg(field + 1));
    if (!isEditing())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 資料集不在編輯狀態，不能修改欄位 %1")
                                .arg(m_fields[size_t(field)].name));
    const QString& column = m_fields[size_t(field)].column;
    if (!column.isEmpty())
        m_assigned.insert(column.toLower(), field);
    PackedValues& values = m_rows[size_t(m_current)].values;
    const QVariant newValue = normalized(value);
    if (sameValue(values.at(field), newValue))
        return;
    values.set(field, newValue);
    emit dataChanged(m_current, field);
}

void Dataset::setNewRowDefaults(const QVariantMap& values) {
    m_defaults = values;
}

void Dataset::onNewRow(Action action) {
    m_newRowActions.push_back(std::move(action));
}

void Dataset::addBeforePost(Check check) {
    m_beforePost.push_back(std::move(check));
}

void Dataset::addBeforeDelete(Check check) {
    m_beforeDelete.push_back(std::move(check));
}

void Dataset::addWriteCheck(Check check, Action refused) {
    m_writeChecks.push_back({std::move(check), std::move(refused)});
}

void Dataset::setLeaveRowQuestion(Check ask) {
    m_leaveRowQuestion = std::move(ask);
}

void Dataset::append() {
    requireOpen();
    if (!leaveEdit())
        return;
    m_returnRow = m_current;
    const int row = rowCount();
    emit rowAboutToBeInserted(row);
    Row fresh;
    fresh.values = PackedValues::invalid(fieldCount());
    m_rows.push_back(std::move(fresh));
    m_current = row;
    emit rowInserted(row);
    m_assigned.clear();
    m_rowGone = false;
    setState(State::Insert);
    for (auto it = m_defaults.cbegin(); it != m_defaults.cend(); ++it) {
        if (hasField(it.key()))
            setValue(it.key(), it.value());
    }
    const std::vector<Action> actions = m_newRowActions;
    for (const Action& action : actions)
        action();
    emitMoved();
}

void Dataset::edit() {
    requireOpen();
    if (isEditing())
        return;
    if (m_rows.empty()) {
        append();
        return;
    }
    m_original = m_rows[size_t(m_current)];
    m_assigned.clear();
    m_rowGone = false;
    setState(State::Edit);
}

bool Dataset::post() {
    if (!isEditing())
        return false;
    const std::vector<Check> checks = m_beforePost;
    for (const Check& check : checks) {
        if (!check() || !isEditing())
            return false;
    }
    if (!m_batch && !writeRow())
        return false;
    m_assigned.clear();
    setState(State::Browse);
    return true;
}

void Dataset::cancel() {
    if (m_state == State::Edit && m_rowGone) {
        dropGoneRow();
    } else if (m_state == State::Edit) {
        m_rows[size_t(m_current)] = m_original;
        m_assigned.clear();
        setState(State::Browse);
        emit dataChanged(m_current, -1);
    } else if (m_state == State::Insert) {
        m_state = State::Browse; // before the row goes, so nothing can post it
        m_assigned.clear();
        removeRowAt(m_current);
        m_current = m_rows.empty() ? -1 : std::clamp(m_returnRow, 0, rowCount() - 1);
        emit stateChanged(m_state);
        emitMoved();
    }
}

bool Dataset::remove() {
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return true;
    }
    if (m_current < 0)
        throw DatabaseError(QStringLiteral("資料庫錯誤: 沒有可刪除的資料列"));
    const std::vector<Check> checks = m_beforeDelete;
    for (const Check& check : checks) {
        if (!check())
            return false;
    }
    if (!m_batch && m_baseTable.isEmpty())
        throw noBaseTable();
    const bool wasEditing = m_state == State::Edit;
    if (!m_batch) {
        const Row& read = wasEditing ? m_original : m_rows[size_t(m_current)];
        const auto result =
            dataset_sql::deleteRowIfUnchanged(m_baseTable, read.rowid, columnValues(read));
        if (result != dataset_sql::WriteResult::Written)
            reloadAfterConflict(result);
        markDeletedHere(read.rowid, true);
    }
    m_state = State::Browse;
    m_assigned.clear();
    removeRowAt(m_current);
    if (wasEditing)
        emit stateChanged(m_state);
    emitMoved();
    return true;
}

void Dataset::removeRowAt(int row) {
    emit rowAboutToBeRemoved(row);
    m_rows.erase(m_rows.begin() + row);
    m_current = std::min(m_current, rowCount() - 1);
    emit rowRemoved(row);
}

// False when a write check refused: then nothing was written and the
// check's refusal has been told.
bool Dataset::writeRow() {
    int refusedBy = -1;
    const dataset_sql::WriteCheck check = writeCheck(refusedBy);
    const bool written = m_state == State::Insert ? writeInsert(check) : writeUpdate(check);
    if (!written && refusedBy >= 0) {
        const Action refused = m_writeChecks[size_t(refusedBy)].refused;
        if (refused)
            refused();
    }
    return written;
}

// The write checks as one, run inside the write's transaction; refusedBy
// names the first that refused.
dataset_sql::WriteCheck Dataset::writeCheck(int& refusedBy) const {
    if (m_writeChecks.empty())
        return {};
    return [this, &refusedBy] {
        for (size_t i = 0; i < m_writeChecks.size(); ++i) {
            if (!m_writeChecks[i].check()) {
                refusedBy = int(i);
                return false;
            }
        }
        return true;
    };
}

// The assigned base-table columns of the current row, in field order.
dataset_sql::ColumnValues Dataset::assignedValues() const {
    std::map<int, QString> byField;
    for (auto it = m_assigned.cbegin(); it != m_assigned.cend(); ++it)
        byField.emplace(it.value(), m_fields[size_t(it.value())].column);
    dataset_sql::ColumnValues values;
    const Row& row = m_rows[size_t(m_current)];
    for (const auto& [field, column] : byField)
        values.append({column, row.values.at(field)});
    return values;
}

bool Dataset::writeInsert(const dataset_sql::WriteCheck& check) {
    if (m_baseTable.isEmpty())
        throw noBaseTable();
    const std::optional<qint64> rowid =
        dataset_sql::insertRow(m_baseTable, assignedValues(), check);
    if (!rowid)
        return false;
    markDeletedHere(*rowid, false); // SQLite may give a deleted row's rowid again
    Row& row = m_rows[size_t(m_current)];
    row.rowid = *rowid;
    // Read back what the database filled in: counters and column defaults.
    const QVariantMap stored = dataset_sql::readRow(m_baseTable, *rowid);
    QVariantList values = row.values.toList();
    for (int i = 0; i < fieldCount(); ++i) {
        const auto it = stored.constFind(m_fields[size_t(i)].column.toLower());
        if (it != stored.cend())
            values[i] = *it;
    }
    row.values = PackedValues(values);
    emit dataChanged(m_current, -1);
    return true;
}

bool Dataset::writeUpdate(const dataset_sql::WriteCheck& check) {
    if (m_baseTable.isEmpty())
        throw noBaseTable();
    if (m_assigned.isEmpty())
        return true;
    const qint64 rowid = m_rows[size_t(m_current)].rowid;
    const auto result = dataset_sql::updateRowIfUnchanged(
        m_baseTable, rowid, columnValues(m_original), assignedValues(), check);
    if (result == dataset_sql::WriteResult::Refused)
        return false;
    if (result == dataset_sql::WriteResult::Gone)
        return offerGoneRow(check);
    if (result != dataset_sql::WriteResult::Written)
        reloadAfterConflict(result);
    shareWrittenValues();
    return true;
}

// The base-table columns of a row as the dataset read them.
dataset_sql::ColumnValues Dataset::columnValues(const Row& row) const {
    dataset_sql::ColumnValues values;
    for (int i = 0; i < fieldCount(); ++i) {
        if (!m_fields[size_t(i)].column.isEmpty())
            values.append({m_fields[size_t(i)].column, row.values.at(i)});
    }
    return values;
}

// Fields that show the same column (a column and its alias) take the value
// that was written.
void Dataset::shareWrittenValues() {
    Row& row = m_rows[size_t(m_current)];
    QVariantList values = row.values.toList();
    bool changed = false;
    for (int i = 0; i < fieldCount(); ++i) {
        const int written = m_assigned.value(m_fields[size_t(i)].column.toLower(), -1);
        if (written >= 0 && written != i && !sameValue(values[i], values[written])) {
            values[i] = values[written];
            changed = true;
        }
    }
    if (!changed)
        return;
    row.values = PackedValues(values);
    emit dataChanged(m_current, -1);
}

} // namespace db
