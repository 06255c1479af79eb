#pragma once

#include "members/member_window.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class QHeaderView;
class QTableView;
class TFrmMain;

// A member window over a fresh database, with the working directory (where
// the grid layout file lives) in a temporary folder.
class MemberWindowTest : public testing::Test {
protected:
    MemberWindowTest();
    ~MemberWindowTest() override;

    // A member window of its own.
    void open();
    // 會員資料 from the main window's menu, as users open it; the main window
    // is made on first use and kept.
    void openFromMenu();
    // Whether the window opened from the menu is still open.
    bool isOpenInMenu() const;
    void closeWindow();

    template <class T> T* child(const char* name) {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void press(const char* button);
    void type(const char* editor, const QString& text);
    QWidget* focused() const;

    // Stores a member directly: id, name and further columns by name.
    static void addMember(const QString& id, const QString& name, const QVariantMap& more = {});
    // A value of the stored member with that id.
    static QVariant stored(const QString& id, const QString& column);
    static int memberCount();

    // Runs the number criterion with both bounds empty.
    void searchAll();
    void chooseCriterion(int index);
    QTableView* grid();
    QHeaderView* header();
    QStringList listedIds();
    int columnOf(const QString& field);
    void clickTitle(const QString& field);

    TempDatabase database;
    ScriptedPrompt prompt;
    QTemporaryDir folder;
    QString previousFolder;
    TFrmCust* window = nullptr;
    std::unique_ptr<TFrmMain> mainWindow;

private:
    std::unique_ptr<TFrmCust> m_ownWindow;
};
