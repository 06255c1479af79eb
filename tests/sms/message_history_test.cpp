#include "base/errors.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "sms/custom_recipient.h"
#include "sms/message_history.h"
#include "sms/signatures.h"
#include "tests/support/temp_database.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using sms::history::Filter;

class SmsHistoryTest : public ::testing::Test {
protected:
    void record(const QString& name, const QString& sentAt, const QString& message = "m") {
        sms::history::record({name, "0900", message,
                              QDateTime::fromString(sentAt, "yyyy-MM-dd HH:mm:ss"), "s", "OK"});
    }
    // The messages found, in the order listed.
    QStringList found(const Filter& filter) {
        db::Dataset result;
        result.open(sms::history::searchLines(), sms::history::searchParams(filter));
        QStringList messages;
        for (int row = 0; row < result.rowCount(); ++row)
            messages << result.value(row, result.fieldIndex("Message")).toString();
        return messages;
    }

    TempDatabase m_database;
};

TEST_F(SmsHistoryTest, FiltersByNamePartAndWholeDays) {
    record("林先生", "2024-05-01 00:00:00", "first second");
    record("王林", "2024-05-15 12:00:00", "middle");
    record("陳小姐", "2024-05-31 23:59:59", "last second");
    record("林太太", "2024-06-01 00:00:00", "next month");
    record("林太太", "2024-04-30 23:59:59", "month before");
    const QDate may1(2024, 5, 1);
    const QDate may31(2024, 5, 31);
    const struct {
        Filter filter;
        QStringList messages;
    } cases[] = {
        {{"", may1, may31}, {"last second", "middle", "first second"}},
        {{" 林 ", may1, may31}, {"middle", "first second"}},
        {{"小姐", may1, may31}, {"last second"}},
        {{"", may31, may31}, {"last second"}},
        {{"", may1, may1}, {"first second"}},
        {{"", may31, may1}, {}},
        {{"", QDate(2024, 4, 30), QDate(2024, 6, 1)},
         {"next month", "last second", "middle", "first second", "month before"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter.recipient.toStdString() + " " +
                     c.filter.from.toString().toStdString() + " " +
                     c.filter.to.toString().toStdString());
        EXPECT_EQ(found(c.filter), c.messages);
    }
}

// A typed backslash stands for itself on both engines; "%" and "_" stay
// wildcards.
TEST_F(SmsHistoryTest, ABackslashInTheNameIsPlainText) {
    record("A\\B", "2024-05-02 10:00:00", "backslash");
    record("AB", "2024-05-03 10:00:00", "plain");
    const QDate may1(2024, 5, 1);
    const QDate may31(2024, 5, 31);
    const struct {
        QString typed;
        QStringList messages;
    } cases[] = {
        {"\\", {"backslash"}},
        {"A\\B", {"backslash"}},
        {"A%B", {"plain", "backslash"}},
        {"A_B", {"backslash"}},
        {"\\%", {"backslash"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(found({c.typed, may1, may31}), c.messages);
    }
}

TEST_F(SmsHistoryTest, OnlyTheNewest300AreListed) {
    db::Transaction transaction;
    const QDateTime start(QDate(2024, 3, 1), QTime(8, 0));
    for (int i = 0; i < 305; ++i)
        sms::history::record({"王", "09", QString::number(i), start.addSecs(i * 60), "", ""});
    transaction.commit();
    const QStringList messages = found({"", QDate(2024, 3, 1), QDate(2024, 3, 1)});
    ASSERT_EQ(messages.size(), 300);
    EXPECT_EQ(messages.first(), "304");
    EXPECT_EQ(messages.last(), "5");
}

TEST_F(SmsHistoryTest, AWholeLongMessageIsKept) {
    const QString message(400, QChar(0x6797));
    record("王", "2024-05-01 10:00:00", message);
    EXPECT_EQ(found({"", QDate(2024, 5, 1), QDate(2024, 5, 1)}), QStringList{message});
}

TEST_F(SmsHistoryTest, TheMemoIsCutToTheColumnWidth) {
    const QString astral = QString::fromUcs4(U"𠀀");
    const struct {
        QString memo;
        QString stored;
    } cases[] = {
        {"", ""},
        {"點數不足", "點數不足"},
        {QString(50, 'x'), QString(50, 'x')},
        {QString(51, 'x'), QString(50, 'x')},
        // A character outside the basic plane is never cut in half.
        {QString(49, 'x') + astral, QString(49, 'x')},
        {QString(48, 'x') + astral + "y", QString(48, 'x') + astral},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.memo.toStdString());
        db::run("delete from MessageHistory");
        sms::history::record({"王", "09", "m", QDateTime::currentDateTime(), "", c.memo});
        QSqlQuery stored = db::run("select Memo from MessageHistory");
        ASSERT_TRUE(stored.next());
        EXPECT_EQ(stored.value(0).toString(), c.stored);
    }
}

TEST(SmsHistoryDates, TheFromDateIsTheFirstOfTheMonth) {
    EXPECT_EQ(sms::history::firstOfMonth(QDate(2024, 2, 29)), QDate(2024, 2, 1));
    EXPECT_EQ(sms::history::firstOfMonth(QDate(2024, 3, 1)), QDate(2024, 3, 1));
    EXPECT_EQ(sms::history::firstOfMonth(QDate(2023, 12, 31)), QDate(2023, 12, 1));
}

TEST(SmsSignatures, ListedTrimmedNewestFirst) {
    TempDatabase database;
    for (const char* name : {" 甲 ", "乙", "丙  "})
        db::run("Insert into Sign(name) values(:Name)", {{"Name", name}});
    EXPECT_EQ(sms::signatures::list(), (QStringList{"丙", "乙", "甲"}));
    sms::signatures::saveIfNew("丁");
    sms::signatures::saveIfNew("乙");
    EXPECT_EQ(sms::signatures::list(), (QStringList{"丁", "丙", "乙", "甲"}));
}

class SmsCustomRecipientTest : public ::testing::Test {
protected:
    TempDatabase m_database;
};

TEST_F(SmsCustomRecipientTest, MemberNumberIsTheTimeInTwelveDigits) {
    EXPECT_EQ(sms::memberNumberAt(QDateTime(QDate(2009, 3, 4), QTime(5, 6, 7))), "090304050607");
    EXPECT_EQ(sms::memberNumberAt(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59))),
              "241231235959");
}

TEST_F(SmsCustomRecipientTest, RegisteredAsOtherWithDefaults) {
    sms::registerMember(" 林 ", " 0911 ", QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    QSqlQuery row = db::run("select id, name, CDTel, Kind, isEnabled, IsSelected, Name1 from Cust");
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), "240506070809");
    EXPECT_EQ(row.value(1).toString(), " 林 ");
    EXPECT_EQ(row.value(2).toString(), " 0911 ");
    EXPECT_EQ(row.value(3).toString(), "其它");
    EXPECT_EQ(row.value(4).toInt(), 1);
    EXPECT_EQ(row.value(5).toInt(), 0);
    EXPECT_TRUE(row.value(6).isNull());
    EXPECT_FALSE(row.next());
}

TEST_F(SmsCustomRecipientTest, TwiceInOneSecondTheSecondIsRefused) {
    const QDateTime when(QDate(2024, 5, 6), QTime(7, 8, 9));
    sms::registerMember("甲", "0911", when);
    try {
        sms::registerMember("乙", "0922", when);
        ADD_FAILURE() << "a second member got the same number";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains("240506070809")) << error.text().toStdString();
    }
    sms::registerMember("乙", "0922", when.addSecs(1));
    QSqlQuery rows = db::run("select id, name from Cust order by id");
    QStringList members;
    while (rows.next())
        members << rows.value(0).toString() + ' ' + rows.value(1).toString();
    EXPECT_EQ(members, (QStringList{"240506070809 甲", "240506070810 乙"}));
}

} // namespace
