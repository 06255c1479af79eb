#include "members/report/label_paper.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace members::report {

namespace {

constexpr QSizeF kA4(210, 297);
constexpr QMarginsF kA4LabelMargins(3, 0, 1, 0);

// The papers in the order of their numbers.
const std::array<LabelPaper, 5>& papers() {
    static const std::array<LabelPaper, 5> table = {{
        {1, kA4, kA4LabelMargins, 3, 10, QSizeF(71, 29.7), QRectF(2.1, 1.1, 66.5, 12.1),
         QRectF(2.1, 13.8, 66.7, 15.1), 15, false},
        {2, kA4, kA4LabelMargins, 3, 20, QSizeF(71, 14.8), QRectF(0.8, 0.6, 68.7, 6.3),
         QRectF(0.8, 7.2, 69.0, 7.1), 15, false},
        {3, QSizeF(120, 25.4), QMarginsF(0, 0, 0, 0), 1, 1, QSizeF(120, 19.4),
         QRectF(6.1, 3.2, 113.1, 6.6), QRectF(5.8, 12.5, 109.1, 6.9), 21, false},
        {4, kA4, kA4LabelMargins, 2, 10, QSizeF(105, 29.7), QRectF(2.1, 5.6, 101.7, 5.0),
         QRectF(2.1, 13.8, 102.4, 5.0), 16, true},
        {5, kA4, kA4LabelMargins, 2, 20, QSizeF(105, 14.8), QRectF(2.1, 1.4, 101.5, 5.0),
         QRectF(2.1, 8.2, 102.0, 5.0), 16, true},
    }};
    return table;
}

} // namespace

const LabelPaper& labelPaper(int choice) {
    if (choice < kFirstLabelPaper || choice > kLastLabelPaper)
        throw std::out_of_range("label paper choice out of range");
    return papers()[std::size_t(choice - kFirstLabelPaper)];
}

int labelsPerSheet(const LabelPaper& paper) {
    return paper.across * paper.down;
}

QRectF printableArea(const LabelPaper& paper) {
    return QRectF(QPointF(0, 0), paper.paper).marginsRemoved(paper.margins);
}

QRectF labelRect(const LabelPaper& paper, int slot) {
    const int column = slot % paper.across;
    const int row = slot / paper.across;
    const QPointF origin = printableArea(paper).topLeft();
    return QRectF(origin.x() + column * paper.label.width(),
                  origin.y() + row * paper.label.height(), paper.label.width(),
                  paper.label.height());
}

QRectF boxOnPaper(const LabelPaper& paper, int slot, const QRectF& boxInLabel) {
    const QRectF box = boxInLabel.translated(labelRect(paper, slot).topLeft());
    return box.intersected(printableArea(paper));
}

int clampFirstLabel(const LabelPaper& paper, int firstLabel) {
    return std::clamp(firstLabel, 1, labelsPerSheet(paper));
}

std::vector<LabelPlace> labelPlaces(const LabelPaper& paper, int count, int firstLabel) {
    const int perSheet = labelsPerSheet(paper);
    const int skipped = clampFirstLabel(paper, firstLabel) - 1;
    std::vector<LabelPlace> places;
    places.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int position = skipped + i;
        places.push_back({position / perSheet, position % perSheet});
    }
    return places;
}

int sheetCount(const LabelPaper& paper, int count, int firstLabel) {
    if (count <= 0)
        return 1;
    const int last = clampFirstLabel(paper, firstLabel) - 1 + count - 1;
    return last / labelsPerSheet(paper) + 1;
}

} // namespace members::report
