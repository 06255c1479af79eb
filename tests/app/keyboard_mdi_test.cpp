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
class KeyboardInMdiTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
        auto* item = window.findChild<QAction*>(QLatin1String(GetParam()));
        ASSERT_NE(item, nullptr);
        item->trigger();
        ASSERT_NE(window.mdiArea()->activeSubWindow(), nullptr);
        child = window.mdiArea()->activeSubWindow()->widget();
    }

    void TearDown() override {
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The first enabled, visible button of the child that is not its last
    // control in the tab chain, with the focus on it.
    QAbstractButton* focusFirstButton() {
        for (auto* button : child->findChildren<QAbstractButton*>()) {
            if (button->isVisible() && button->isEnabled() &&
                button->objectName().startsWith(QLatin1String("Sb"))) {
                button->setFocus();
                return button;
            }
        }
        return nullptr;
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
    QWidget* child = nullptr;
};

TEST_P(KeyboardInMdiTest, DownAndUpMoveTheFocusInsideTheChild) {
    QAbstractButton* button = focusFirstButton();
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Down);
    QWidget* next = QApplication::focusWidget();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, button);
    EXPECT_TRUE(child->isAncestorOf(next)) << next->objectName().toStdString();
    QTest::keyClick(next, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), button);
}

TEST_P(KeyboardInMdiTest, EscPressesExitAndClosesTheChild) {
    QPointer<QMdiSubWindow> sub = window.mdiArea()->activeSubWindow();
    ASSERT_NE(focusFirstButton(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sub.isNull());
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
}

// 會員資料, 類別建檔, 稱謂建檔, 系統參數設定.
INSTANTIATE_TEST_SUITE_P(ChildWindows, KeyboardInMdiTest, testing::Values("N7", "N8", "N9", "N10"));

// In editing, Enter in an editor moves on to the next editor of the child.
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
    // Leave editing so the child may close.
    prompt.expect(QStringLiteral("要取消嗎﹖"));
    child->findChild<QAbstractButton*>(QStringLiteral("SbCancel"))->click();
    window.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
