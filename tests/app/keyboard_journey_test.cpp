// A user who never touches the mouse: signs in, adds a member, saves, finds
// it, deletes it answering the question with keys, and adds a recipient of
// their own to an SMS run. Every window is reached through the main window's
// menu and driven with key presses only; message boxes are the program's own.
#include "admin/login_window.h"
#include "app/main_window.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/member_window.h"
#include "sms/gateway_config.h"
#include "sms/select_single_window.h"
#include "sms/send_message_window.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <typeinfo>

namespace {

// Runs act on the next modal window of class W as soon as it is the active
// one; act answers it with keys.
template <class W> void onModal(std::function<void(W*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act, triesLeft] {
        auto* window = dynamic_cast<W*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            if (triesLeft > 0)
                onModal<W>(act, triesLeft - 1);
            else
                ADD_FAILURE() << typeid(W).name() << " never showed";
            return;
        }
        // The window manager's part: the new window becomes the active one.
        QApplication::setActiveWindow(window);
        act(window);
    });
}

QWidget* focus() {
    QWidget* widget = QApplication::focusWidget();
    EXPECT_NE(widget, nullptr) << "nothing has the focus";
    return widget;
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QWidget* widget = focus())
        QTest::keyClick(widget, key, modifiers);
}

void type(const QString& text) {
    if (QWidget* widget = focus())
        typeText(widget, text);
}

// Tabs along the window's controls (backwards with Shift) until target has
// the focus.
void tabTo(QWidget* target, bool backwards = false) {
    for (int i = 0; i < 80 && QApplication::focusWidget() != target; ++i)
        press(backwards ? Qt::Key_Backtab : Qt::Key_Tab,
              backwards ? Qt::ShiftModifier : Qt::NoModifier);
    ASSERT_EQ(QApplication::focusWidget(), target) << target->objectName().toStdString();
}

// The next message box: the start of its text is checked, the button Enter would press
// is checked, and keys answer it.
void answerBox(const QString& text, QMessageBox::StandardButton defaultButton,
               std::function<void()> keys) {
    onModal<QMessageBox>([=](QMessageBox* box) {
        EXPECT_TRUE(box->text().startsWith(text)) << box->text().toStdString();
        EXPECT_EQ(box->defaultButton(), box->button(defaultButton)) << text.toStdString();
        keys();
    });
}

int storedMembers(const QString& id) {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust where id=:id"),
                              {{QStringLiteral("id"), id}});
    query.next();
    return query.value(0).toInt();
}

class KeyboardJourneyTest : public testing::Test {
protected:
    void SetUp() override {
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(database.folder());
        window.show();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override {
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(m_previousDir);
    }

    template <class T> static T* part(QWidget* window, const char* name) {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TempDatabase database;
    TFrmMain window;

private:
    QString m_previousDir;
};

TEST_F(KeyboardJourneyTest, SignInAddSaveFindAndDeleteAMember) {
    // Signing in: Enter moves from the user to the password, then to 確定,
    // which Enter presses.
    onModal<TFrmLogin>([](TFrmLogin* login) {
        auto* ok = part<QPushButton>(login, "BtnOK");
        EXPECT_TRUE(ok->isDefault());
        type(QStringLiteral("Admin"));
        press(Qt::Key_Return);
        EXPECT_EQ(focus(), part<QWidget>(login, "Edit2"));
        press(Qt::Key_Return);
        EXPECT_EQ(focus(), ok);
        press(Qt::Key_Return);
    });
    ASSERT_TRUE(window.signIn());

    window.findChild<QAction*>(QStringLiteral("N7"))->trigger();
    auto* members = dynamic_cast<TFrmCust*>(window.mdiArea()->activeSubWindow()->widget());
    ASSERT_NE(members, nullptr);
    QApplication::setActiveWindow(&window);
    part<QWidget>(members, "EditQuick")->setFocus(); // where the window opens

    // Ctrl+N adds, Enter moves on, Enter toggles 有效會員, Ctrl+S saves.
    press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(focus(), part<QWidget>(members, "DBEdit1"));
    type(QStringLiteral("K001"));
    press(Qt::Key_Return);
    type(QStringLiteral("王小明"));
    auto* enabled = part<QCheckBox>(members, "DBCheckBox1");
    ASSERT_TRUE(enabled->isChecked());
    tabTo(enabled);
    press(Qt::Key_Return);
    EXPECT_FALSE(enabled->isChecked());
    press(Qt::Key_Return);
    EXPECT_TRUE(enabled->isChecked());
    answerBox(QStringLiteral("保存成功﹕共 1 筆"), QMessageBox::Ok, [] { press(Qt::Key_Return); });
    press(Qt::Key_S, Qt::ControlModifier);
    QApplication::setActiveWindow(&window); // back from the box
    EXPECT_EQ(storedMembers(QStringLiteral("K001")), 1);
    EXPECT_FALSE(part<QPushButton>(members, "SbSave")->isEnabled());

    // Ctrl+F goes to the quick search; F5 lists by the criterion again.
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(focus(), part<QWidget>(members, "EditQuick"));
    type(QStringLiteral("K00"));
    ASSERT_EQ(members->memberQuery()->rowCount(), 1);
    EXPECT_EQ(members->currentCustId(), QStringLiteral("K001"));
    press(Qt::Key_F5);
    EXPECT_EQ(members->memberQuery()->rowCount(), 1);

    // 刪除 by Shift+Tab (back past the search, not through the grid) and
    // Enter; the question leans to No, Y answers Yes.
    auto* remove = part<QPushButton>(members, "SbDel");
    tabTo(remove, true);
    answerBox(QStringLiteral("確實要刪除嗎﹖"), QMessageBox::No, [] { press(Qt::Key_Y); });
    press(Qt::Key_Return);
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(storedMembers(QStringLiteral("K001")), 0);
    EXPECT_EQ(members->memberQuery()->rowCount(), 0);

    // Esc leaves an edit through 取消 (which asks), then closes the window.
    press(Qt::Key_N, Qt::ControlModifier);
    type(QStringLiteral("K002"));
    answerBox(QStringLiteral("要取消嗎﹖"), QMessageBox::Yes, [] { press(Qt::Key_Return); });
    press(Qt::Key_Escape);
    QApplication::setActiveWindow(&window);
    EXPECT_FALSE(part<QPushButton>(members, "SbSave")->isEnabled());
    EXPECT_EQ(storedMembers(QStringLiteral("K002")), 0);
    QPointer<QMdiSubWindow> child = window.mdiArea()->activeSubWindow();
    press(Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(KeyboardJourneyTest, AddACustomSmsRecipient) {
    // A gateway that refuses at once: the credit stays empty.
    QFile ini(GatewayConfig::iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Gateway]\nSendHost=127.0.0.1:1\nAccountHost=127.0.0.1:1\n");
    ini.close();
    QStringList lines;
    // The notices of a desk without an SMS account are not what this is about.
    ScriptedPrompt prompt;
    prompt.expect(QStringLiteral("請先申請簡訊帳號與密碼"), true, true);
    prompt.expect(QStringLiteral("無法連線到簡訊閘道"), true, true);
    onModal<TFrmSendMessage>([&lines](TFrmSendMessage* send) {
        tabTo(part<QPushButton>(send, "BtnSelectSingle"));
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        onModal<TFrmSelectSingle>([](TFrmSelectSingle* single) {
            EXPECT_EQ(focus(), part<QWidget>(single, "Edit1"));
            type(QStringLiteral("李四"));
            press(Qt::Key_Return);
            type(QStringLiteral("0933111222"));
            press(Qt::Key_Return);
            EXPECT_EQ(focus(), part<QWidget>(single, "BitBtn1"));
            press(Qt::Key_Return); // 加入
            press(Qt::Key_Escape); // 關閉
        });
        press(Qt::Key_Return);
        QApplication::setActiveWindow(send);
        auto* list = part<QListWidget>(send, "ListBox1");
        for (int row = 0; row < list->count(); ++row)
            lines << list->item(row)->text();
        press(Qt::Key_Escape);
    });
    window.findChild<QAction*>(QStringLiteral("N14"))->trigger();
    EXPECT_EQ(lines, QStringList{QStringLiteral("李四(0933111222)")});
    QSqlQuery registered =
        db::run(QStringLiteral("select count(*) from Cust where CDTel='0933111222'"));
    registered.next();
    EXPECT_EQ(registered.value(0).toInt(), 1);
}

} // namespace
