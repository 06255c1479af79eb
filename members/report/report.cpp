#include "members/report/report.h"

#include "base/errors.h"

#include <QPainter>
#include <QPrinter>

namespace members::report {

namespace {

constexpr qreal kMmPerInch = 25.4;
constexpr qreal kRuleWidth = 0.2; // millimetres

} // namespace

PagePainter::PagePainter(QPainter& painter, qreal dotsPerMm)
    : m_painter(painter), m_dotsPerMm(dotsPerMm) {}

QRectF PagePainter::toDevice(const QRectF& box) const {
    return QRectF(box.x() * m_dotsPerMm, box.y() * m_dotsPerMm, box.width() * m_dotsPerMm,
                  box.height() * m_dotsPerMm);
}

QPointF PagePainter::toDevice(const QPointF& point) const {
    return point * m_dotsPerMm;
}

void PagePainter::text(const QRectF& box, int flags, const QString& text, const QFont& font) {
    m_painter.setFont(font);
    m_painter.drawText(toDevice(box), flags, text);
}

void PagePainter::line(const QPointF& from, const QPointF& to) {
    m_painter.setPen(QPen(Qt::black, kRuleWidth * m_dotsPerMm));
    m_painter.drawLine(toDevice(from), toDevice(to));
}

QPageLayout pageLayout(const Report& report) {
    QPageLayout layout(report.pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void render(const Report& report, QPagedPaintDevice& device) {
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setFullPage(true);
    device.setPageLayout(pageLayout(report));
    QPainter painter;
    if (!painter.begin(&device))
        throw FileError(QStringLiteral("無法輸出報表 %1").arg(report.title));
    PagePainter page(painter, device.logicalDpiX() / kMmPerInch);
    for (int i = 0; i < report.pageCount; ++i) {
        if (i > 0)
            device.newPage();
        report.paintPage(page, i);
    }
    painter.end();
}

void writePdf(const Report& report, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(report.title);
    printer.setCreator(QStringLiteral("Lunmark"));
    try {
        render(report, printer);
    } catch (const FileError&) {
        throw FileError(QStringLiteral("無法寫入檔案 %1").arg(path));
    }
}

} // namespace members::report
