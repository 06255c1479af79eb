#pragma once

class QLineEdit;

// Shows typed password characters as '*', the one echo every password box
// of the program uses.
void hidePasswordTyping(QLineEdit* editor);
