#include "base/message_table.h"

#include <QByteArray>
#include <QList>
#include <gtest/gtest.h>

namespace {

struct LocaleCase {
    const char* name;
    int id;
};

class LocaleNameTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleNameTest, MapsToIdentifier) {
    EXPECT_EQ(localeIdFromName(QString::fromLatin1(GetParam().name)), GetParam().id);
}

INSTANTIATE_TEST_SUITE_P(Table, LocaleNameTest,
                         testing::Values(LocaleCase{"zh_TW", 1028}, LocaleCase{"zh_TW.UTF-8", 1028},
                                         LocaleCase{"zh_TW.Big5@stroke", 1028},
                                         LocaleCase{"zh_CN.GB2312", 2052},
                                         LocaleCase{"zh_CN.UTF-8", 2052},
                                         LocaleCase{"zh_HK.UTF-8", 0}, LocaleCase{"zh_SG", 0},
                                         LocaleCase{"en_US.UTF-8", 0}, LocaleCase{"C", 0},
                                         LocaleCase{"", 0}));

// Restores the three locale variables after a test.
class LocaleEnvironment : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kNames)
            m_saved.append(qgetenv(name));
        for (const char* name : kNames)
            qunsetenv(name);
    }
    void TearDown() override {
        for (int i = 0; i < 3; ++i) {
            if (m_saved.at(i).isNull())
                qunsetenv(kNames[i]);
            else
                qputenv(kNames[i], m_saved.at(i));
        }
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    QList<QByteArray> m_saved;
};

TEST_F(LocaleEnvironment, FirstSetVariableDecides) {
    qputenv("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(systemLocaleId(), 2052);
    qputenv("LC_MESSAGES", "zh_TW.UTF-8");
    EXPECT_EQ(systemLocaleId(), 1028);
    qputenv("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(systemLocaleId(), 0);
}

TEST_F(LocaleEnvironment, NothingSetIsNoChineseLocale) {
    EXPECT_EQ(systemLocaleId(), 0);
}

TEST(MessageTableTest, SimplifiedLocaleGetsSimplifiedTexts) {
    MessageTable table;
    table.fill(MessageTable::SimplifiedLocale);
    EXPECT_EQ(table.LoginTitle, QStringLiteral("登录"));
    EXPECT_EQ(table.LoginUserIdLabel, QStringLiteral("收银员编号"));
    EXPECT_EQ(table.MsgLoginFailed, QStringLiteral("输入的用户名或密码错误，请重新输入!"));
}

// Any other locale, Hong Kong or English alike, gets the Traditional texts
// instead of empty captions and empty error boxes.
TEST(MessageTableTest, EveryOtherLocaleGetsTraditionalTexts) {
    for (int id : {MessageTable::TraditionalLocale, 0, 1033, 3076}) {
        MessageTable table;
        table.fill(id);
        EXPECT_EQ(table.CaptionHint, QStringLiteral("提示")) << id;
        EXPECT_EQ(table.LoginTitle, QStringLiteral("登入")) << id;
        EXPECT_EQ(table.LoginPasswordLabel, QStringLiteral("用戶密碼")) << id;
        EXPECT_EQ(table.ButtonOk, QStringLiteral("確定")) << id;
        EXPECT_EQ(table.MsgUserIdEmpty, QStringLiteral("收銀員編號不能為空!")) << id;
        EXPECT_EQ(table.MsgLoginFailed, QStringLiteral("輸入的用戶名或密碼錯誤﹐請重新輸入!"))
            << id;
    }
}

} // namespace
