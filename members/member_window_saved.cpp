// The member window's saved searches and its export to a spreadsheet.
#include "base/errors.h"
#include "base/prompt.h"
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "db/file_dialog.h"
#include "members/criterion_row.h"
#include "members/export/export_table.h"
#include "members/export/import_layout.h"
#include "members/member_window.h"
#include "members/saved_search.h"
#include "members/saved_search_bar.h"
#include "members/sort_marker_header.h"

#include <QCheckBox>
#include <QDir>
#include <QTableView>

namespace saved = members::saved;
namespace exporting = members::exporting;

namespace {

// The dataset's rows, in the order shown, as the columns' values.
exporting::RowSource datasetRows(const db::Dataset& dataset, const QList<int>& fields) {
    return [&dataset, fields, row = 0](QVariantList& values) mutable {
        if (row >= dataset.rowCount())
            return false;
        values.resize(fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i)
            values[i] = fields[i] < 0 ? QVariant() : dataset.value(row, fields[i]);
        ++row;
        return true;
    };
}

} // namespace

members::SavedSearchBar* TFrmCust::buildSavedSearchBar(QWidget* parent) {
    return new members::SavedSearchBar(
        {[this] { return currentSearch(); }, [this](const saved::SavedSearch& s) { runSaved(s); }},
        parent);
}

saved::SavedSearch TFrmCust::currentSearch() const {
    saved::SavedSearch search;
    search.input = m_criteria->input();
    search.activeMembers = CheckBox1->isChecked();
    for (int column = 0; column < Dts_Master->columnCount(); ++column) {
        const SortMarkerHeader::Marker marker = m_header->marker(column);
        if (marker != SortMarkerHeader::NoMarker) {
            search.sortField = Dts_Master->fieldAt(column);
            search.sortDescending = marker == SortMarkerHeader::Descending;
        }
    }
    return search;
}

void TFrmCust::runSaved(const saved::SavedSearch& search) {
    if (!confirmLeaveRow())
        return;
    if (search.builtIn == saved::BuiltIn::None) {
        m_criteria->setInput(search.input);
        CheckBox1->setChecked(search.activeMembers);
    }
    Qry_Master->close();
    showStatement(saved::memberStatementOf(search));
    const int column = Dts_Master->columnOf(search.sortField);
    if (column < 0 || Qry_Master->isEmpty())
        return;
    const Qt::SortOrder order = search.sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (!Qry_Master->sortBy(Dts_Master->fieldAt(column), order))
        return;
    m_header->setMarker(column, search.sortDescending ? SortMarkerHeader::Descending
                                                      : SortMarkerHeader::Ascending);
    Qry_Master->first();
}

void TFrmCust::exportMembers(bool importLayout) {
    if (!confirmLeaveRow())
        return;
    openIfClosed();
    const QString suggested = QDir::current().filePath(QStringLiteral("會員資料.xlsx"));
    const QString path =
        m_chooseExportFile
            ? m_chooseExportFile()
            : filedialog::saveFile(this, QStringLiteral("Excel 活頁簿 (*.xlsx);;CSV 檔 (*.csv)"),
                                   suggested, QStringLiteral("匯出"));
    if (path.isEmpty())
        return;
    QList<exporting::Column> columns;
    QList<int> fields;
    if (importLayout) {
        columns = exporting::importLayoutColumns();
        for (const exporting::Column& column : columns) {
            // The typed birthday is listed as "b".
            const QString field =
                column.field.compare(QLatin1String("MGBirthday"), Qt::CaseInsensitive) == 0
                    ? QStringLiteral("b")
                    : column.field;
            fields << (field.isEmpty() ? -1 : Qry_Master->fieldIndex(field));
        }
    } else {
        // The grid's visible columns, in the order and under the captions shown.
        for (int visual = 0; visual < m_header->count(); ++visual) {
            const int logical = m_header->logicalIndex(visual);
            if (m_header->isSectionHidden(logical))
                continue;
            const QString field = Dts_Master->fieldAt(logical);
            const bool date = field.compare(QLatin1String("birthday"), Qt::CaseInsensitive) == 0;
            columns.append({field, Dts_Master->headerData(logical, Qt::Horizontal).toString(),
                            date ? exporting::CellKind::Date : exporting::CellKind::Text});
            fields << Qry_Master->fieldIndex(field);
        }
    }
    const int written = exporting::writeTable(path, columns, datasetRows(*Qry_Master, fields));
    InfoBox(QStringLiteral("匯出成功﹕共 %1 筆").arg(written));
}
