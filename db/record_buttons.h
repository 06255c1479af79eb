#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAbstractButton;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace db {
class Dataset;
}

// The record buttons of a data window: add, edit, delete, save, cancel and
// exit. Save and cancel are enabled exactly while the dataset edits or
// inserts a row, the others exactly while it does not. Esc presses cancel
// while editing and exit otherwise; Ctrl+N presses add and Ctrl+S save.
class RecordButtons : public QObject {
public:
    enum Button { Add = 1, Edit = 2, Delete = 4, Save = 8, Cancel = 16, Exit = 32, All = 63 };

    // Makes the chosen buttons (named SbAdd, SbEdit, SbDel, SbSave, SbCancel,
    // SbExit, with their usual captions) as children of window.
    RecordButtons(db::Dataset* dataset, QWidget* window, int buttons = All);

    QPushButton* SbAdd = nullptr;
    QPushButton* SbEdit = nullptr;
    QPushButton* SbDel = nullptr;
    QPushButton* SbSave = nullptr;
    QPushButton* SbCancel = nullptr;
    QPushButton* SbExit = nullptr;

    // What the buttons do. An empty action leaves the dataset to it: add
    // appends, edit edits, delete removes, save posts and cancel cancels;
    // exit closes the window (accept, reject or a child window's frame).
    struct Actions {
        std::function<void()> add = {};
        std::function<void()> edit = {};
        std::function<void()> remove = {};
        std::function<void()> save = {};
        std::function<void()> cancel = {};
        std::function<void()> exit = {};
    };

    // Connects each button made to its action.
    void connectActions(Actions actions);

    // A row of the buttons, for the window's layout.
    QHBoxLayout* layout() const { return m_layout; }

    // Sets the enabled states from the dataset's state.
    void update();

private:
    QPushButton* make(QWidget* window, const char* name, const QString& caption);

    void connectButton(QPushButton* button, std::function<void()> action,
                       std::function<void()> fallback);

    QWidget* m_window;
    db::Dataset* m_dataset;
    QHBoxLayout* m_layout;
};
