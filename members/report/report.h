#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// A prepared report: a number of pages of one paper size, each painted in
// millimetres from the top-left corner of the paper. The same report paints
// the preview, the printer and a PDF file.
namespace members::report {

// Draws on one page in millimetres. Fonts keep their point size, so text
// prints at its true height on any device.
class PagePainter {
public:
    PagePainter(QPainter& painter, qreal dotsPerMm);

    // Text inside box; without Qt::TextDontClip it is cut at the box's edges.
    void text(const QRectF& box, int flags, const QString& text, const QFont& font);
    // A thin rule.
    void line(const QPointF& from, const QPointF& to);

private:
    QRectF toDevice(const QRectF& box) const;
    QPointF toDevice(const QPointF& point) const;

    QPainter& m_painter;
    qreal m_dotsPerMm;
};

struct Report {
    QString title; // caption of the preview, name of an exported PDF
    QPageSize pageSize;
    int pageCount = 1;
    std::function<void(PagePainter& painter, int page)> paintPage; // page from 0
};

// The whole paper, no margins: positions are measured from its corner.
QPageLayout pageLayout(const Report& report);

// Sets the device to the report's paper and paints every page. Throws
// FileError when the device cannot be painted on (a PDF file that cannot be
// written).
void render(const Report& report, QPagedPaintDevice& device);

// Writes the report to a PDF file.
void writePdf(const Report& report, const QString& path);

} // namespace members::report
