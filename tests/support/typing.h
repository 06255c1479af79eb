#pragma once

#include <QString>

class QWidget;

// Types text into a widget one character at a time as key presses carrying
// the character, so validators and limits apply as they do for a user. Works
// for Chinese text, which QTest::keyClicks cannot send.
void typeText(QWidget* widget, const QString& text);
