#pragma once

class QAbstractButton;
class QWidget;

// The data-entry keyboard: with no Shift, Ctrl or Alt held, Enter and Down
// move the focus to the next control and Up to the previous one; in a grid
// Enter acts as Tab; Esc presses the window's marked cancel or exit button.
namespace keyboard {

// Turns the conventions on for a window and everything inside it.
void install(QWidget* window);

// Marks the button that Esc presses in its window.
void setEscapeButton(QAbstractButton* button);

} // namespace keyboard
