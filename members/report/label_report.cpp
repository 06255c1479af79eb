#include "members/report/label_report.h"

#include "members/report/report_font.h"

#include <memory>

namespace members::report {

namespace {

constexpr int kBoxFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

struct LabelData {
    const LabelPaper& paper;
    std::vector<MemberRow> rows;
    std::vector<LabelPlace> places;
};

void paintSheet(PagePainter& painter, const LabelData& data, int sheet) {
    const QFont font = reportFont(data.paper.fontPixels, data.paper.bold);
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
        const LabelPlace& place = data.places[i];
        if (place.sheet != sheet)
            continue;
        const MemberRow& row = data.rows[i];
        painter.text(boxOnPaper(data.paper, place.slot, data.paper.addressBox), kBoxFlags,
                     row.address, font);
        painter.text(boxOnPaper(data.paper, place.slot, data.paper.nameBox), kBoxFlags,
                     labelNameLine(row), font);
    }
}

} // namespace

QString labelNameLine(const MemberRow& row) {
    const QString gap = QStringLiteral("    ");
    return row.name + gap + row.salutation + gap + QStringLiteral("啟");
}

Report labelReport(int choice, const std::vector<MemberRow>& rows, int firstLabel) {
    const LabelPaper& paper = labelPaper(choice);
    const int count = int(rows.size());
    auto data =
        std::make_shared<LabelData>(LabelData{paper, rows, labelPlaces(paper, count, firstLabel)});
    Report report;
    report.title = QStringLiteral("標籤列印");
    report.pageSize =
        QPageSize(paper.paper, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    report.pageCount = sheetCount(paper, count, firstLabel);
    report.paintPage = [data](PagePainter& painter, int page) { paintSheet(painter, *data, page); };
    return report;
}

} // namespace members::report
