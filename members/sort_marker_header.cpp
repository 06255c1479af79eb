#include "members/sort_marker_header.h"

#include <QStyleOptionHeader>

SortMarkerHeader::SortMarkerHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
}

void SortMarkerHeader::setMarker(int logicalIndex, Marker marker) {
    if (marker == NoMarker)
        m_markers.remove(logicalIndex);
    else
        m_markers.insert(logicalIndex, marker);
    updateSection(logicalIndex);
}

void SortMarkerHeader::clearMarkers() {
    const QList<int> marked = m_markers.keys();
    m_markers.clear();
    for (int logicalIndex : marked)
        updateSection(logicalIndex);
}

void SortMarkerHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    switch (marker(logicalIndex)) {
    case Descending:
        option->sortIndicator = QStyleOptionHeader::SortDown;
        break;
    case Ascending:
        option->sortIndicator = QStyleOptionHeader::SortUp;
        break;
    case NoMarker:
        break;
    }
}
