#pragma once

#include <QDialog>
#include <QWidget>

// Stands in for a window that this version does not have yet: it says so and
// offers to close. Child windows and modal windows each have one.
class PlaceholderWindow : public QWidget {
public:
    explicit PlaceholderWindow(const QString& caption, QWidget* parent = nullptr);
};

class PlaceholderDialog : public QDialog {
public:
    explicit PlaceholderDialog(const QString& caption, QWidget* parent = nullptr);
};

// The text both show.
QString placeholderText(const QString& caption);
