#include "base/errors.h"
#include "members/minguo_date.h"

#include <gtest/gtest.h>

namespace {

using members::birthdayDate;
using members::ConvertMGDate;
using members::isValidJoiningDate;

struct ConvertCase {
    const char* typed;
    const char* gregorian;
};

class ConvertMGDateTest : public testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertMGDateTest, AddsNineteenElevenToTheYear) {
    EXPECT_EQ(ConvertMGDate(QString::fromUtf8(GetParam().typed)),
              QString::fromUtf8(GetParam().gregorian));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvertMGDateTest,
                         testing::Values(ConvertCase{"65/12/31", "1976/12/31"},
                                         ConvertCase{"100/01/01", "2011/01/01"},
                                         ConvertCase{"100/2/3", "2011/2/3"},
                                         ConvertCase{"65/02/30", "1976/02/30"},
                                         ConvertCase{"096/05/01", "2007/05/01"},
                                         // The first three characters make the year.
                                         ConvertCase{"1976/12/31", "21086/12/31"},
                                         // At most nine characters follow the year.
                                         ConvertCase{"65/12/31/extra", "1976/12/31/ex"}));

struct BirthdayCase {
    const char* typed;
    QDate date; // null: empty birthday
    bool readable;
};

class BirthdayTest : public testing::TestWithParam<BirthdayCase> {};

TEST_P(BirthdayTest, ReadsTheTypedBirthday) {
    const std::optional<QDate> date = birthdayDate(QString::fromUtf8(GetParam().typed));
    ASSERT_EQ(date.has_value(), GetParam().readable);
    if (date) {
        EXPECT_EQ(*date, GetParam().date);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BirthdayTest,
                         testing::Values(BirthdayCase{"65/12/31", QDate(1976, 12, 31), true},
                                         BirthdayCase{"100/2/3", QDate(2011, 2, 3), true},
                                         BirthdayCase{" 65/1/1 ", QDate(1976, 1, 1), true},
                                         BirthdayCase{"", QDate(), true},
                                         BirthdayCase{"   ", QDate(), true},
                                         BirthdayCase{"65/02/30", QDate(), false},
                                         BirthdayCase{"1976/12/31", QDate(), false},
                                         BirthdayCase{"65/13/01", QDate(), false},
                                         BirthdayCase{"65-12-31", QDate(), false},
                                         BirthdayCase{"65/12", QDate(), false}));

TEST(BirthdayTest, AYearThatIsNotANumberIsAConversionError) {
    EXPECT_THROW(birthdayDate(QStringLiteral("ab/12/31")), ConversionError);
    EXPECT_THROW(birthdayDate(QStringLiteral("5/1/1")), ConversionError);
    try {
        birthdayDate(QStringLiteral("六五/1/1"));
        FAIL();
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("'六五' 不是有效的整數值"));
    }
}

struct JoiningCase {
    const char* typed;
    bool valid;
};

class JoiningDateTest : public testing::TestWithParam<JoiningCase> {};

TEST_P(JoiningDateTest, NeedsAReadableDateAndSixCharactersAfterTheYear) {
    EXPECT_EQ(isValidJoiningDate(QString::fromUtf8(GetParam().typed)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Cases, JoiningDateTest,
                         testing::Values(JoiningCase{"96/05/01", true},
                                         JoiningCase{"096/05/01", true}, JoiningCase{"", true},
                                         JoiningCase{"  ", true}, JoiningCase{"96/5/1", false},
                                         JoiningCase{"96/05/1", false},
                                         JoiningCase{"96/02/30", false},
                                         JoiningCase{"1976/12/31", false}));

TEST(JoiningDateTest, LettersInTheYearAreAConversionError) {
    EXPECT_THROW(isValidJoiningDate(QStringLiteral("x6/05/01")), ConversionError);
}

TEST(ReadSlashDateTest, ReadsYearMonthDayWithOneOrTwoDigits) {
    EXPECT_EQ(members::readSlashDate(QStringLiteral("2011/2/3")), QDate(2011, 2, 3));
    EXPECT_EQ(members::readSlashDate(QStringLiteral("2011/02/03")), QDate(2011, 2, 3));
    EXPECT_FALSE(members::readSlashDate(QStringLiteral("2011/002/03")).isValid());
    EXPECT_FALSE(members::readSlashDate(QStringLiteral("2011/2/3 ")).isValid());
    EXPECT_FALSE(members::readSlashDate(QStringLiteral("abc")).isValid());
}

TEST(MinguoTextTest, WritesTheYearLessNineteenElevenAndTwoDigitMonthAndDay) {
    EXPECT_EQ(members::minguoText(QDate(1976, 12, 31)), QStringLiteral("65/12/31"));
    EXPECT_EQ(members::minguoText(QDate(2011, 2, 3)), QStringLiteral("100/02/03"));
}

} // namespace
