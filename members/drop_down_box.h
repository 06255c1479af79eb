#pragma once

#include <QComboBox>
#include <functional>

// An editable combo box whose list is filled just before it drops down, and
// which can also act as a plain text box without a list.
class DropDownBox : public QComboBox {
public:
    explicit DropDownBox(QWidget* parent = nullptr);

    // Run each time the list is about to drop down.
    void setBeforeDropDown(std::function<void()> fill) { m_fill = std::move(fill); }

    // A plain text box: no list and no drop-down button.
    void setPlain(bool on);
    bool isPlain() const { return m_plain; }

    // Replaces the list; the typed text stays as it is, and nothing is
    // announced as changed.
    void setList(const QStringList& items);

    void showPopup() override;

private:
    std::function<void()> m_fill;
    bool m_plain = false;
};
