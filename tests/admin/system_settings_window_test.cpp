#include "admin/login_session.h"
#include "admin/system_settings_window.h"
#include "db/connection.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SystemSettingsTest : public testing::Test {
protected:
    void SetUp() override { LoginSession::current() = LoginSession{}; }
    void open(const QString& user) {
        LoginSession::current().UserID = user;
        window = std::make_unique<TFrmSystemSet>();
        window->show();
    }
    template <class T> T* child(const char* name) {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void press(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    void type(const char* editor, const QString& text) {
        QLineEdit* edit = child<QLineEdit>(editor);
        edit->clear();
        typeText(edit, text);
    }
    int rows() {
        QSqlQuery query = db::run(QStringLiteral("select count(*) from SystemSet"));
        query.next();
        return query.value(0).toInt();
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    std::unique_ptr<TFrmSystemSet> window;
};

TEST_F(SystemSettingsTest, AdvancedPageOnlyForAdminExactly) {
    const std::pair<const char*, bool> cases[] = {
        {"Admin", true}, {"admin", false}, {"Admin ", false}, {"A01", false}};
    for (const auto& [user, visible] : cases) {
        open(QString::fromLatin1(user));
        EXPECT_EQ(window->advancedPageVisible(), visible) << user;
    }
}

TEST_F(SystemSettingsTest, EditOnAnEmptyTableStartsARowThatSaveInserts) {
    open(QStringLiteral("A01"));
    EXPECT_FALSE(child<QLineEdit>("DBEdit7")->isEnabled());
    press("SbEdit");
    EXPECT_TRUE(child<QLineEdit>("DBEdit7")->isEnabled());
    EXPECT_EQ(window->focusWidget(), child<QLineEdit>("DBEdit7"));
    type("DBEdit7", QStringLiteral("會員名冊"));
    type("DBEdit1", QStringLiteral("好商店"));
    type("DBEdit6", QStringLiteral("客戶"));
    press("SbSave");
    ASSERT_EQ(rows(), 1);
    QSqlQuery row = db::run(QStringLiteral("select ReportTitle, Name, Cust from SystemSet"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("會員名冊"));
    EXPECT_EQ(row.value(1).toString(), QStringLiteral("好商店"));
    EXPECT_EQ(row.value(2).toString(), QStringLiteral("客戶"));

    press("SbEdit");
    type("DBEdit1", QStringLiteral("新名字"));
    press("SbSave");
    EXPECT_EQ(rows(), 1);
}

TEST_F(SystemSettingsTest, CancelAsksAndNoKeepsEditing) {
    db::run(QStringLiteral("insert into SystemSet(Name) values('Shop')"));
    open(QStringLiteral("A01"));
    press("SbEdit");
    type("DBEdit1", QStringLiteral("Other"));
    prompt.expect(QStringLiteral("要取消嗎﹖"), false);
    press("SbCancel");
    EXPECT_TRUE(child<QPushButton>("SbSave")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("DBEdit1")->text(), QStringLiteral("Other"));
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));

    prompt.expect(QStringLiteral("要取消嗎﹖"), true);
    press("SbCancel");
    EXPECT_FALSE(child<QPushButton>("SbSave")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("DBEdit1")->text(), QStringLiteral("Shop"));
}

TEST_F(SystemSettingsTest, OverLongCategoryCaptionIsRefusedAndEditingGoesOn) {
    open(QStringLiteral("A01"));
    press("SbEdit");
    type("DBEdit9", QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(child<QLineEdit>("DBEdit9")->text(), QStringLiteral("ABCDEFGH"));
    prompt.expect(QStringLiteral("CHECK constraint failed"), true, true);
    press("SbSave");
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(child<QPushButton>("SbSave")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("DBEdit9")->text(), QStringLiteral("ABCDEFGH"));

    // Four Chinese characters fill the 8 bytes and fit the 6-character column.
    type("DBEdit9", QStringLiteral("會員類別名"));
    EXPECT_EQ(child<QLineEdit>("DBEdit9")->text(), QStringLiteral("會員類別"));
    press("SbSave");
    EXPECT_EQ(rows(), 1);
}

TEST_F(SystemSettingsTest, ClosingWhileEditingIsRefused) {
    open(QStringLiteral("A01"));
    press("SbEdit");
    prompt.expect(QStringLiteral("請保存後再離開"));
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Warning);
    press("SbSave");
    press("SbExit");
    EXPECT_FALSE(window->isVisible());
}

} // namespace
