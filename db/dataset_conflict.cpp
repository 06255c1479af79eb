// Dataset: what a save or delete does when the stored row changed or went
// since it was read, and who is said to have done it.
#include "db/dataset.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/display_text.h"

#include <QPair>
#include <QSet>
#include <map>

namespace db {
namespace {

// The rows this program deleted through a dataset, by register, lower-case
// table and rowid. A rowid SQLite gives again to a row this program adds is
// forgotten (markDeletedHere).
using RowKey = QPair<QString, qint64>;
QSet<RowKey>& rowsDeletedHere() {
    static QSet<RowKey> rows;
    return rows;
}

RowKey rowKey(const QString& table, qint64 rowid) {
    return {databasePath() + QLatin1Char('\n') + table.toLower(), rowid};
}

const QString kNotWritten = QStringLiteral("﹐這次的修改沒有寫入。");

} // namespace

QString Dataset::deletedText(DeletedBy by) {
    return by == DeletedBy::ThisProgram ? QStringLiteral("此筆資料已被本程式刪除(其他視窗或導入)")
                                        : QStringLiteral("另一台電腦已刪除此筆資料");
}

void Dataset::setGoneRowQuestion(GoneRowQuestion ask) {
    m_goneRowQuestion = std::move(ask);
}

void Dataset::setFieldTitles(const QHash<QString, QString>& titles) {
    m_fieldTitles.clear();
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        m_fieldTitles.insert(it.key().toLower(), it.value());
}

void Dataset::markDeletedHere(qint64 rowid, bool deleted) const {
    const RowKey key = rowKey(m_baseTable, rowid);
    if (deleted)
        rowsDeletedHere().insert(key);
    else
        rowsDeletedHere().remove(key);
}

Dataset::DeletedBy Dataset::deletedBy(qint64 rowid) const {
    const bool here = m_replacedHere || rowsDeletedHere().contains(rowKey(m_baseTable, rowid));
    return here ? DeletedBy::ThisProgram : DeletedBy::AnotherDesk;
}

// The save found the row deleted and wrote nothing. The typed values stay,
// in Edit or, when the question says so, stored as a new row.
bool Dataset::offerGoneRow(const dataset_sql::WriteCheck& check) {
    const DeletedBy by = deletedBy(m_rows[size_t(m_current)].rowid);
    m_rowGone = true;
    if (!m_goneRowQuestion) {
        throw DatabaseError(deletedText(by) + kNotWritten +
                            QStringLiteral("\n輸入的資料仍保留在畫面上﹐按取消即放棄。"));
    }
    if (!m_goneRowQuestion(by) || m_state != State::Edit)
        return false;
    becomeNewRow();
    return writeInsert(check);
}

// The row being edited, its stored row gone, becomes a new row with every
// value it shows, where it stands in the list.
void Dataset::becomeNewRow() {
    Row& row = m_rows[size_t(m_current)];
    for (int i = 0; i < fieldCount(); ++i) {
        const QString column = m_fields[size_t(i)].column.toLower();
        if (!column.isEmpty() && !m_assigned.contains(column) && !row.values.at(i).isNull())
            m_assigned.insert(column, i);
    }
    row.rowid = 0;
    m_rowGone = false;
    m_returnRow = m_current;
    setState(State::Insert);
}

// Cancelling the edit of a row found deleted: there is no stored row to go
// back to, so the row leaves the list.
void Dataset::dropGoneRow() {
    m_state = State::Browse; // before the row goes, so nothing can post it
    m_assigned.clear();
    m_rowGone = false;
    removeRowAt(m_current);
    emit stateChanged(m_state);
    emitMoved();
}

// The values typed into the row that differ from what was read, one line a
// field: "title﹕value".
QString Dataset::typedValuesText() const {
    if (m_state != State::Edit || m_current < 0)
        return {};
    std::map<int, QString> lines;
    const Row& row = m_rows[size_t(m_current)];
    for (const int field : m_assigned) {
        const QVariant typed = row.values.at(field);
        const QVariant read = m_original.values.at(field);
        if (typed.isNull() == read.isNull() && displayText(typed) == displayText(read))
            continue;
        const QString name = m_fields[size_t(field)].name;
        QString title = m_fieldTitles.value(name.toLower());
        if (title.isEmpty() && !m_fieldTitles.isEmpty())
            continue;
        if (title.isEmpty())
            title = name;
        const QString text = displayText(typed);
        lines.emplace(field, title + QStringLiteral("﹕") +
                                 (text.isEmpty() ? QStringLiteral("(空白)") : text));
    }
    QStringList texts;
    for (const auto& [field, line] : lines)
        texts << line;
    return texts.join('\n');
}

// Shows the row as it is stored now (or drops it when it is gone), leaves
// editing and says why nothing was written, with what was typed.
void Dataset::reloadAfterConflict(dataset_sql::WriteResult result) {
    const bool gone = result == dataset_sql::WriteResult::Gone;
    const bool wasEditing = isEditing();
    const QString typed = typedValuesText();
    const qint64 rowid = m_rows[size_t(m_current)].rowid;
    m_state = State::Browse;
    m_assigned.clear();
    m_rowGone = false;
    QString text;
    if (gone) {
        text = deletedText(deletedBy(rowid)) + QStringLiteral("﹐已從清單移除。");
        removeRowAt(m_current);
    } else {
        text = QStringLiteral("另一台電腦已修改此筆資料") + kNotWritten +
               QStringLiteral("\n已重新載入此筆資料的最新內容。");
        Row& row = m_rows[size_t(m_current)];
        const QVariantMap stored = dataset_sql::readRow(m_baseTable, row.rowid);
        QVariantList values = (wasEditing ? m_original : row).values.toList();
        for (int i = 0; i < fieldCount(); ++i) {
            const auto it = stored.constFind(m_fields[size_t(i)].column.toLower());
            if (!m_fields[size_t(i)].column.isEmpty() && it != stored.cend())
                values[i] = *it;
        }
        row.values = PackedValues(values);
        emit dataChanged(m_current, -1);
    }
    if (!typed.isEmpty())
        text += QStringLiteral("\n沒有寫入的輸入內容﹕\n") + typed;
    if (wasEditing)
        emit stateChanged(m_state);
    emitMoved();
    throw DatabaseError(text);
}

} // namespace db
