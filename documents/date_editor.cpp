#include "documents/date_editor.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Below every date a document can carry; it stands for "no date".
const QDate kEmptyDate(1752, 9, 14);

} // namespace

DateEditor::DateEditor(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    setCalendarPopup(true);
    setMinimumDate(kEmptyDate);
    setSpecialValueText(QStringLiteral(" "));
    setEmpty();
}

bool DateEditor::isEmpty() const {
    return date() == kEmptyDate;
}

void DateEditor::setEmpty() {
    setDate(kEmptyDate);
}

QDate DateEditor::value() const {
    return isEmpty() ? QDate() : date();
}

void DateEditor::setValue(const QDate& day) {
    if (day.isValid() && day > kEmptyDate)
        setDate(day);
    else
        setEmpty();
}

void DateEditor::stepBy(int steps) {
    if (isEmpty())
        startFromToday();
    else
        QDateEdit::stepBy(steps);
}

void DateEditor::keyPressEvent(QKeyEvent* event) {
    const bool erase = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
    if (erase && !isEmpty() && lineEdit()->selectedText() == lineEdit()->text()) {
        setEmpty();
        event->accept();
        return;
    }
    if (isEmpty() && !event->text().isEmpty() && event->text().at(0).isDigit()) {
        startFromToday();
        setSelectedSection(QDateTimeEdit::YearSection);
    }
    QDateEdit::keyPressEvent(event);
}

// The calendar of an empty editor opens on the current month, not on the
// blank's date.
void DateEditor::mousePressEvent(QMouseEvent* event) {
    QDateEdit::mousePressEvent(event);
    if (isEmpty() && calendarWidget() != nullptr) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
}

void DateEditor::startFromToday() {
    setDate(QDate::currentDate());
}
