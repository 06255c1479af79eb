#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace members {

// The stored searches, to rename or delete: the list ListSearches and the
// buttons 更名 (BtnRename), 刪除 (BtnDelete) and 關閉 (BtnClose, the
// default). The built-in lists are not shown: they cannot be changed.
class SavedSearchListWindow : public QDialog {
public:
    explicit SavedSearchListWindow(QWidget* parent = nullptr);

    // Reads the list again (another desk may have changed it), keeping the
    // chosen name where it is still there.
    void reload(const QString& chosen = {});

private:
    QString chosenName() const;
    void renameChosen();
    void deleteChosen();

    QListWidget* m_list;
    QPushButton* m_rename;
    QPushButton* m_delete;
};

} // namespace members
