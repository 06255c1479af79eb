#include "members/movement_buttons.h"

#include "db/dataset.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace {

QPushButton* makeButton(QWidget* window, QBoxLayout* layout, const char* name,
                        QStyle::StandardPixmap picture, db::Dataset* dataset,
                        bool (db::Dataset::*move)()) {
    auto* button = new QPushButton(window);
    button->setObjectName(QLatin1String(name));
    button->setIcon(window->style()->standardIcon(picture));
    button->setAutoDefault(false);
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, dataset, [dataset, move] {
        if (dataset->isOpen())
            (dataset->*move)();
    });
    return button;
}

} // namespace

MovementButtons::MovementButtons(db::Dataset* dataset, QWidget* window, QBoxLayout* layout)
    : SbFirst(makeButton(window, layout, "SbFirst", QStyle::SP_MediaSkipBackward, dataset,
                         &db::Dataset::first)),
      SbPrevious(makeButton(window, layout, "SbPrevious", QStyle::SP_MediaSeekBackward, dataset,
                            &db::Dataset::prior)),
      SbNext(makeButton(window, layout, "SbNext", QStyle::SP_MediaSeekForward, dataset,
                        &db::Dataset::next)),
      SbLast(makeButton(window, layout, "SbLast", QStyle::SP_MediaSkipForward, dataset,
                        &db::Dataset::last)) {}

void MovementButtons::setEnabled(bool towardsFirst, bool towardsLast) {
    SbFirst->setEnabled(towardsFirst);
    SbPrevious->setEnabled(towardsFirst);
    SbNext->setEnabled(towardsLast);
    SbLast->setEnabled(towardsLast);
}
