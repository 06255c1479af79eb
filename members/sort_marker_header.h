#pragma once

#include <QHash>
#include <QHeaderView>

// A grid's column titles, each able to show a sort marker. The markers only
// show; sorting, and which columns carry a marker, is the window's business.
class SortMarkerHeader : public QHeaderView {
public:
    // The numbers are those of the grid layout file.
    enum Marker { NoMarker = 0, Descending = 1, Ascending = 2 };

    explicit SortMarkerHeader(QWidget* parent = nullptr);

    Marker marker(int logicalIndex) const { return m_markers.value(logicalIndex, NoMarker); }
    void setMarker(int logicalIndex, Marker marker);
    void clearMarkers();

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    QHash<int, Marker> m_markers;
};
