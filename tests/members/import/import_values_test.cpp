#include "base/big5.h"
#include "base/errors.h"
#include "members/import/import_values.h"
#include "members/import/member_list.h"
#include "members/minguo_date.h"

#include <gtest/gtest.h>

namespace {

using namespace members;

TEST(ImportValuesTest, BirthdaysBecomeTheSchemasDateText) {
    const std::pair<const char*, const char*> cases[] = {
        {"1976/12/31", "1976-12-31 00:00:00"},
        {"1976-12-31", "1976-12-31 00:00:00"},
        {"1976/1/2", "1976-01-02 00:00:00"},
        {" 1976 / 01 / 02 ", "1976-01-02 00:00:00"},
        {"2020/01/02 13:45:00", "2020-01-02 13:45:00"},
        {"2020/01/02 7:05", "2020-01-02 07:05:00"},
        {"2000/02/29", "2000-02-29 00:00:00"},
        // As Minguo date formats with 年, 月 and 日 show them.
        {"65年12月31日", "1976-12-31 00:00:00"},
        {"100年1月5日", "2011-01-05 00:00:00"},
        {"民國65年12月31日", "1976-12-31 00:00:00"},
        {"1976年12月31日", "1976-12-31 00:00:00"},
    };
    for (const auto& [text, stored] : cases)
        EXPECT_EQ(birthdayValue(QString::fromUtf8(text)), QVariant(QString::fromUtf8(stored)))
            << text;
    EXPECT_TRUE(birthdayValue(QString()).isNull());
}

TEST(ImportValuesTest, TextsThatAreNotDatesAreRefused) {
    for (const char* text :
         {"1976/13/01", "1999/02/29", "1976/12", "1976/12-31", "明天", "28125", "65/12/31x",
          "2020/01/02 25:00", "65年2月30日", "65年12月", "65年12月31"}) {
        EXPECT_THROW(birthdayValue(QString::fromUtf8(text)), ConversionError) << text;
    }
}

TEST(ImportValuesTest, ARefusedDateIsNamedAsTheSheetShowsIt) {
    try {
        birthdayValue(QStringLiteral("65年2月30日"));
        ADD_FAILURE() << "read";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("「65年2月30日」不是有效的日期"));
    }
}

TEST(ImportValuesTest, YesNoTexts) {
    for (const char* yes : {"TRUE", "true", "Yes", "Y", "y", "1", "-1", "是", "有效"})
        EXPECT_EQ(yesNoValue(QString::fromUtf8(yes)), 1) << yes;
    for (const char* no : {"FALSE", "False", "no", "N", "0", "否", "無效"})
        EXPECT_EQ(yesNoValue(QString::fromUtf8(no)), 0) << no;
    EXPECT_EQ(yesNoValue(QString()), std::nullopt);
    for (const char* other : {"2", "maybe", "有", "OK"})
        EXPECT_THROW(yesNoValue(QString::fromUtf8(other)), ConversionError) << other;
}

TEST(ImportValuesTest, ListedBirthdaysCountMinguoYears) {
    const std::pair<const char*, QDate> cases[] = {
        {"65/12/31", QDate(1976, 12, 31)},
        {"01/01/01", QDate(1912, 1, 1)},
        {"89/2/29", QDate(2000, 2, 29)},
        // Members born in 2011 or later have a three-digit year.
        {"100/01/01", QDate(2011, 1, 1)},
        {"113/2/29", QDate(2024, 2, 29)},
    };
    for (const auto& [text, date] : cases)
        EXPECT_EQ(listedBirthday(QByteArray(text)), date) << text;
    for (const char* text :
         {"", "6/12/31", "AB/12/31", "65/13/01", "65-12-31", "88/2/29", "100/02/30", "1000/1/1"})
        EXPECT_THROW(listedBirthday(QByteArray(text)), ConversionError) << text;
}

// A listed birthday is read as the member window reads a typed one: the
// same texts pass, to the same dates, and blanks inside a date are refused.
TEST(ImportValuesTest, ListedBirthdaysFollowTheMemberWindowsRules) {
    for (const char* text : {"65/12/31", "65/1/1", "65/01/1", "65/ 1/ 1", "65/1 /1", "65/1/ 1",
                             "65/1/1 0:00", "65/1-1", "65/1/1/"}) {
        SCOPED_TRACE(text);
        const std::optional<QDate> typed = birthdayDate(QString::fromLatin1(text));
        if (typed && typed->isValid()) {
            EXPECT_EQ(listedBirthday(QByteArray(text)), *typed);
        } else {
            EXPECT_THROW(listedBirthday(QByteArray(text)), ConversionError);
        }
    }
    EXPECT_THROW(listedBirthday(QByteArray("65/ 1/ 1")), ConversionError);
    EXPECT_EQ(listedBirthday(QByteArray("65/1/1")), QDate(1976, 1, 1));
}

} // namespace
