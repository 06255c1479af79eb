#include "db/dataset_model.h"

#include "db/dataset.h"
#include "db/display_text.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace db {

DatasetModel::DatasetModel(Dataset* dataset, QObject* parent)
    : QAbstractTableModel(parent), m_dataset(dataset) {
    connectDataset();
    mapColumns();
}

void DatasetModel::connectDataset() {
    Dataset* d = m_dataset;
    connect(d, &Dataset::aboutToReset, this, [this] {
        m_changing = true;
        beginResetModel();
    });
    connect(d, &Dataset::wasReset, this, [this] {
        mapColumns();
        endResetModel();
        m_changing = false;
    });
    connect(d, &Dataset::rowAboutToBeInserted, this, [this](int row) {
        m_changing = true;
        beginInsertRows({}, row, row);
    });
    connect(d, &Dataset::rowInserted, this, [this] {
        endInsertRows();
        m_changing = false;
    });
    connect(d, &Dataset::rowAboutToBeRemoved, this, [this](int row) {
        m_changing = true;
        beginRemoveRows({}, row, row);
    });
    connect(d, &Dataset::rowRemoved, this, [this] {
        endRemoveRows();
        m_changing = false;
    });
    connect(d, &Dataset::dataChanged, this, &DatasetModel::onDataChanged);
    connect(d, &Dataset::movedTo, this, &DatasetModel::selectCurrentRow);
}

void DatasetModel::setColumns(const QList<Column>& columns) {
    beginResetModel();
    m_chosen = columns;
    mapColumns();
    endResetModel();
}

void DatasetModel::setColumnTitle(const QString& field, const QString& title) {
    for (Column& column : m_chosen) {
        if (column.field.compare(field, Qt::CaseInsensitive) == 0)
            column.title = title;
    }
    const int index = columnOf(field);
    if (index < 0)
        return;
    m_columns[index].title = title;
    emit headerDataChanged(Qt::Horizontal, index, index);
}

// Works out the shown columns and which dataset field each one reads.
void DatasetModel::mapColumns() {
    QList<Column> shown = m_chosen;
    if (shown.isEmpty() && m_dataset) {
        for (const QString& name : m_dataset->fieldNames())
            shown.append({name, QString()});
    }
    // Titles set for fields of the previous statement carry over.
    for (Column& column : shown) {
        const int old = columnOf(column.field);
        if (column.title.isEmpty() && old >= 0)
            column.title = m_columns[old].title;
    }
    m_columns = shown;
    m_fieldOfColumn.clear();
    for (const Column& column : m_columns)
        m_fieldOfColumn.append(m_dataset ? m_dataset->fieldIndex(column.field) : -1);
}

int DatasetModel::columnOf(const QString& field) const {
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString DatasetModel::fieldAt(int column) const {
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : QString();
}

void DatasetModel::setCheckBoxField(const QString& field, bool on) {
    if (on)
        m_checkBoxFields.insert(field.toLower());
    else
        m_checkBoxFields.remove(field.toLower());
    const int column = columnOf(field);
    if (column >= 0 && rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

void DatasetModel::setFieldFormatter(const QString& field, Formatter format) {
    if (format)
        m_formatters.insert(field.toLower(), std::move(format));
    else
        m_formatters.remove(field.toLower());
    const int column = columnOf(field);
    if (column >= 0 && rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

bool DatasetModel::isCheckBox(int column) const {
    return m_checkBoxFields.contains(fieldAt(column).toLower());
}

int DatasetModel::rowForIndex(const QModelIndex& index) const {
    return index.isValid() && index.model() == this ? index.row() : -1;
}

QModelIndex DatasetModel::indexForRow(int row, int column) const {
    return index(row, column);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_dataset ? 0 : m_dataset->rowCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_dataset)
        return {};
    const QVariant value = m_dataset->value(index.row(), m_fieldOfColumn.value(index.column(), -1));
    if (isCheckBox(index.column())) {
        if (role == Qt::CheckStateRole)
            return value.toInt() != 0 ? Qt::Checked : Qt::Unchecked;
        return role == Qt::EditRole ? value : QVariant();
    }
    if (role == Qt::DisplayRole) {
        if (value.isNull())
            return {};
        const Formatter format = m_formatters.value(fieldAt(index.column()).toLower());
        return format ? format(value) : displayText(value);
    }
    if (role == Qt::EditRole)
        return value;
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& column = m_columns[section];
    return column.title.isEmpty() ? column.field : column.title;
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (!index.isValid() || !m_editable || m_fieldOfColumn.value(index.column(), -1) < 0)
        return result;
    return result | (isCheckBox(index.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !m_editable || !m_dataset)
        return false;
    if (role == Qt::CheckStateRole && isCheckBox(index.column()))
        return writeValue(index.row(), index.column(),
                          value.value<Qt::CheckState>() == Qt::Checked ? 1 : 0);
    if (role == Qt::EditRole)
        return writeValue(index.row(), index.column(), value);
    return false;
}

// Edits the row through the dataset; a row that was not being edited is
// posted at once, so a grid edit is one complete change.
bool DatasetModel::writeValue(int row, int column, const QVariant& value) {
    const int field = m_fieldOfColumn.value(column, -1);
    if (field < 0 || !m_dataset->moveTo(row) || m_dataset->currentRow() != row)
        return false;
    const bool startedHere = !m_dataset->isEditing();
    m_dataset->edit();
    m_dataset->setValue(field, value);
    if (!startedHere || m_dataset->post())
        return true;
    m_dataset->cancel();
    return false;
}

void DatasetModel::sort(int column, Qt::SortOrder order) {
    if (m_dataset && m_dataset->isOpen() && m_fieldOfColumn.value(column, -1) >= 0)
        m_dataset->sortBy(fieldAt(column), order);
}

void DatasetModel::onDataChanged(int row, int field) {
    if (row < 0 || row >= rowCount() || m_columns.isEmpty())
        return;
    int first = 0;
    int last = int(m_columns.size()) - 1;
    if (field >= 0) {
        first = int(m_fieldOfColumn.indexOf(field));
        last = int(m_fieldOfColumn.lastIndexOf(field));
        if (first < 0)
            return;
    }
    emit dataChanged(index(row, first), index(row, last));
}

void DatasetModel::attachView(QAbstractItemView* view) {
    if (view->model() != this)
        view->setModel(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_views.append(view);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onViewRowChanged(current); });
    selectCurrentRow();
}

void DatasetModel::onViewRowChanged(const QModelIndex& current) {
    // Selection changes that follow inserted, removed or reset rows are the
    // view catching up; the dataset says where it stands afterwards.
    if (m_changing || !m_dataset || !current.isValid())
        return;
    if (current.row() == m_dataset->currentRow())
        return;
    // When the pending post is refused, by a check or by the database, the
    // view goes back to the edited row (queued: the selection model is still
    // busy announcing the change). A database refusal arrives as an error
    // that goes on to the error report, so the view is put back first.
    const auto goBack = [this] {
        QMetaObject::invokeMethod(this, &DatasetModel::selectCurrentRow, Qt::QueuedConnection);
    };
    try {
        if (!m_dataset->moveTo(current.row()))
            goBack();
    } catch (...) {
        goBack();
        throw;
    }
}

void DatasetModel::selectCurrentRow() {
    if (!m_dataset)
        return;
    const int row = m_dataset->currentRow();
    for (const QPointer<QAbstractItemView>& view : std::as_const(m_views)) {
        if (!view || !view->selectionModel())
            continue;
        QItemSelectionModel* selection = view->selectionModel();
        if (row < 0 || columnCount() == 0) {
            selection->clear();
            continue;
        }
        const QModelIndex target = index(row, std::max(0, selection->currentIndex().column()));
        if (selection->currentIndex().row() != row || !selection->isRowSelected(row))
            selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
        view->scrollTo(target);
    }
}

} // namespace db
