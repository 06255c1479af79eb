#pragma once

#include <QComboBox>

// An editable combo box that announces its drop-down just before the list
// opens, so that the list can be filled fresh each time.
class UserComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit UserComboBox(QWidget* parent = nullptr);
    void showPopup() override;

    // Replaces the entries, keeping the typed text.
    void replaceItems(const QStringList& items);

signals:
    void aboutToShowPopup();
};
