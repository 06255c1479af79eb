#include "db/connection.h"
#include "db/dataset.h"
#include "sms/recipient_search.h"
#include "tests/support/temp_database.h"

#include <gtest/gtest.h>

namespace {

namespace search = members::search;

search::Input input(int criterion, const QString& value = {}, const QString& upper = {},
                    const QString& year = {}, const QString& month = {}) {
    search::Input typed;
    typed.criterion = criterion;
    typed.value = value;
    typed.upper = upper;
    typed.year = year;
    typed.month = month;
    return typed;
}

class SmsRecipientSearchTest : public ::testing::Test {
protected:
    SmsRecipientSearchTest() {
        const struct {
            const char* id;
            const char* name;
            const char* kind;
            const char* address;
            const char* birthday;
            int enabled;
        } members[] = {
            {"A01", "陳大文", "VIP", "台中市西區", "1971-05-03 00:00:00", 1},
            {"A02", "林陳", "VIP會員", "台北市", "1980-12-31 00:00:00", 1},
            {"A03", "O'Brien", "一般", "台中縣", nullptr, 1},
            {"A04", "陳停用", "VIP", "台中市", "1971-05-03 00:00:00", 0},
            {"B01", "王", "一般", "高雄市", "1975-05-20 00:00:00", 1},
        };
        for (const auto& m : members)
            db::run("insert into Cust(id, name, Name1, CDTel, Kind, Address, birthday, isEnabled) "
                    "values(:id, :name, '先生', '09', :kind, :address, :birthday, :enabled)",
                    {{"id", m.id},
                     {"name", m.name},
                     {"kind", m.kind},
                     {"address", m.address},
                     {"birthday", m.birthday ? QVariant(m.birthday) : QVariant()},
                     {"enabled", m.enabled}});
    }

    // The names found, in the order listed.
    QStringList found(const search::Input& typed) {
        const search::Statement statement =
            sms::recipientStatement(typed, search::memberNumberBounds());
        db::Dataset result;
        result.open(statement.lines, statement.params);
        EXPECT_EQ(result.fieldNames(),
                  (QStringList{"name", "Name1", "CDTel", "IsSelected", "NoSms", "id", "MGBirthday",
                               "Kind", "EnterDate", "date1", "Memo", "Memo1", "Memo2", "Memo3",
                               "Memo4"}));
        QStringList names;
        for (int row = 0; row < result.rowCount(); ++row)
            names << result.value(row, 0).toString();
        return names;
    }

    TempDatabase m_database;
};

TEST_F(SmsRecipientSearchTest, EnabledMembersMatchingTheCriterion) {
    const struct {
        const char* title;
        search::Input typed;
        QStringList names;
    } cases[] = {
        {"every number", input(search::Number), {"陳大文", "林陳", "O'Brien", "王"}},
        {"from a number", input(search::Number, "A03"), {"O'Brien", "王"}},
        {"up to a number", input(search::Number, "", "A02"), {"陳大文", "林陳"}},
        {"name begins", input(search::Name, " 陳 "), {"陳大文"}},
        {"apostrophe", input(search::Name, "o'b"), {"O'Brien"}},
        {"whole category", input(search::Category, "VIP"), {"陳大文"}},
        {"address anywhere", input(search::Address, "台中"), {"陳大文", "O'Brien"}},
        {"birthday year and later", input(search::Birthday, "", "", "64+"), {"王", "林陳"}},
        {"birthday month", input(search::Birthday, "", "", "", "05"), {"陳大文", "王"}},
        {"no criterion", input(search::None), {"陳大文", "林陳", "O'Brien", "王"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(found(c.typed), c.names);
    }
}

TEST_F(SmsRecipientSearchTest, OnlyEnabledMembersAreAsked) {
    const search::Statement statement =
        sms::recipientStatement(input(search::Name, "陳"), search::memberNumberBounds());
    EXPECT_EQ(statement.lines.value(0), "SELECT name, "
                                        "Name1,CDTel,IsSelected,NoSms,id,MGBirthday,Kind,EnterDate,"
                                        "date1,Memo,Memo1,Memo2,Memo3,Memo4 FROM Cust ");
    EXPECT_EQ(statement.lines.value(1), " Where IsEnabled=:IsEnabled ");
    EXPECT_EQ(statement.params.value("IsEnabled"), QVariant(true));
    // The typed value is bound, never part of the statement.
    EXPECT_FALSE(statement.lines.join('\n').contains("陳"));
}

} // namespace
