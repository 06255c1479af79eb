#pragma once

#include "db/dataset_sql.h"
#include "db/packed_values.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <vector>

namespace db {

// The rows of one SELECT statement held in memory, with a current row and the
// editing states of a data window: append, edit, post, cancel and delete
// written back to one base table by its row identity (rowid).
//
// A save or delete first compares the stored row with what was read: when
// another desk changed it meanwhile, nothing is written, the row is
// reloaded, editing ends and DatabaseError says so (另一台電腦已修改此筆資料)
// and lists the values typed. A save that finds the row deleted (by another
// desk, or by this program: another dataset or an import) writes nothing
// and keeps the typed values: see setGoneRowQuestion.
//
// Rows are numbered from 0 (currentRow) for code and from 1 (rowNumber, and
// the movedTo signal) for what a window shows; -1 and 0 mean "no row".
//
// Moving to another row, sorting, refreshing or appending while a row is
// being edited first leaves it (posts it, unless the window asks the user
// instead: setLeaveRowQuestion), and does nothing when it stays. Values are
// changed only in Edit or Insert: setValue in any other state throws
// DatabaseError, as do the database's own refusals (with its text); after a
// failed post the dataset stays in Edit or Insert with the typed values kept.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    // A check run before a post or delete; false abandons the action.
    using Check = std::function<bool()>;
    // Run when a new row is started, after the defaults are set.
    using Action = std::function<void()>;

    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    // The table that rows are written back to. Its rowid is selected as a
    // hidden first column, so the statement must be a SELECT naming the table
    // unaliased. Fields that come from its columns, also under an alias
    // ("MGBirthday AS b"), are written back; expressions are not.
    void setBaseTable(const QString& table);
    QString baseTable() const { return m_baseTable; }

    void setStatement(const QString& sql);
    void setStatement(const QStringList& lines); // joined with line breaks
    QString statement() const { return m_statement; }
    void setParams(const QVariantMap& params); // names with or without ':'
    void setParam(const QString& name, const QVariant& value);
    QVariantMap params() const { return m_params; }

    // Runs the statement (closing first) and stands on the first row.
    void open();
    void open(const QString& sql, const QVariantMap& params = {});
    void open(const QStringList& lines, const QVariantMap& params = {});
    // Discards pending changes and every row.
    void close();
    // Runs the statement again, keeping the sort and, when it is still there,
    // the current row. False when the pending post was refused.
    bool refresh();

    State state() const { return m_state; }
    bool isOpen() const { return m_state != State::Inactive; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    int currentRow() const { return m_current; }
    int rowNumber() const { return m_current + 1; }

    // Navigation; each returns false when a pending post was refused.
    bool first();
    bool last();
    bool next();
    bool prior();
    bool moveTo(int row); // clamped to the rows there are

    QStringList fieldNames() const;
    int fieldCount() const { return int(m_fields.size()); }
    int fieldIndex(const QString& name) const; // ignores case; -1 when absent
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // The base-table column a field is written to; empty when it is not.
    QString baseColumn(int field) const;

    // Values of the current row; null when there is none. An unknown field
    // name throws DatabaseError.
    QVariant value(const QString& field) const;
    QVariant value(int row, int field) const;
    // Dates are stored as "yyyy-MM-dd HH:mm:ss" text and booleans as 0/1.
    void setValue(const QString& field, const QVariant& value);
    void setValue(int field, const QVariant& value);

    // Adds an empty row at the end with the new-row defaults (state Insert).
    void append();
    // Starts editing the current row; on an empty dataset appends instead.
    void edit();
    // Runs the before-post checks and writes the row. True when stored;
    // false when not editing or a check refused.
    bool post();
    // Restores the edited row, or drops the row being inserted.
    void cancel();
    // Runs the before-delete checks and deletes the current row; false when a
    // check refused. In Insert it cancels. Throws when there is no row.
    bool remove();

    // Values a new row starts with; they are written like typed values.
    void setNewRowDefaults(const QVariantMap& values);
    void onNewRow(Action action);
    void addBeforePost(Check check);
    void addBeforeDelete(Check check);

    // A check that reads the database before a row is written, run inside
    // the write's transaction once it holds the table's write lock (SQLite's
    // BEGIN IMMEDIATE; on a server a lock that every write of the table with
    // such checks takes first), so that what it finds cannot change before
    // the row is written: another desk storing the same member number at
    // the same moment waits for it, or it for the other. When the check
    // returns false nothing is written, the transaction ends, refused runs
    // (to say why) and the post returns false with the row kept in Edit or
    // Insert. Batch mode writes nothing and runs none.
    void addWriteCheck(Check check, Action refused);

    // Asked when moving, sorting, refreshing or appending would leave the
    // row being edited. It may post or cancel the row and returns whether
    // to go on; the action does nothing when it returns false or the row is
    // still being edited. Unless set, the row is posted.
    void setLeaveRowQuestion(Check ask);

    // Who deleted a row that a save found gone.
    enum class DeletedBy { ThisProgram, AnotherDesk };
    // Asked when a save finds the row being edited deleted meanwhile, with
    // nothing written: true stores the typed values as a new row (state
    // Insert, under the checks of any new row); false keeps them in Edit,
    // where saving asks again and cancelling drops the row. Unless set, the
    // save throws DatabaseError saying who deleted the row and keeps the
    // typed values the same way.
    using GoneRowQuestion = std::function<bool(DeletedBy)>;
    void setGoneRowQuestion(GoneRowQuestion ask);
    // The sentence that says who deleted a row.
    static QString deletedText(DeletedBy by);
    // This program replaced the stored rows of the base table beneath the
    // dataset (an import): until the next open or refresh, a row a save finds
    // gone was deleted here, not by another desk.
    void noteRowsReplacedHere() { m_replacedHere = true; }

    // The names the user knows the fields by (field name -> title), for the
    // message that lists the typed values another desk's change kept from
    // being written. Once titles are given, fields without one are not
    // listed; without any, fields are listed by name.
    void setFieldTitles(const QHash<QString, QString>& titles);

    // In batch mode posts and deletes change only the rows in memory. Without
    // a base table a dataset is read-only unless in batch mode.
    void setBatchMode(bool on) { m_batch = on; }
    bool batchMode() const { return m_batch; }

    // Sorts the rows in memory by one field (see dataset_sort.h), keeping the
    // current row on the same record. False when the pending post was refused.
    bool sortBy(const QString& field, Qt::SortOrder order = Qt::AscendingOrder);
    QString sortField() const { return m_sortField; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

signals:
    void stateChanged(db::Dataset::State state);
    // After opening, refreshing, sorting, moving, appending, cancelling an
    // insert and deleting: the 1-based row number (0 when empty) and the
    // number of rows.
    void movedTo(int rowNumber, int count);
    // A value changed; field -1 means the whole row.
    void dataChanged(int row, int field);
    // The rows are replaced (open, close, refresh, sort).
    void aboutToReset();
    void wasReset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);

private:
    struct Field {
        QString name;
        QString column; // base-table column, empty when not written back
    };
    struct Row {
        qint64 rowid = 0;
        PackedValues values;
    };
    struct Contents {
        std::vector<Field> fields;
        std::vector<Row> rows;
    };

    Contents runStatement() const;
    void replaceContents(Contents contents, int current);
    void setState(State state);
    void emitMoved();
    bool leaveEdit();
    void requireOpen() const;
    int requireField(const QString& name) const;
    void removeRowAt(int row);
    bool writeRow();
    bool writeInsert(const dataset_sql::WriteCheck& check);
    bool writeUpdate(const dataset_sql::WriteCheck& check);
    dataset_sql::WriteCheck writeCheck(int& refusedBy) const;
    void shareWrittenValues();
    dataset_sql::ColumnValues assignedValues() const;
    dataset_sql::ColumnValues columnValues(const Row& row) const;
    [[noreturn]] void reloadAfterConflict(dataset_sql::WriteResult result);
    DeletedBy deletedBy(qint64 rowid) const;
    bool offerGoneRow(const dataset_sql::WriteCheck& check);
    void becomeNewRow();
    void dropGoneRow();
    QString typedValuesText() const;
    void markDeletedHere(qint64 rowid, bool deleted) const;

    QString m_baseTable;
    QString m_statement;
    QVariantMap m_params;
    std::vector<Field> m_fields;
    QHash<QString, int> m_fieldIndex;
    std::vector<Row> m_rows;
    int m_current = -1;
    State m_state = State::Inactive;
    Row m_original;                 // the row as it was before Edit
    int m_returnRow = -1;           // where a cancelled insert goes back to
    QHash<QString, int> m_assigned; // lower-case column -> field last set
    QVariantMap m_defaults;
    std::vector<Action> m_newRowActions;
    std::vector<Check> m_beforePost;
    std::vector<Check> m_beforeDelete;
    struct WriteCheck {
        Check check;
        Action refused;
    };
    std::vector<WriteCheck> m_writeChecks;
    Check m_leaveRowQuestion;
    GoneRowQuestion m_goneRowQuestion;
    bool m_rowGone = false;                // the row being edited was found deleted
    bool m_replacedHere = false;           // see noteRowsReplacedHere
    QHash<QString, QString> m_fieldTitles; // lower-case field name -> title
    bool m_batch = false;
    QString m_sortField;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace db
