#include "base/keyboard_navigation.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace keyboard {
namespace {

const char* const kWindowProperty = "lunmarkKeyboard";
const char* const kEscapeProperty = "lunmarkEscapeButton";

// The nearest ancestor (or the widget itself) marked by install(), within
// the widget's own top-level window; nullptr when there is none. A child
// window inside the main window's MDI area is not a window of its own, so
// asking window() would find the main window instead. A dialog opened from
// a marked window keeps its own keys.
QWidget* markedOwner(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->property(kWindowProperty).toBool())
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool isGrid(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<QAbstractItemView*>(w))
            return true;
    }
    return false;
}

QAbstractButton* escapeButton(QWidget* window) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->property(kEscapeProperty).toBool() && !button->isHidden() &&
            markedOwner(button) == window)
            return button;
    }
    return nullptr;
}

bool takesTabFocus(QWidget* widget, QWidget* window) {
    return markedOwner(widget) == window && (widget->focusPolicy() & Qt::TabFocus) &&
           widget->isVisible() && widget->isEnabled() && widget->focusProxy() == nullptr;
}

// Moves the focus along the window's tab chain, as Tab and Shift+Tab do.
void moveFocus(QWidget* from, QWidget* window, bool forward) {
    QWidget* next = from;
    do {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    } while (next != from && !takesTabFocus(next, window));
    if (next != from)
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

// The widget whose place in the tab chain counts: the combo box around its
// line editor, for example.
QWidget* focusOwner(QWidget* widget) {
    QWidget* parent = widget->parentWidget();
    return parent != nullptr && parent->focusProxy() == widget ? parent : widget;
}

bool opensList(QWidget* widget) {
    auto* combo = qobject_cast<QComboBox*>(widget->parentWidget());
    return combo != nullptr && combo->view()->isVisible();
}

// One filter on the application object, acting only inside marked windows.
class Filter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* window = markedOwner(widget);
        if (window == nullptr || !widget->hasFocus())
            return false;
        return handle(widget, window, static_cast<QKeyEvent*>(event));
    }

private:
    static bool handle(QWidget* widget, QWidget* window, QKeyEvent* key) {
        const auto modifiers =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_Escape) {
            // A window with a marked button leaves Esc to that button alone:
            // while it is disabled (say, during editing) Esc does nothing.
            QAbstractButton* button = escapeButton(window);
            if (button != nullptr && button->isEnabled())
                button->click();
            return button != nullptr;
        }
        if (modifiers != Qt::NoModifier || opensList(widget))
            return false;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (isGrid(widget)) {
            if (!enter)
                return false;
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(widget, &tab);
            return true;
        }
        if (qobject_cast<QAbstractButton*>(widget) && enter)
            return false; // Enter on a button presses it
        if (enter || key->key() == Qt::Key_Down) {
            moveFocus(focusOwner(widget), window, true);
            return true;
        }
        if (key->key() == Qt::Key_Up) {
            moveFocus(focusOwner(widget), window, false);
            return true;
        }
        return false;
    }
};

} // namespace

void install(QWidget* window) {
    static Filter* filter = nullptr;
    if (filter == nullptr) {
        filter = new Filter;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
    window->setProperty(kWindowProperty, true);
}

void setEscapeButton(QAbstractButton* button) {
    button->setProperty(kEscapeProperty, true);
}

} // namespace keyboard
