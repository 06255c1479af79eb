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
    // The box itself is drawn from the sheet too: a style draws the button
    // area of an editable box from its own metrics otherwise, an empty grey
    // button after the text.
    setStyleSheet(on ? QStringLiteral("QComboBox { border: 1px solid palette(mid); "
                                      "border-radius: 2px; background: palette(base); "
                                      "padding: 1px 2px; }"
                                      "QComboBox::drop-down { width: 0px; border: none; }"
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
