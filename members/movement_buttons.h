#pragma once

class QBoxLayout;
class QPushButton;
class QWidget;

namespace db {
class Dataset;
}

// The four picture buttons that move a data window's current row: SbFirst,
// SbPrevious, SbNext and SbLast. They move the dataset only while it is open.
struct MovementButtons {
    MovementButtons(db::Dataset* dataset, QWidget* window, QBoxLayout* layout);

    // Enables the first two and the last two buttons.
    void setEnabled(bool towardsFirst, bool towardsLast);

    QPushButton* SbFirst;
    QPushButton* SbPrevious;
    QPushButton* SbNext;
    QPushButton* SbLast;
};
