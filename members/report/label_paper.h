#pragma once

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <vector>

// The five kinds of label paper and where each label and its two text boxes
// fall on a sheet. Every length is in millimetres, measured from the top-left
// corner of the paper unless said otherwise. Pure functions, no painting.
//
// Every paper prints one-sided: printed two-sided, the second sheet of labels
// would land on the backing of the first.
namespace members::report {

struct LabelPaper {
    int choice = 0;       // 1 to 5, the number the paper dialog returns
    QSizeF paper;         // width × height
    QMarginsF margins;    // left, top, right, bottom
    int across = 1;       // labels per row
    int down = 1;         // rows of labels per sheet
    QSizeF label;         // one label
    QRectF addressBox;    // within the label
    QRectF nameBox;       // within the label
    qreal fontPixels = 0; // character height in pixels at 96 dots per inch
    bool bold = false;
};

inline constexpr int kFirstLabelPaper = 1;
inline constexpr int kLastLabelPaper = 5;

// The paper of a choice from 1 to 5; throws std::out_of_range otherwise.
const LabelPaper& labelPaper(int choice);

int labelsPerSheet(const LabelPaper& paper);

// The part of the paper inside its margins.
QRectF printableArea(const LabelPaper& paper);

// The label at position slot (from 0, row by row across the columns).
QRectF labelRect(const LabelPaper& paper, int slot);

// A text box of the label at slot, on the paper, cut to the printable area:
// the outer column of the A4 sheets reaches past the right margin, and text
// wrapped there would be lost off the edge.
QRectF boxOnPaper(const LabelPaper& paper, int slot, const QRectF& boxInLabel);

// Where one member's label goes.
struct LabelPlace {
    int sheet = 0; // from 0
    int slot = 0;  // from 0 on that sheet
    bool operator==(const LabelPlace&) const = default;
};

// The first label used on the first sheet, from 1, brought within the sheet.
int clampFirstLabel(const LabelPaper& paper, int firstLabel);

// The places of count labels in order, starting at firstLabel (from 1) of the
// first sheet; the labels before it stay blank.
std::vector<LabelPlace> labelPlaces(const LabelPaper& paper, int count, int firstLabel);

// Sheets needed for count labels starting at firstLabel; one blank sheet when
// there are none.
int sheetCount(const LabelPaper& paper, int count, int firstLabel);

} // namespace members::report
