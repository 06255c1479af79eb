#include "members/drop_down_box.h"

#include "db/field_binder.h"

DropDownBox::DropDownBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
}

void DropDownBox::setPlain(bool on) {
    m_plain = on;
    if (on)
        setList({});
    setStyleSheet(on ? QStringLiteral("QComboBox::drop-down { width: 0px; border: none; }"
                                      "QComboBox::down-arrow { image: none; }")
                     : QString());
}

void DropDownBox::setList(const QStringList& items) {
    db::FieldBinder::replaceItems(this, items);
}

void DropDownBox::showPopup() {
    if (m_plain)
        return;
    if (m_fill)
        m_fill();
    QComboBox::showPopup();
}
