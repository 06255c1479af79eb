#include "db/record_buttons.h"

#include "base/keyboard_navigation.h"
#include "base/window_opener.h"
#include "db/dataset.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>

RecordButtons::RecordButtons(db::Dataset* dataset, QWidget* window, int buttons)
    : QObject(window), m_window(window), m_dataset(dataset), m_layout(new QHBoxLayout) {
    if (buttons & Add)
        SbAdd = make(window, "SbAdd", QStringLiteral("新增"));
    if (buttons & Edit)
        SbEdit = make(window, "SbEdit", QStringLiteral("修改"));
    if (buttons & Delete)
        SbDel = make(window, "SbDel", QStringLiteral("刪除"));
    if (buttons & Save)
        SbSave = make(window, "SbSave", QStringLiteral("保存"));
    if (buttons & Cancel)
        SbCancel = make(window, "SbCancel", QStringLiteral("取消"));
    if (buttons & Exit) {
        SbExit = make(window, "SbExit", QStringLiteral("離開"));
        keyboard::setEscapeButton(SbExit);
    }
    // Ctrl+N, Ctrl+S and Esc press the buttons themselves, so they ask what
    // the buttons ask.
    if (SbAdd != nullptr)
        keyboard::addShortcut(SbAdd, QKeySequence(Qt::CTRL | Qt::Key_N));
    if (SbSave != nullptr)
        keyboard::addShortcut(SbSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    if (SbCancel != nullptr)
        keyboard::setCancelButton(SbCancel);
    m_layout->addStretch();
    connect(dataset, &db::Dataset::stateChanged, this, &RecordButtons::update);
    update();
}

QPushButton* RecordButtons::make(QWidget* window, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QLatin1String(name));
    // Enter in an editor moves on; it never presses a button by default.
    button->setAutoDefault(false);
    m_layout->addWidget(button);
    return button;
}

void RecordButtons::connectActions(Actions actions) {
    db::Dataset* dataset = m_dataset;
    connectButton(SbAdd, std::move(actions.add), [dataset] { dataset->append(); });
    connectButton(SbEdit, std::move(actions.edit), [dataset] { dataset->edit(); });
    connectButton(SbDel, std::move(actions.remove), [dataset] { dataset->remove(); });
    connectButton(SbSave, std::move(actions.save), [dataset] { dataset->post(); });
    connectButton(SbCancel, std::move(actions.cancel), [dataset] { dataset->cancel(); });
    connectButton(SbExit, std::move(actions.exit),
                  [window = m_window] { windows::closeWindow(window); });
}

void RecordButtons::connectButton(QPushButton* button, std::function<void()> action,
                                  std::function<void()> fallback) {
    if (button != nullptr)
        connect(button, &QPushButton::clicked, this,
                action ? std::move(action) : std::move(fallback));
}

void RecordButtons::update() {
    const bool editing = m_dataset->isEditing();
    for (QPushButton* button : {SbAdd, SbEdit, SbDel, SbExit}) {
        if (button != nullptr)
            button->setEnabled(!editing);
    }
    for (QPushButton* button : {SbSave, SbCancel}) {
        if (button != nullptr)
            button->setEnabled(editing);
    }
}
