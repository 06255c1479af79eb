#pragma once

#include "members/saved_search.h"

#include <QWidget>
#include <functional>

class DropDownBox;
class QPushButton;

namespace members {

// The saved searches beside a window's criteria: the 常用查詢 drop-down
// (ComboSaved), which runs the search chosen from it, 儲存查詢
// (BtnSaveSearch), which stores the window's criteria under a name, and
// 管理查詢 (BtnSearches), the list to rename and delete them. The member
// window and the SMS recipient search both show it.
class SavedSearchBar : public QWidget {
public:
    struct Hooks {
        // The window's criteria, sort and member choice, to store.
        std::function<saved::SavedSearch()> current;
        // Lists what the search finds, as the window's own search would.
        std::function<void(const saved::SavedSearch&)> run;
    };

    SavedSearchBar(Hooks hooks, QWidget* parent = nullptr);

    // Reads the names again; the list also does so before it drops down,
    // so a search another desk stored is there.
    void reload();

    // Runs the search of that name as choosing it from the list does; false
    // when there is none (another desk may have deleted it).
    bool runNamed(const QString& name);

    DropDownBox* searchBox() const { return m_box; }

protected:
    // The list is read as the window shows, not when it is made.
    void showEvent(QShowEvent* event) override;

private:
    void saveCurrent();
    void manage();

    Hooks m_hooks;
    DropDownBox* m_box;
};

} // namespace members
