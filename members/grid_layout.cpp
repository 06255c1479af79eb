#include "members/grid_layout.h"

#include "members/ini_file.h"
#include "members/sort_marker_header.h"

#include <QHeaderView>
#include <QTableView>

namespace members {
namespace {

int numberOr(const QStringList& words, int index, int fallback) {
    bool ok = false;
    const int value = words.value(index).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

SortMarkerHeader::Marker markerOf(int number) {
    switch (number) {
    case SortMarkerHeader::Descending:
        return SortMarkerHeader::Descending;
    case SortMarkerHeader::Ascending:
        return SortMarkerHeader::Ascending;
    default:
        return SortMarkerHeader::NoMarker;
    }
}

} // namespace

QString formatColumnLayout(const ColumnLayout& layout) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
        .arg(layout.position)
        .arg(layout.width)
        .arg(layout.marker)
        .arg(layout.visible)
        .arg(layout.sortIndex)
        .arg(layout.dropDownRows)
        .arg(layout.dropDownWidth);
}

ColumnLayout parseColumnLayout(const QString& text, const ColumnLayout& current) {
    const QStringList words = text.split(',');
    ColumnLayout layout;
    layout.position = numberOr(words, 0, current.position);
    layout.width = numberOr(words, 1, current.width);
    layout.marker = numberOr(words, 2, current.marker);
    layout.visible = numberOr(words, 3, current.visible);
    layout.sortIndex = numberOr(words, 4, 0);
    layout.dropDownRows = numberOr(words, 5, current.dropDownRows);
    layout.dropDownWidth = numberOr(words, 6, current.dropDownWidth);
    return layout;
}

GridLayout::GridLayout(QTableView* grid, SortMarkerHeader* header, const QString& gridName,
                       const QStringList& fields)
    : m_grid(grid), m_header(header), m_gridName(gridName), m_fields(fields) {
    for (int i = 0; i < fields.size(); ++i) {
        ColumnLayout kept;
        const int width = header->sectionSize(i);
        kept.width = width > 0 ? width : header->defaultSectionSize();
        m_kept << kept;
    }
}

QString GridLayout::keyOf(int logicalIndex) const {
    return m_gridName + '.' + m_fields[logicalIndex];
}

ColumnLayout GridLayout::column(int logicalIndex) const {
    ColumnLayout layout = m_kept[logicalIndex];
    layout.position = m_header->visualIndex(logicalIndex);
    const bool hidden = m_header->isSectionHidden(logicalIndex);
    if (!hidden)
        layout.width = m_header->sectionSize(logicalIndex);
    layout.marker = m_header->marker(logicalIndex);
    layout.visible = hidden ? 0 : 1;
    return layout;
}

void GridLayout::save(const QString& path, const QString& section) const {
    QList<ini::Entry> entries;
    for (int i = 0; i < m_fields.size(); ++i)
        entries << ini::Entry{keyOf(i), formatColumnLayout(column(i))};
    entries << ini::Entry{
        QStringLiteral("(Default)"),
        QStringLiteral("%1,1").arg(m_grid->verticalHeader()->defaultSectionSize())};
    ini::writeSection(path, section, entries);
}

void GridLayout::restore(const QString& path, const QString& section) {
    const QList<ini::Entry> entries = ini::readSection(path, section);
    QList<int> positions;
    for (int i = 0; i < m_fields.size(); ++i) {
        bool found = false;
        const QString text = ini::value(entries, keyOf(i), &found);
        if (!found) {
            positions << -1; // stays where it is
            continue;
        }
        const ColumnLayout stored = parseColumnLayout(text, column(i));
        apply(i, stored);
        positions << stored.position;
    }
    applyPositions(positions);
}

void GridLayout::apply(int logicalIndex, const ColumnLayout& layout) {
    ColumnLayout& kept = m_kept[logicalIndex];
    kept.width = layout.width;
    kept.sortIndex = layout.sortIndex;
    kept.dropDownRows = layout.dropDownRows;
    kept.dropDownWidth = layout.dropDownWidth;
    m_header->setSectionHidden(logicalIndex, layout.visible == 0);
    m_header->resizeSection(logicalIndex, layout.width);
    m_header->setMarker(logicalIndex, markerOf(layout.marker));
}

void GridLayout::applyPositions(const QList<int>& positions) {
    const int count = int(positions.size());
    for (int position = 0; position < count; ++position) {
        const int logical = int(positions.indexOf(position));
        if (logical >= 0 && m_header->count() > position)
            m_header->moveSection(m_header->visualIndex(logical), position);
    }
}

} // namespace members
