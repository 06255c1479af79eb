#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <functional>

class QAbstractItemView;

namespace db {

class Dataset;

// A table model over a dataset, for grids. Rows are the dataset's rows in
// its order; columns are its fields, or a chosen list of fields with titles.
// A view attached with attachView keeps its current row and the dataset's
// current row together, both ways.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title; // the field's name when empty
    };

    explicit DatasetModel(Dataset* dataset, QObject* parent = nullptr);

    Dataset* dataset() const { return m_dataset; }

    // The columns to show, in order; an empty list shows every field under
    // its own name. A listed field the statement lacks shows empty cells.
    void setColumns(const QList<Column>& columns);
    void setColumnTitle(const QString& field, const QString& title);
    int columnOf(const QString& field) const; // ignores case; -1 when absent
    QString fieldAt(int column) const;

    // Shows a field's values through format instead of as dates or text
    // (displayText); an empty function goes back to that.
    using Formatter = std::function<QString(const QVariant&)>;
    void setFieldFormatter(const QString& field, Formatter format);

    // Yes/no (0/1) fields shown as check boxes instead of text.
    void setCheckBoxField(const QString& field, bool on = true);
    // When editable, cells are edited through the dataset: a row not being
    // edited is edited and posted at once.
    void setEditable(bool on) { m_editable = on; }
    bool isEditable() const { return m_editable; }

    int rowForIndex(const QModelIndex& index) const; // the dataset row, -1 when none
    QModelIndex indexForRow(int row, int column = 0) const;

    // Shows this model in the view and keeps the view's current row and the
    // dataset's current row together.
    void attachView(QAbstractItemView* view);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Sorts the dataset by the column's field.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void connectDataset();
    void mapColumns();
    void onDataChanged(int row, int field);
    void onViewRowChanged(const QModelIndex& current);
    void selectCurrentRow();
    bool isCheckBox(int column) const;
    bool writeValue(int row, int column, const QVariant& value);

    QPointer<Dataset> m_dataset;
    QList<Column> m_chosen;
    QList<Column> m_columns; // what is shown
    QList<int> m_fieldOfColumn;
    QSet<QString> m_checkBoxFields;         // lower-case names
    QHash<QString, Formatter> m_formatters; // by lower-case name
    QList<QPointer<QAbstractItemView>> m_views;
    bool m_editable = false;
    bool m_changing = false; // rows are being inserted, removed or reset
};

} // namespace db
