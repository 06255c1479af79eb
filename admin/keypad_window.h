#pragma once

#include <QDialog>
#include <QPointer>

class QAbstractButton;
class QLineEdit;
class QPushButton;

// A small always-on-top keypad of large buttons that types digits into a
// text field of another window and presses that window's OK button.
class TFrmInputString : public QDialog {
public:
    explicit TFrmInputString(QWidget* parent = nullptr);

    // Finds the keypad (or makes it), places it at topLeft, aims it at the
    // field and the OK button, and shows it without making it modal.
    static TFrmInputString* open(QLineEdit* target, QAbstractButton* okButton, QWidget* owner,
                                 const QPoint& topLeft);

    // Hides the keypad if one exists.
    static void closeIfOpen();

    // The keypad of this run, or nullptr.
    static TFrmInputString* find();

    QPointer<QLineEdit> TargetEdit;
    QPointer<QAbstractButton> OkButton;

private:
    QPushButton* addKey(const char* name, const QString& face);
    void pressOk();
};
