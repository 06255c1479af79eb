#include "base/keyboard_navigation.h"

#include <QApplication>
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

TEST_F(KeyboardTest, EnterInAGridMovesToTheNextCell) {
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->currentColumn(), 1);
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
