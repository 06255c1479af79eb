#pragma once

class QAbstractButton;
class QKeySequence;
class QWidget;

// The data-entry keyboard: with no Shift, Ctrl or Alt held, Enter and Down
// move the focus to the next control and Up to the previous one; in a grid
// Enter acts as Tab; Esc presses the window's marked cancel or exit button.
// In every window Enter on a focused button presses it and on a check box
// toggles it.
namespace keyboard {

// Turns on Enter for buttons everywhere; install() does it as well.
void installFilter();

// Turns the conventions on for a window and everything inside it.
void install(QWidget* window);

// Marks the exit button that Esc presses in its window.
void setEscapeButton(QAbstractButton* button);

// Marks a cancel button: while it is enabled (during editing) Esc presses it
// rather than the exit button. Its tooltip names the key.
void setCancelButton(QAbstractButton* button);

// Lets keys press the button while its window (or child window) is the
// active one and the button is enabled, and names the keys in its tooltip.
// The keys do exactly what a click does, questions included.
void addShortcut(QAbstractButton* button, const QKeySequence& keys);

} // namespace keyboard
