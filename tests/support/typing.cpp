#include "tests/support/typing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}
