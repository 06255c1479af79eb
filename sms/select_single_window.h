#pragma once

#include <QDateTime>
#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// The custom-recipient window: a typed name and telephone become a line of
// the current send window's recipient list and a new member. It stays open
// for the next person until "關閉".
class TFrmSelectSingle : public QDialog {
public:
    explicit TFrmSelectSingle(QWidget* parent = nullptr);

    // The clock that numbers the new members; the local time unless a test
    // sets another.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void add();

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
};
