#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTableView;
class SortMarkerHeader;

// A grid's column layout kept in an INI file: one key per column, named the
// grid's name, a dot and the column's field, holding seven numbers (position
// from 0, width in pixels, sort marker, visible, sort index, drop-down rows,
// drop-down width), and the key "(Default)" holding the row height and the
// number of text lines per row.
namespace members {

struct ColumnLayout {
    int position = 0;
    int width = 64;
    int marker = 0; // SortMarkerHeader::Marker
    int visible = 1;
    int sortIndex = 0;
    int dropDownRows = 7;
    int dropDownWidth = 0;
};

QString formatColumnLayout(const ColumnLayout& layout);

// The layout written in text; a number that is missing or not a number keeps
// the value of current, except the sort index, which falls back to 0.
ColumnLayout parseColumnLayout(const QString& text, const ColumnLayout& current);

// The layout of one grid whose logical columns show the given fields.
class GridLayout {
public:
    GridLayout(QTableView* grid, SortMarkerHeader* header, const QString& gridName,
               const QStringList& fields);

    // The column as it stands now.
    ColumnLayout column(int logicalIndex) const;

    // Writes every column's key and "(Default)" to the section.
    void save(const QString& path, const QString& section) const;

    // Applies each column's stored width, marker, sort index, visibility and
    // drop-down values, then the positions (for each position from 0 up, the
    // first column stored there moves there). A missing key leaves its
    // column as it is; "(Default)" is not applied.
    void restore(const QString& path, const QString& section);

private:
    QString keyOf(int logicalIndex) const;
    void apply(int logicalIndex, const ColumnLayout& layout);
    void applyPositions(const QList<int>& positions);

    QTableView* m_grid;
    SortMarkerHeader* m_header;
    QString m_gridName;
    QStringList m_fields;
    QList<ColumnLayout> m_kept; // what the grid itself does not hold
};

} // namespace members
