#pragma once

class QTableView;
class QWidget;

namespace db {

class DatasetModel;

// The grid of a data window, named DBGridEh1, showing model: read-only, one
// whole row selected at a time, without row numbers.
QTableView* newDatasetGrid(DatasetModel* model, QWidget* parent);

} // namespace db
