#include "base/keyboard_navigation.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QShortcut>
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

enum EscapeRole { NotForEscape = 0, ExitOnEscape = 1, CancelOnEscape = 2 };

// The window's buttons marked for Esc, shown ones only, cancel buttons first.
QList<QAbstractButton*> escapeButtons(QWidget* window) {
    QList<QAbstractButton*> marked;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const int role = button->property(kEscapeProperty).toInt();
        if (role == NotForEscape || button->isHidden() || markedOwner(button) != window)
            continue;
        if (role == CancelOnEscape)
            marked.prepend(button);
        else
            marked.append(button);
    }
    return marked;
}

// The widget a button's shortcut lives on: its window, or the outermost
// widget inside a child window's frame.
QWidget* shortcutOwner(QWidget* button) {
    QWidget* owner = button;
    while (!owner->isWindow() && owner->parentWidget() != nullptr &&
           owner->parentWidget()->windowType() != Qt::SubWindow)
        owner = owner->parentWidget();
    return owner;
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

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// Enter on a focused button presses it, on a check box toggles it, in every
// window: a button made without the dialog's default behaviour, or one
// outside any dialog, would otherwise ignore the key.
bool pressesButton(QWidget* widget, const QKeyEvent* key) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (button == nullptr || !isEnter(key) || key->isAutoRepeat() || !button->isEnabled() ||
        (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return false;
    button->click();
    return true;
}

// One filter on the application object. Apart from Enter on buttons it acts
// only inside marked windows.
class Filter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->hasFocus())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (pressesButton(widget, key))
            return true;
        QWidget* window = markedOwner(widget);
        if (window == nullptr)
            return false;
        return handle(widget, window, key);
    }

private:
    static bool handle(QWidget* widget, QWidget* window, QKeyEvent* key) {
        const auto modifiers =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_Escape) {
            // A window with marked buttons leaves Esc to them alone: it
            // presses the one enabled now (cancel while editing, exit
            // otherwise), and does nothing while none is.
            const QList<QAbstractButton*> marked = escapeButtons(window);
            for (QAbstractButton* button : marked) {
                if (button->isEnabled()) {
                    button->click();
                    break;
                }
            }
            return !marked.isEmpty();
        }
        if (modifiers != Qt::NoModifier || opensList(widget))
            return false;
        const bool enter = isEnter(key);
        if (isGrid(widget)) {
            if (!enter)
                return false;
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(widget, &tab);
            return true;
        }
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

void installFilter() {
    static Filter* filter = nullptr;
    if (filter == nullptr) {
        filter = new Filter;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
}

void install(QWidget* window) {
    installFilter();
    window->setProperty(kWindowProperty, true);
}

void setEscapeButton(QAbstractButton* button) {
    button->setProperty(kEscapeProperty, ExitOnEscape);
}

void setCancelButton(QAbstractButton* button) {
    button->setProperty(kEscapeProperty, CancelOnEscape);
    const QString caption = button->text().remove(QLatin1Char('&'));
    button->setToolTip(QStringLiteral("%1 (Esc)").arg(caption));
}

void addShortcut(QAbstractButton* button, const QKeySequence& keys) {
    auto* shortcut = new QShortcut(keys, shortcutOwner(button));
    // A button on a page not shown now (another tab) still answers.
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && !button->isHidden())
            button->click();
    });
    const QString caption = button->text().remove(QLatin1Char('&'));
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(caption, keys.toString(QKeySequence::NativeText)));
}

} // namespace keyboard
