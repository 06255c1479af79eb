#include "app/main_window.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The child windows as users reach them: through the main window's menu,
// inside its MDI area, where window() of any control is the main window.
struct Child {
    const char* item;   // the menu item
    const char* start;  // the button that starts editing
    const char* editor; // the editor it puts the focus on
};

class KeyboardInMdiTest : public testing::TestWithParam<Child> {
protected:
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
        auto* item = window.findChild<QAction*>(QLatin1String(GetParam().item));
        ASSERT_NE(item, nullptr);
        item->trigger();
        ASSERT_NE(window.mdiArea()->activeSubWindow(), nullptr);
        child = window.mdiArea()->activeSubWindow()->widget();
    }

    void TearDown() override {
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class T> T* find(const char* name) {
        T* widget = child->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
    QWidget* child = nullptr;
};

TEST_P(KeyboardInMdiTest, EnterAndDownMoveOnUpMovesBack) {
    find<QAbstractButton>(GetParam().start)->click();
    auto* editor = find<QWidget>(GetParam().editor);
    ASSERT_TRUE(editor->isEnabled());
    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Down}) {
        QTest::keyClick(editor, key);
        QWidget* next = QApplication::focusWidget();
        ASSERT_NE(next, nullptr);
        EXPECT_NE(next, editor) << key;
        EXPECT_TRUE(child->isAncestorOf(next)) << next->objectName().toStdString();
        QTest::keyClick(next, Qt::Key_Up);
        EXPECT_EQ(QApplication::focusWidget(), editor) << key;
    }
    // Leave editing so the child may close.
    prompt.expect(QStringLiteral("要取消嗎﹖"));
    find<QAbstractButton>("SbCancel")->click();
}

TEST_P(KeyboardInMdiTest, EscPressesExitAndClosesTheChild) {
    QPointer<QMdiSubWindow> sub = window.mdiArea()->activeSubWindow();
    QWidget* focus = find<QWidget>("SbExit");
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sub.isNull());
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
}

// 會員資料, 類別建檔, 稱謂建檔, 系統參數設定.
INSTANTIATE_TEST_SUITE_P(
    ChildWindows, KeyboardInMdiTest,
    testing::Values(Child{"N7", "SbAdd", "DBEdit1"}, Child{"N8", "SbAdd", "DBEdit1"},
                    Child{"N9", "SbAdd", "DBEdit1"}, Child{"N10", "SbEdit", "DBEdit7"}),
    [](const testing::TestParamInfo<Child>& info) { return std::string(info.param.item); });

// The settings window's editors follow each other in their order.
TEST(KeyboardInMdiEditing, EnterMovesToTheNextSettingsEditor) {
    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
    window.show();
    QApplication::setActiveWindow(&window);
    window.findChild<QAction*>(QStringLiteral("N10"))->trigger();
    QWidget* child = window.mdiArea()->activeSubWindow()->widget();
    child->findChild<QAbstractButton*>(QStringLiteral("SbEdit"))->click();
    auto* title = child->findChild<QLineEdit*>(QStringLiteral("DBEdit7"));
    ASSERT_NE(title, nullptr);
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Return);
    auto* next = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->objectName(), QStringLiteral("DBEdit1"));
    prompt.expect(QStringLiteral("要取消嗎﹖"));
    child->findChild<QAbstractButton*>(QStringLiteral("SbCancel"))->click();
    window.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
