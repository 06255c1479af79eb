#include "base/keyboard_navigation.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window of three editors, a grid and an exit button marked for Esc.
class KeyboardTest : public testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        for (QLineEdit*& edit : edits) {
            edit = new QLineEdit(&window);
            layout->addWidget(edit);
        }
        grid = new QTableWidget(2, 2, &window);
        layout->addWidget(grid);
        exit = new QPushButton(QStringLiteral("離開"), &window);
        layout->addWidget(exit);
        QObject::connect(exit, &QPushButton::clicked, [this] { ++exitPresses; });
        keyboard::install(&window);
        keyboard::setEscapeButton(exit);
        window.show();
        QApplication::setActiveWindow(&window);
        edits[1]->setFocus();
    }

    QWidget window;
    QLineEdit* edits[3] = {};
    QTableWidget* grid = nullptr;
    QPushButton* exit = nullptr;
    int exitPresses = 0;
};

TEST_F(KeyboardTest, EnterAndDownMoveForwardUpMovesBack) {
    QTest::keyClick(edits[1], Qt::Key_Return);
    EXPECT_TRUE(edits[2]->hasFocus());
    QTest::keyClick(edits[2], Qt::Key_Up);
    EXPECT_TRUE(edits[1]->hasFocus());
    QTest::keyClick(edits[1], Qt::Key_Up);
    EXPECT_TRUE(edits[0]->hasFocus());
    QTest::keyClick(edits[0], Qt::Key_Down);
    EXPECT_TRUE(edits[1]->hasFocus());
}

TEST_F(KeyboardTest, HeldModifierLeavesTheKeyAlone) {
    for (Qt::KeyboardModifier modifier :
         {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        QTest::keyClick(edits[1], Qt::Key_Return, modifier);
        EXPECT_TRUE(edits[1]->hasFocus()) << modifier;
    }
}

TEST_F(KeyboardTest, EscPressesTheMarkedButton) {
    QTest::keyClick(edits[1], Qt::Key_Escape);
    EXPECT_EQ(exitPresses, 1);
    // Disabled while editing: Esc does nothing, and the window stays open.
    exit->setEnabled(false);
    QTest::keyClick(edits[1], Qt::Key_Escape);
    EXPECT_EQ(exitPresses, 1);
    EXPECT_TRUE(window.isVisible());
}

// A cancel button takes Esc while it is enabled (editing); then exit does.
TEST_F(KeyboardTest, EscPressesCancelWhileItIsEnabled) {
    auto* cancel = new QPushButton(QStringLiteral("取消"), &window);
    window.layout()->addWidget(cancel);
    cancel->show();
    int cancelPresses = 0;
    QObject::connect(cancel, &QPushButton::clicked, [&] { ++cancelPresses; });
    keyboard::setCancelButton(cancel);
    EXPECT_EQ(cancel->toolTip(), QStringLiteral("取消 (Esc)"));
    QTest::keyClick(edits[1], Qt::Key_Escape);
    EXPECT_EQ(cancelPresses, 1);
    EXPECT_EQ(exitPresses, 0);
    cancel->setEnabled(false);
    QTest::keyClick(edits[1], Qt::Key_Escape);
    EXPECT_EQ(cancelPresses, 1);
    EXPECT_EQ(exitPresses, 1);
}

TEST_F(KeyboardTest, EnterInAGridMovesToTheNextCell) {
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->currentColumn(), 1);
}

// Enter on a focused button presses it and on a check box toggles it, in a
// marked window and in any other, dialog or not, whatever the button's
// default settings; with a modifier held it does nothing.
TEST_F(KeyboardTest, EnterPressesTheFocusedButtonAndTogglesACheckBox) {
    QDialog dialog;
    QWidget plain;
    for (QWidget* owner :
         {static_cast<QWidget*>(&window), static_cast<QWidget*>(&dialog), &plain}) {
        auto* layout = owner->layout() ? owner->layout() : new QVBoxLayout(owner);
        auto* button = new QPushButton(QStringLiteral("加入"), owner);
        button->setAutoDefault(false);
        auto* check = new QCheckBox(QStringLiteral("有效會員"), owner);
        layout->addWidget(button);
        layout->addWidget(check);
        int presses = 0;
        QObject::connect(button, &QPushButton::clicked, [&presses] { ++presses; });
        owner->show();
        QApplication::setActiveWindow(owner);
        ASSERT_TRUE(QTest::qWaitForWindowActive(owner));
        for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
            button->setFocus();
            ASSERT_TRUE(button->hasFocus()) << owner->metaObject()->className();
            QTest::keyClick(button, enter);
            check->setFocus();
            QTest::keyClick(check, enter);
        }
        EXPECT_EQ(presses, 2) << owner->metaObject()->className();
        EXPECT_FALSE(check->isChecked()); // toggled twice
        QTest::keyClick(check, Qt::Key_Return);
        EXPECT_TRUE(check->isChecked());
        EXPECT_TRUE(check->hasFocus()); // Enter toggles; it does not move on
        QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(presses, 2);
        owner->hide();
    }
}

TEST_F(KeyboardTest, UnmarkedWindowsKeepTheirKeys) {
    QWidget other;
    auto* first = new QLineEdit(&other);
    auto* second = new QLineEdit(&other);
    new QVBoxLayout(&other);
    other.layout()->addWidget(first);
    other.layout()->addWidget(second);
    other.show();
    QApplication::setActiveWindow(&other);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(first->hasFocus());
}

} // namespace
