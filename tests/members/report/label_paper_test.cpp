#include "members/report/label_paper.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace members::report;

namespace {

constexpr qreal kTolerance = 1e-9;

void expectRect(const QRectF& actual, const QRectF& expected, const char* what) {
    EXPECT_NEAR(actual.x(), expected.x(), kTolerance) << what;
    EXPECT_NEAR(actual.y(), expected.y(), kTolerance) << what;
    EXPECT_NEAR(actual.width(), expected.width(), kTolerance) << what;
    EXPECT_NEAR(actual.height(), expected.height(), kTolerance) << what;
}

TEST(LabelPaper, LabelsPerSheetOfEachPaper) {
    const std::pair<int, int> cases[] = {{1, 30}, {2, 60}, {3, 1}, {4, 20}, {5, 40}};
    for (const auto& [choice, labels] : cases)
        EXPECT_EQ(labelsPerSheet(labelPaper(choice)), labels) << choice;
}

TEST(LabelPaper, ChoicesOutsideOneToFiveAreRefused) {
    for (int choice : {-1, 0, 6})
        EXPECT_THROW(labelPaper(choice), std::out_of_range) << choice;
}

TEST(LabelPaper, PaperSizes) {
    const std::pair<int, QSizeF> cases[] = {{1, QSizeF(210, 297)},
                                            {2, QSizeF(210, 297)},
                                            {3, QSizeF(120, 25.4)},
                                            {4, QSizeF(210, 297)},
                                            {5, QSizeF(210, 297)}};
    for (const auto& [choice, size] : cases)
        EXPECT_EQ(labelPaper(choice).paper, size) << choice;
}

// Labels run across the columns first, from the left margin of 3 on A4.
TEST(LabelPaper, LabelPositions) {
    struct Case {
        int choice;
        int slot;
        QRectF label;
    };
    const Case cases[] = {
        {1, 0, QRectF(3, 0, 71, 29.7)},         {1, 1, QRectF(74, 0, 71, 29.7)},
        {1, 2, QRectF(145, 0, 71, 29.7)},       {1, 3, QRectF(3, 29.7, 71, 29.7)},
        {1, 29, QRectF(145, 267.3, 71, 29.7)},  {2, 4, QRectF(74, 14.8, 71, 14.8)},
        {2, 59, QRectF(145, 281.2, 71, 14.8)},  {3, 0, QRectF(0, 0, 120, 19.4)},
        {4, 1, QRectF(108, 0, 105, 29.7)},      {4, 2, QRectF(3, 29.7, 105, 29.7)},
        {4, 19, QRectF(108, 267.3, 105, 29.7)}, {5, 39, QRectF(108, 281.2, 105, 14.8)},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.choice) + "/" + std::to_string(c.slot);
        expectRect(labelRect(labelPaper(c.choice), c.slot), c.label, what.c_str());
    }
}

// The boxes stand within their label; in the outer column of the A4 sheets
// they end at the right margin (1 from the edge) instead of off the paper.
TEST(LabelPaper, TextBoxesOnThePaper) {
    struct Case {
        int choice;
        int slot;
        bool name;
        QRectF box;
    };
    const Case cases[] = {
        {1, 0, false, QRectF(5.1, 1.1, 66.5, 12.1)},   {1, 0, true, QRectF(5.1, 13.8, 66.7, 15.1)},
        {1, 2, false, QRectF(147.1, 1.1, 61.9, 12.1)}, {1, 4, true, QRectF(76.1, 43.5, 66.7, 15.1)},
        {2, 3, true, QRectF(3.8, 22.0, 69.0, 7.1)},    {3, 0, false, QRectF(6.1, 3.2, 113.1, 6.6)},
        {3, 0, true, QRectF(5.8, 12.5, 109.1, 6.9)},   {4, 0, false, QRectF(5.1, 5.6, 101.7, 5.0)},
        {4, 1, true, QRectF(110.1, 13.8, 98.9, 5.0)},  {5, 2, false, QRectF(5.1, 16.2, 101.5, 5.0)},
    };
    for (const Case& c : cases) {
        const LabelPaper& paper = labelPaper(c.choice);
        const QRectF inLabel = c.name ? paper.nameBox : paper.addressBox;
        const std::string what = std::to_string(c.choice) + "/" + std::to_string(c.slot);
        expectRect(boxOnPaper(paper, c.slot, inLabel), c.box, what.c_str());
    }
}

TEST(LabelPaper, FontsOfEachPaper) {
    const std::tuple<int, qreal, bool> cases[] = {
        {1, 15, false}, {2, 15, false}, {3, 21, false}, {4, 16, true}, {5, 16, true}};
    for (const auto& [choice, pixels, bold] : cases) {
        EXPECT_EQ(labelPaper(choice).fontPixels, pixels) << choice;
        EXPECT_EQ(labelPaper(choice).bold, bold) << choice;
    }
}

TEST(LabelPaper, PlacesStartAtTheFirstLabelAndRunOntoNewSheets) {
    struct Case {
        int choice;
        int count;
        int firstLabel;
        std::vector<LabelPlace> places;
    };
    const Case cases[] = {
        {4, 3, 1, {{0, 0}, {0, 1}, {0, 2}}},
        {4, 3, 19, {{0, 18}, {0, 19}, {1, 0}}},
        {2, 2, 60, {{0, 59}, {1, 0}}},
        {3, 3, 1, {{0, 0}, {1, 0}, {2, 0}}},
        {3, 2, 5, {{0, 0}, {1, 0}}}, // one label a sheet: the start is always 1
        {1, 2, 0, {{0, 0}, {0, 1}}}, // below 1 starts at 1
        {1, 1, 31, {{0, 29}}},       // past the sheet starts at its last label
        {5, 0, 7, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(labelPlaces(labelPaper(c.choice), c.count, c.firstLabel), c.places)
            << c.choice << " " << c.count << " " << c.firstLabel;
    }
}

TEST(LabelPaper, SheetCount) {
    struct Case {
        int choice;
        int count;
        int firstLabel;
        int sheets;
    };
    const Case cases[] = {
        {4, 0, 1, 1},   {4, 1, 1, 1},  {4, 20, 1, 1}, {4, 21, 1, 2}, {4, 20, 2, 2},
        {4, 19, 2, 1},  {2, 60, 1, 1}, {2, 61, 1, 2}, {3, 5, 1, 5},  {3, 5, 9, 5},
        {1, 30, 30, 2}, {1, 1, 30, 1}, {5, 81, 1, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sheetCount(labelPaper(c.choice), c.count, c.firstLabel), c.sheets)
            << c.choice << " " << c.count << " " << c.firstLabel;
    }
}

} // namespace
