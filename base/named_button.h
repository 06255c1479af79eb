#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A push button named name (its objectName) that is no automatic default:
// Enter on it presses it through the keyboard filter, and Enter elsewhere in
// the window keeps moving to the next field.
QPushButton* namedButton(const char* name, const QString& caption, QWidget* parent);
