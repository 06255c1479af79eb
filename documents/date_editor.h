#pragma once

#include <QDate>
#include <QDateEdit>

// A date editor that may also be empty, as a date field without a value is.
// Empty is the lowest date the editor takes, shown as a blank. Stepping or
// typing a digit into an empty editor starts from today; Delete or Backspace
// with the whole text selected empties it again.
class DateEditor : public QDateEdit {
public:
    explicit DateEditor(QWidget* parent = nullptr);

    bool isEmpty() const;
    void setEmpty();
    // The date shown; a null date when empty.
    QDate value() const;
    // Shows the date; a null or invalid date empties the editor.
    void setValue(const QDate& date);

    void stepBy(int steps) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void startFromToday();
};
