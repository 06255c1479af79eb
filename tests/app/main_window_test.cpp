#include "app/main_window.h"
#include "db/connection.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

class MainWindowTest : public testing::Test {
protected:
    QAction* item(const char* name) {
        auto* action = window.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    qsizetype children() { return window.mdiArea()->subWindowList().size(); }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
};

struct MenuEntry {
    const char* name;
    const char* caption;
    bool visible;
};

TEST_F(MainWindowTest, MenuHasItsItemsInOrder) {
    const MenuEntry top[] = {{"N1", "文本導入 ", false}, {"Excel1", "Excel 導入", false},
                             {"N2", "基本資料", true},   {"N11", "簡訊作業", true},
                             {"N5", "檔案管理", false},  {"N4", "系統維護", true},
                             {"N6", "離開", true},       {"N13", "說明", true}};
    const QList<QAction*> actions = window.menuBar()->actions();
    ASSERT_EQ(actions.size(), std::size(top));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i]->objectName(), QLatin1String(top[i].name));
        EXPECT_EQ(actions[i]->text(), QString::fromUtf8(top[i].caption));
        EXPECT_EQ(actions[i]->isVisible(), top[i].visible) << top[i].name;
        if (top[i].visible) { // Qt reports hidden actions as disabled
            EXPECT_TRUE(actions[i]->isEnabled()) << top[i].name;
        }
    }
    const std::pair<const char*, std::vector<MenuEntry>> submenus[] = {
        {"N2",
         {{"N7", "會員資料", true},
          {"N8", "類別建檔", true},
          {"N9", "稱謂建檔", true},
          {"N3", "常用片語", true},
          {"CustHistory", "修改紀錄", true}}},
        {"N11", {{"N14", "發送簡訊", true}, {"N15", "簡訊註冊", true}}},
        {"N5", {{"Office1", "Office檔案管理", true}}},
        {"N4",
         {{"N10", "系統參數設定", true},
          {"N12", "用戶資料管理", true},
          {"N17", "修改密碼", true},
          {"N16", "客戶資料導入", true},
          {"UndoImport", "復原上次導入", true},
          {"RestoreBackup", "還原備份", true}}},
        {"N13", {{"HelpGuide", "使用說明", true}, {"About", "關於", true}}}};
    for (const auto& [menuName, entries] : submenus) {
        const QList<QAction*> items = item(menuName)->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(entries.size())) << menuName;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(items[i]->objectName(), QLatin1String(entries[i].name));
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(entries[i].caption));
            EXPECT_TRUE(items[i]->isVisible());
        }
    }
}

TEST_F(MainWindowTest, EmptySettingsGiveEmptyBrackets) {
    window.applySystemSet();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("會員管理()"));
    EXPECT_EQ(item("N7")->text(), QStringLiteral("會員資料")); // never an empty item
}

TEST_F(MainWindowTest, CaptionTrimsTheNameButTheMembersItemKeepsItsSpaces) {
    db::run(QStringLiteral("insert into SystemSet(Name, Cust) values(:n, :c)"),
            {{QStringLiteral("n"), QStringLiteral("  ABC\t ")},
             {QStringLiteral("c"), QStringLiteral(" 客戶 ")}});
    window.applySystemSet();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("會員管理(ABC)"));
    EXPECT_EQ(item("N7")->text(), QStringLiteral(" 客戶 "));
}

TEST_F(MainWindowTest, ChildWindowsAreSingleInstance) {
    item("N7")->trigger();
    ASSERT_EQ(children(), 1);
    QPointer<QMdiSubWindow> first = window.mdiArea()->subWindowList().first();
    item("N7")->trigger();
    EXPECT_EQ(children(), 1);
    item("N8")->trigger();
    EXPECT_EQ(children(), 2);
    EXPECT_EQ(window.mdiArea()->activeSubWindow()->widget()->objectName(),
              QStringLiteral("FrmKind"));
    item("N7")->trigger();
    EXPECT_EQ(window.mdiArea()->activeSubWindow(), first.data());

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    item("N7")->trigger();
    EXPECT_EQ(children(), 2);
}

TEST_F(MainWindowTest, ModalWindowsAreNewEachTime) {
    QList<QPointer<QWidget>> opened;
    for (int i = 0; i < 2; ++i) {
        whenModalShows([&](QWidget* modal) { opened.append(modal); });
        item("N12")->trigger();
    }
    ASSERT_EQ(opened.size(), 2);
    // Each was freed when it closed, so the second was a fresh window.
    EXPECT_TRUE(opened[0].isNull());
    EXPECT_TRUE(opened[1].isNull());
}

TEST_F(MainWindowTest, AboutWindowShowsItsCaption) {
    QString caption;
    whenModalShows([&](QWidget* modal) { caption = modal->windowTitle(); });
    item("About")->trigger();
    EXPECT_EQ(caption, QStringLiteral("關於"));
}

TEST_F(MainWindowTest, ExitIsRefusedWhileAChildIsOpenAndThenAsks) {
    window.show();
    item("N10")->trigger();
    prompt.expect(QStringLiteral("請先關閉所有打開的視窗後﹐再退出系統"));
    item("N6")->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Warning);

    window.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    prompt.expect(QStringLiteral("要退出系統嗎﹖"), false);
    item("N6")->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));

    prompt.expect(QStringLiteral("要退出系統嗎﹖"), true);
    item("N6")->trigger();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
