#include "db/dataset_grid.h"

#include "db/dataset.h"
#include "db/dataset_model.h"

#include <QHeaderView>
#include <QTableView>

namespace db {

QTableView* newDatasetGrid(DatasetModel* model, QWidget* parent) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("DBGridEh1"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    model->attachView(grid);
    return grid;
}

} // namespace db
