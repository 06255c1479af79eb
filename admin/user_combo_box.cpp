#include "admin/user_combo_box.h"

UserComboBox::UserComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: with users A10 and A1, typing A1 must leave A1.
    setCompleter(nullptr);
}

void UserComboBox::showPopup() {
    emit aboutToShowPopup();
    QComboBox::showPopup();
}

void UserComboBox::replaceItems(const QStringList& items) {
    const QString typed = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(typed);
}
